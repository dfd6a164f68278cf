// CPlaceFinder answers a typed name with places, not zip codes: the zip codes of one town in
// one state are one place, the world's towns of at least 1,000 people stand beside them, and
// every place ranks by its people.
//
//     CPlaceFinder finder = CPlaceFinder::Build(index, CWorldPlaces::Load());
//     finder.Find("new york", 10);      // New York, NY, 146 zip codes; New York Mills, MN, ...
//     finder.Find("Paris, TX", 1);      // "City, ST", "City, State", "City, Country", "City, CC"
//     finder.Find("honolulu hi", 1);    // and "City ST"
//     finder.Find("queens", 1);         // New York, NY (a borough's name finds its city)
//
// Names fold as PlaceNameKey folds them; a town's point is its GeoNames point when the world
// file has the town in that state, else the centre of its zip codes. Texts are UTF-8.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "WorldPlaces.h"

class CPlaceIndex;

// "timezone.names": the finder's tables, built from the archives and the world file at build
// time (daybreak-pack-names) so that a search by name reads one file, not every archive.
//
// Layout (integers little-endian; v: an unsigned number in 7-bit groups, lowest first, the high
// bit set on all but the last; text UTF-8, never terminated):
//   8 bytes  magic "DBNAMES\0", u16 version (1), u16 zero
//   u64      byte size of the world file it was built from
//   u16      state count S (g_StateTable's), rows: u64 archive byte size, u32 first index
//            position, u32 place count
//   v        US town count U, rows: v world town + 1 (0: none), v people, u8 state row, v zip
//            count, u8 length + name, u8 length + first zip code, and without a world town
//            f64 latitude and f64 longitude (west positive); then the zip codes' index
//            positions, rising: v the first, v each step
//   v        world town count W, rows: v step from the previous world town (they rise through
//            the world file), u8 state row (0xFF: none)
//   u16      country count, rows: u8 length + "CC<tab>folded name"
//   v        name count N, in key order, rows: u8 bytes shared with the previous key, u8
//            length + the rest of the key, v town (< U + W)
//   u32      CRC-32 of every byte before it
// Every count and length is checked against the bytes that remain, and every row against the
// tables, before anything is kept.
extern const char* const kPlaceNamesFileName;

struct CFoundPlace {
    std::string name;               // "New York", "Paris"
    std::string state;              // US: the two-letter code; else ""
    std::string countryCode;        // "US", "FR"
    std::string country;            // "United States", "France"
    std::string region;             // the state's name, a world town's region, or ""
    double latitude = 0;            // north positive
    double longitude = 0;           // WEST positive, as the window and the engine take it
    std::uint32_t population = 0;   // 0 when unknown
    std::string zone;               // IANA name; "" for a US town (its zip codes' zone file)
    std::vector<std::size_t> zips;  // US: the positions in the index, in its order; else none
    std::string zip;                // US: the first zip code

    bool IsUsTown() const { return !zips.empty(); }
    // The place of one record of the index, as a town of that one zip code.
    static CFoundPlace OfZip(const CPlaceIndex& index, std::size_t position);
    // What a user types to get this place first: "Paris, TX", "Paris, France".
    std::string Choice() const;
    // One line of a list: "New York, NY, 146 zip codes", "Paris, France", "Lakewood, CO".
    std::string Label() const;
};

class CPlaceFinder {
public:
    // The towns of `index` (kept by reference: it must outlive the finder) and of `world`
    // (kept), with the alias table built into the program.
    static CPlaceFinder Build(const CPlaceIndex& index, CWorldPlaces world);

    // Its tables hold views into its own text and the names file's bytes: moved, never copied.
    CPlaceFinder(CPlaceFinder&&) noexcept = default;
    CPlaceFinder& operator=(CPlaceFinder&&) noexcept = default;
    CPlaceFinder(const CPlaceFinder&) = delete;
    CPlaceFinder& operator=(const CPlaceFinder&) = delete;
    ~CPlaceFinder() = default;

    // The names file (kPlaceNamesFileName) writes and reads the finder: CPlaceNamesFile.
    friend class CPlaceNamesFile;

    // Where the places of state `row` of g_StateTable lie in the index the finder was built
    // from: the first position and how many (positions of CFoundPlace::zips).
    struct StateSpan {
        std::uint32_t first = 0;
        std::uint32_t count = 0;
    };
    StateSpan SpanOf(std::size_t row) const {
        return row < m_spans.size() ? m_spans[row] : StateSpan{};
    }

    // The places whose folded name starts with the typed one (only those equal to it when
    // `whole`), of the state, country or region after a comma or a last word that names one;
    // exact names first, then by people. At most `limit`; `total` (when given) receives how
    // many there are in all.
    std::vector<CFoundPlace> Find(std::string_view typed, std::size_t limit, bool whole = false,
                                  std::size_t* total = nullptr) const;
    // Up to `limit` names close to the typed one (EditDistance), nearest first.
    std::vector<std::string> Suggest(std::string_view typed, std::size_t limit) const;

    std::size_t Size() const { return m_towns.size(); }
    // Why the world's towns are missing ("timezone.world is missing"), or "".
    const std::string& WorldProblem() const { return m_world.Problem(); }

    struct Town {
        std::uint32_t world = kNone;  // position in the world file, or kNone
        std::uint32_t firstZip = 0;   // first of the town's zip positions in m_zips
        std::uint32_t zipCount = 0;   // 0: a world town
        std::uint32_t population = 0;
        std::uint16_t state = kNone16;  // row of g_StateTable for a US town
    };
    // A folded name: its key is m_text's `length` bytes from `offset` (Key()). The texts of
    // a UsTown are views into m_text or m_file.
    struct Name {
        std::uint32_t offset = 0;
        std::uint32_t length = 0;
        std::uint32_t town = 0;
    };
    // What a US town shows of its zip codes: the first one's name (UTF-8) and code, and the
    // centre of them all.
    struct UsTown {
        std::string_view name;
        std::string_view zip;
        double latitude = 0;
        double longitude = 0;  // west positive
    };
    static constexpr std::uint32_t kNone = 0xFFFFFFFF;
    static constexpr std::uint16_t kNone16 = 0xFFFF;

private:
    CPlaceFinder() = default;
    struct Filter;
    CFoundPlace Make(std::uint32_t town) const;
    std::string_view Key(const Name& name) const {
        return {m_text.data() + name.offset, name.length};
    }
    const std::vector<std::uint32_t>& ByPeople() const;
    bool Matches(const Filter& filter, std::uint32_t town) const;
    std::vector<std::uint32_t> Run(const std::string& key, bool whole, const Filter& filter,
                                   std::size_t limit, std::size_t* total) const;

    CWorldPlaces m_world;
    std::vector<Town> m_towns;          // the US towns first, then the world's own
    std::vector<UsTown> m_usTowns;      // by town, for the first m_usTowns.size() towns
    std::vector<StateSpan> m_spans;     // by row of g_StateTable
    std::vector<std::uint32_t> m_zips;  // index positions, town by town
    std::vector<Name> m_names;          // sorted by key, then by people
    // Positions in m_names, most people first: made on the first search that walks them.
    mutable std::vector<std::uint32_t> m_byPeople;
    std::vector<std::string> m_countryKeys;  // folded country name by country code, sorted
    // What the views of m_names and m_usTowns point into: text of the finder's own (a vector
    // keeps its bytes in place when moved), and the names file it was read from.
    std::vector<char> m_text;
    std::shared_ptr<const CFileBytes> m_file;
};
