// The IANA time zone of any point on Earth, from "timezone.zonemap" beside the state archives,
// built at `make data` from the time-zone boundaries the zone names of the places come from.
//
// The map is a quadtree over latitude and longitude: the box [-89.9999, 89.9999] x
// [-179.9999, 179.9999] is halved in both at every level (a point on a midline goes north and
// east); a cell is one zone, four smaller cells, or a bitmap of R x R pixels over two or four
// zones. A point in no zone is at sea and takes the nautical zone of its longitude
// ("Etc/GMT+5" west of Greenwich, "Etc/GMT-5" east).
//
// Layout (integers little-endian):
//   8 bytes  magic "DBZONMAP", u16 version (1), u8 raster side R (4, 8 or 16), u8 zero
//   u32      length of the tables below (at most 64 MiB), u32 length of their zlib stream,
//            the stream
//   u32      CRC-32 of every byte before it
// The tables, once inflated:
//   u16      zone count N (1 or more), then N names: u8 length (1 to 255), the ASCII bytes
//   u32      node count (1 or more), u32 two-colour bitmap count, u32 four-colour bitmap count
//   nodes    4 u32 entries each (north-east, north-west, south-west, south-east); an entry's
//            top two bits say what its other 30 are: 0 a zone (0 the sea, 1..N the names),
//            1 a node (always after the node holding the entry), 2 a two-colour bitmap, 3 a
//            four-colour bitmap. Node 0 is the whole world.
//   bitmaps  two-colour: 2 u16 zones, R*R bits; four-colour: 4 u16 zones, R*R two-bit values;
//            pixels row by row from the south-west corner, the lowest bits first
// Parse checks the checksum, inflates into a buffer of the stated length only after checking
// it against the ceiling, and checks every entry and palette once, so that a look-up reads
// only what exists and always ends.
//
// Example:
//     const CZoneMap map = CZoneMap::Load();
//     if (auto zone = map.Find(48.8566, 2.3522)) { /* "Europe/Paris" */ }
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// "timezone.zonemap".
extern const char* const kZoneMapFileName;

// The nautical zone of a longitude in degrees (east positive): "Etc/GMT" within 7.5 degrees of
// Greenwich, "Etc/GMT+12" at the 180th meridian; on a band's edge the eastern band's zone.
// Nothing for a longitude outside [-180, 180].
std::optional<std::string_view> NauticalZone(double longitude);

class CZoneMap {
public:
    // Reads kZoneMapFileName from `directory` (empty: the executable's directory).
    static CZoneMap Load(const std::filesystem::path& directory = {});
    // The same from the file's bytes; any bytes are safe.
    static CZoneMap Parse(std::string bytes);

    // False when the file is missing or damaged; Problem() says why.
    bool IsKnown() const { return m_problem.empty(); }
    const std::string& Problem() const { return m_problem; }

    // The zone at a point in degrees (north and east positive): a land zone, or at sea the
    // nautical one. Nothing when the map is unknown or the point is off the globe (or NaN).
    std::optional<std::string_view> Find(double latitude, double longitude) const;

    // The zone names the map holds (the nautical ones aside).
    std::size_t ZoneCount() const { return m_zoneNames.size(); }

private:
    static CZoneMap Unknown(std::string problem);

    std::string m_tables;                                          // inflated
    std::vector<std::pair<std::size_t, std::size_t>> m_zoneNames;  // offset, length in m_tables
    std::size_t m_nodes = 0;                                       // offsets into m_tables
    std::size_t m_bits2 = 0;
    std::size_t m_bits4 = 0;
    unsigned m_side = 0;
    std::string m_problem;
};
