// The world map's outlines: the land as closed rings (filled even-odd, so that lakes and
// islands in lakes come out right) and the coasts and country borders as open lines, from
// Natural Earth's 1:50m data, shipped beside the archives as kWorldMapFileName.
//
// The file (data/world-map.bin, built by tools/data/build-worldmap.mjs; integers little-endian):
//   8 bytes  magic "DBWLDMAP", u16 version (1), u16 zero
//   u32      land ring count L, u32 outline count B, u32 point count P (all shapes together)
//   L + B    u32 point counts, the land rings first
//   P        points: i16 longitude, i16 latitude, in hundredths of a degree (east, north +)
//   u32      CRC-32 of every byte before it
//
//     CWorldMap map = CWorldMap::Load();
//     if (!map.IsKnown()) { /* map.Problem() says why */ }
//     for (const CMapShape& ring : map.Land()) { map.Points(ring); }
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

extern const char* const kWorldMapFileName;

struct CMapPoint {
    std::int16_t lon = 0;  // hundredths of a degree, east positive, -18000 to 18000
    std::int16_t lat = 0;  // hundredths of a degree, north positive, -9000 to 9000
};

struct CMapShape {
    std::size_t first = 0;  // into the points
    std::size_t count = 0;
};

class CWorldMap {
public:
    // Reads kWorldMapFileName from `directory` (empty: the executable's directory).
    static CWorldMap Load(const std::filesystem::path& directory = {});
    // The same from the file's bytes; any bytes are safe.
    static CWorldMap Parse(std::string_view bytes);

    // False when the file is missing or damaged; Problem() says why, and the map is empty.
    bool IsKnown() const { return m_problem.empty(); }
    const std::string& Problem() const { return m_problem; }

    const std::vector<CMapShape>& Land() const { return m_land; }
    const std::vector<CMapShape>& Outlines() const { return m_outlines; }
    std::span<const CMapPoint> Points(const CMapShape& shape) const {
        return std::span<const CMapPoint>(m_points).subspan(shape.first, shape.count);
    }

private:
    static CWorldMap Unknown(std::string problem);

    std::vector<CMapShape> m_land;
    std::vector<CMapShape> m_outlines;
    std::vector<CMapPoint> m_points;
    std::string m_problem;
};
