// The world's towns of at least 1,000 people, kept beside the state archives in one file of
// their own, "timezone.world", packed at build time from data/world-places.tsv.
//
// Layout (integers little-endian; text UTF-8, never terminated):
//   8 bytes  magic "DBWORLD\0", u16 version (1), u16 zero
//   u32      text length T, then T bytes: every name below, back to back
//   u16      country count, rows: 2-byte ISO code, u32 text offset, u16 length of the name
//   u16      region count, rows: u32 text offset, u16 length
//   u16      zone count, rows: u32 text offset, u16 length (an IANA name)
//   u32      place count, rows of 24 bytes: u32 name offset, u16 name length, u16 country,
//            u16 region (0xFFFF: none), u16 zone, u32 population, i32 latitude and i32
//            longitude in hundred-thousandths of a degree (north and east positive)
//   u32      CRC-32 of every byte before it
// Every count and length is checked against the bytes that remain before anything is kept,
// and each row against the tables when At() reads it, so that At() never reads outside the
// file.
//
// A missing or damaged file means "no world places": the set is empty and says why in one line.
// Example:
//     const CWorldPlaces world = CWorldPlaces::Load();
//     for (std::size_t i = 0; i < world.Size(); ++i) {
//         const CWorldPlace place = world.At(i);  // "Paris", "FR", "France", "Île-de-France"
//     }
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "FileBytes.h"

// "timezone.world".
extern const char* const kWorldPlacesFileName;

// One town; the views point into the CWorldPlaces it came from.
struct CWorldPlace {
    std::string_view name;         // as GeoNames writes it: "São Paulo"
    std::string_view countryCode;  // ISO 3166-1 alpha-2: "BR"
    std::string_view country;      // "Brazil"
    std::string_view region;       // first-level division, "" when unknown: "São Paulo"
    std::string_view zone;         // IANA name: "America/Sao_Paulo"
    std::uint32_t population = 0;
    double latitude = 0;   // degrees, north positive
    double longitude = 0;  // degrees, east positive
};

// One town as the packer hands it over.
struct CWorldPlaceEntry {
    std::string name;
    std::string countryCode;
    std::string country;
    std::string region;  // may be empty
    std::string zone;
    std::uint32_t population = 0;
    double latitude = 0;
    double longitude = 0;
};

class CWorldPlaces {
public:
    // Reads kWorldPlacesFileName from `directory` (empty: the executable's directory).
    static CWorldPlaces Load(const std::filesystem::path& directory = {});
    // The same from the file's bytes; any bytes are safe. The checksum covers every byte, the
    // tables are checked here and each town's row when it is read: a row that is out of
    // bounds (possible only in a file made to pass the checksum) reads as a town of no name.
    static CWorldPlaces Parse(std::string bytes);
    static CWorldPlaces Parse(CFileBytes bytes);

    // False when the file is missing or damaged; Problem() says why.
    bool IsKnown() const { return m_problem.empty(); }
    const std::string& Problem() const { return m_problem; }

    // The towns in the file's order (by country code, then name); `index` < Size().
    std::size_t Size() const { return m_placeCount; }
    // The size of the file read, 0 when it is unknown.
    std::size_t Bytes() const { return IsKnown() ? m_bytes.size() : 0; }
    // The file's bytes, which outlive every copy of this object that shares them.
    const std::shared_ptr<const CFileBytes>& File() const { return m_file; }
    CWorldPlace At(std::size_t index) const;
    // At(index).population without the texts.
    std::uint32_t Population(std::size_t index) const;

private:
    static CWorldPlaces Unknown(std::string problem);
    std::string_view Text(std::size_t tableOffset) const;

    std::shared_ptr<const CFileBytes> m_file;
    std::string_view m_bytes;  // m_file's
    // Offsets into m_bytes of the text and of the first row of each table.
    std::size_t m_text = 0;
    std::size_t m_textLength = 0;
    std::size_t m_countries = 0;
    std::size_t m_countryCount = 0;
    std::size_t m_regions = 0;
    std::size_t m_regionCount = 0;
    std::size_t m_zones = 0;
    std::size_t m_zoneCount = 0;
    std::size_t m_places = 0;
    std::size_t m_placeCount = 0;
    std::string m_problem;
};

// The file's bytes for `entries`, in their order. Throws CDataEncodeError naming the entry
// for an empty name, country or zone, a country code that is not two capital letters, a zone
// that is not an IANA name, a point off the globe, a country code given two names, or tables
// too large for the format.
std::string EncodeWorldPlaces(const std::vector<CWorldPlaceEntry>& entries);
