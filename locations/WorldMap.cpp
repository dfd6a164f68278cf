#include "WorldMap.h"

#include <string_view>

#include "DataFile.h"
#include "File.h"
#include "FileException.h"
#include "ModulePath.h"

const char* const kWorldMapFileName = "timezone.worldmap";

namespace {

constexpr std::string_view kMagic = "DBWLDMAP";
constexpr std::uint16_t kVersion = 1;
// The shipped file is under 1 MB; a file many times that is not ours.
constexpr std::uintmax_t kMaxFileSize = 3u << 20;

}  // namespace

CWorldMap CWorldMap::Unknown(std::string problem) {
    CWorldMap map;
    map.m_problem = std::move(problem);
    return map;
}

CWorldMap CWorldMap::Load(const std::filesystem::path& directory) {
    const std::filesystem::path path =
        (directory.empty() ? GetExecutableDirectory() : directory) / kWorldMapFileName;
    std::string bytes;
    CFileException error;
    if (!CFile::ReadDataFile(path.string(), kMaxFileSize, "the world map", bytes, &error)) {
        return Unknown(std::string(kWorldMapFileName) +
                       (error.m_cause == CFileException::fileNotFound
                            ? " is missing"
                            : " cannot be read: " + error.GetReason()));
    }
    return Parse(bytes);
}

CWorldMap CWorldMap::Parse(std::string_view bytes) {
    const auto damaged = [](const std::string& why) {
        return Unknown(std::string(kWorldMapFileName) + " is damaged: " + why);
    };
    CDataCursor cursor(bytes);
    std::string_view magic;
    std::uint16_t version = 0, zero = 0;
    if (!cursor.Take(kMagic.size(), magic) || magic != kMagic) {
        return damaged("not a world map");
    }
    if (!cursor.Read(version) || !cursor.Read(zero) || version != kVersion || zero != 0) {
        return damaged("version " + std::to_string(version) + ", not " + std::to_string(kVersion));
    }
    if (bytes.size() < cursor.Position() + 4) {
        return damaged("wrong length");
    }
    CDataCursor crc(bytes.substr(bytes.size() - 4));
    std::uint32_t stored = 0;
    crc.Read(stored);
    if (DataCrc32(bytes.substr(0, bytes.size() - 4)) != stored) {
        return damaged("checksum");
    }
    cursor = CDataCursor(bytes.substr(0, bytes.size() - 4));
    cursor.Take(kMagic.size() + 4, magic);
    std::uint32_t landCount = 0, outlineCount = 0, pointCount = 0;
    if (!cursor.Read(landCount) || !cursor.Read(outlineCount) || !cursor.Read(pointCount)) {
        return damaged("wrong length");
    }
    // Counts are checked against the bytes that hold them before anything is allocated: a
    // count can claim four billion.
    const std::uint64_t shapes = std::uint64_t{landCount} + outlineCount;
    if (shapes > cursor.Left() / 4 || std::uint64_t{pointCount} * 4 != cursor.Left() - shapes * 4) {
        return damaged("wrong length");
    }
    CWorldMap map;
    map.m_land.reserve(landCount);
    map.m_outlines.reserve(outlineCount);
    std::uint64_t first = 0;
    for (std::uint64_t i = 0; i < shapes; ++i) {
        std::uint32_t count = 0;
        cursor.Read(count);
        if (count < 2 || count > pointCount - first) {
            return damaged("a shape of " + std::to_string(count) + " points");
        }
        (i < landCount ? map.m_land : map.m_outlines)
            .push_back({static_cast<std::size_t>(first), count});
        first += count;
    }
    if (first != pointCount) {
        return damaged("points left over");
    }
    map.m_points.resize(pointCount);
    for (CMapPoint& point : map.m_points) {
        cursor.Read(point.lon);
        cursor.Read(point.lat);
        if (point.lon < -18000 || point.lon > 18000 || point.lat < -9000 || point.lat > 9000) {
            return damaged("a point off the globe");
        }
    }
    return map;
}
