#include "ZoneMap.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

#include <zlib.h>

#include "DataFile.h"
#include "ErrorReporter.h"
#include "ModulePath.h"

const char* const kZoneMapFileName = "timezone.zonemap";

namespace {

constexpr std::string_view kMagic = "DBZONMAP";
constexpr std::uint16_t kVersion = 1;
constexpr std::size_t kNodeSize = 16;
// The shipped map is at most 6 MB and inflates to about 11 MB; four times more is not ours.
constexpr std::uintmax_t kMaxFileSize = 24u << 20;
constexpr std::uint32_t kMaxTableSize = 64u << 20;
// geo-tz's box: the poles and the antimeridian themselves lie just outside it.
constexpr double kTop = 89.9999;
constexpr double kRight = 179.9999;

enum EntryKind : std::uint32_t { kZone = 0, kNode = 1, kBits2 = 2, kBits4 = 3 };

bool IsZoneName(std::string_view name) {
    return !name.empty() && std::all_of(name.begin(), name.end(), [](char c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
               c == '/' || c == '_' || c == '-' || c == '+';
    });
}

inline std::uint32_t U32At(const char* p) {
    const auto* b = reinterpret_cast<const unsigned char*>(p);
    return std::uint32_t{b[0]} | std::uint32_t{b[1]} << 8 | std::uint32_t{b[2]} << 16 |
           std::uint32_t{b[3]} << 24;
}

inline std::uint16_t U16At(const char* p) {
    const auto* b = reinterpret_cast<const unsigned char*>(p);
    return static_cast<std::uint16_t>(b[0] | b[1] << 8);
}

// "Etc/GMT-12" to "Etc/GMT+12", indexed by hours west + 12.
const std::array<std::string, 25>& NauticalNames() {
    static const std::array<std::string, 25> names = [] {
        std::array<std::string, 25> n;
        for (int west = -12; west <= 12; ++west) {
            n[static_cast<std::size_t>(west + 12)] =
                west == 0 ? "Etc/GMT"
                          : "Etc/GMT" + std::string(west > 0 ? "+" : "-") +
                                std::to_string(std::abs(west));
        }
        return n;
    }();
    return names;
}

}  // namespace

std::optional<std::string_view> NauticalZone(double longitude) {
    if (!(longitude >= -180 && longitude <= 180)) {
        return std::nullopt;
    }
    // Bands of 15 degrees centred on multiples of 15; a point on an edge takes the eastern band,
    // and the 180th meridian, either way, the western one.
    int east = static_cast<int>(std::floor(longitude / 15 + 0.5));
    if (std::abs(longitude) == 180) {
        east = -12;
    }
    return NauticalNames()[static_cast<std::size_t>(12 - east)];
}

CZoneMap CZoneMap::Unknown(std::string problem) {
    CZoneMap map;
    map.m_problem = std::move(problem);
    return map;
}

CZoneMap CZoneMap::Load(const std::filesystem::path& directory) {
    CCollectingErrorReporter problems;
    std::string bytes =
        ReadDataFile((directory.empty() ? GetExecutableDirectory() : directory) / kZoneMapFileName,
                     kMaxFileSize, "the zone map", problems);
    if (!problems.Messages().empty()) {
        return Unknown(problems.First());
    }
    return Parse(std::move(bytes));
}

CZoneMap CZoneMap::Parse(std::string bytes) {
    const auto damaged = [](const std::string& why) {
        return Unknown(std::string(kZoneMapFileName) + " is damaged: " + why);
    };
    CDataCursor cursor(bytes);
    std::string_view magic;
    std::uint16_t version = 0;
    std::uint8_t side = 0, zero = 0;
    if (!cursor.Take(kMagic.size(), magic) || magic != kMagic) {
        return damaged("not a zone map");
    }
    if (!cursor.Read(version) || !cursor.Read(side) || !cursor.Read(zero) || version != kVersion ||
        zero != 0) {
        return damaged("version " + std::to_string(version) + ", not " + std::to_string(kVersion));
    }
    if (side != 4 && side != 8 && side != 16) {
        return damaged("bitmap side " + std::to_string(side));
    }
    if (bytes.size() < cursor.Position() + 4 ||
        DataCrc32(std::string_view(bytes).substr(0, bytes.size() - 4)) !=
            U32At(bytes.data() + bytes.size() - 4)) {
        return damaged("checksum");
    }
    std::uint32_t tableSize = 0, streamSize = 0;
    std::string_view stream;
    if (!cursor.Read(tableSize) || !cursor.Read(streamSize) || !cursor.Take(streamSize, stream) ||
        cursor.Left() != 4) {
        return damaged("wrong length");
    }
    // Deflate shrinks at most 1032-fold, so a stated length beyond that is a lie, and nothing
    // is allocated for it.
    if (tableSize == 0 || tableSize > kMaxTableSize ||
        tableSize > std::uint64_t{streamSize} * 1032 + 64) {
        return damaged("tables of " + std::to_string(tableSize) + " bytes");
    }
    std::string tables(tableSize, '\0');
    uLongf inflated = tableSize;
    if (uncompress(reinterpret_cast<Bytef*>(tables.data()), &inflated,
                   reinterpret_cast<const Bytef*>(stream.data()), streamSize) != Z_OK ||
        inflated != tableSize) {
        return damaged("tables do not inflate to their length");
    }
    bytes = std::string();
    cursor = CDataCursor(tables);

    CZoneMap map;
    std::uint16_t nameCount = 0;
    if (!cursor.Read(nameCount) || nameCount == 0 || nameCount > cursor.Left() / 2) {
        return damaged("no zone names");
    }
    map.m_zoneNames.reserve(nameCount);
    for (std::uint16_t i = 0; i < nameCount; ++i) {
        std::uint8_t length = 0;
        std::string_view name;
        if (!cursor.Read(length) || !cursor.Take(length, name) || !IsZoneName(name)) {
            return damaged("zone name " + std::to_string(i + 1));
        }
        map.m_zoneNames.emplace_back(cursor.Position() - length, length);
    }
    const std::size_t bits2Size = 2 * 2 + std::size_t{side} * side / 8;
    const std::size_t bits4Size = 4 * 2 + std::size_t{side} * side / 4;
    std::uint32_t nodeCount = 0, bits2Count = 0, bits4Count = 0;
    if (!cursor.Read(nodeCount) || !cursor.Read(bits2Count) || !cursor.Read(bits4Count) ||
        nodeCount == 0) {
        return damaged("no nodes");
    }
    // Sizes in 64 bits: three u32 counts times their sizes cannot overflow it.
    const std::uint64_t expected = std::uint64_t{nodeCount} * kNodeSize +
                                   std::uint64_t{bits2Count} * bits2Size +
                                   std::uint64_t{bits4Count} * bits4Size;
    if (expected != cursor.Left()) {
        return damaged("wrong length");
    }
    map.m_nodes = cursor.Position();
    map.m_bits2 = map.m_nodes + std::size_t{nodeCount} * kNodeSize;
    map.m_bits4 = map.m_bits2 + std::size_t{bits2Count} * bits2Size;
    map.m_side = side;

    const char* const base = tables.data();
    for (std::uint32_t n = 0; n < nodeCount; ++n) {
        for (std::size_t k = 0; k < 4; ++k) {
            const std::uint32_t entry = U32At(base + map.m_nodes + n * kNodeSize + k * 4);
            const std::uint32_t value = entry & 0x3FFFFFFFu;
            const bool valid = [&] {
                switch (entry >> 30) {
                    case kZone:
                        return value <= nameCount;
                    case kNode:
                        return value > n && value < nodeCount;
                    case kBits2:
                        return value < bits2Count;
                    default:
                        return value < bits4Count;
                }
            }();
            if (!valid) {
                return damaged("node " + std::to_string(n));
            }
        }
    }
    const auto checkPalettes = [&](std::size_t first, std::uint32_t count, std::size_t size,
                                   std::size_t colours) {
        for (std::uint32_t i = 0; i < count; ++i) {
            for (std::size_t c = 0; c < colours; ++c) {
                if (U16At(base + first + i * size + c * 2) > nameCount) {
                    return false;
                }
            }
        }
        return true;
    };
    if (!checkPalettes(map.m_bits2, bits2Count, bits2Size, 2) ||
        !checkPalettes(map.m_bits4, bits4Count, bits4Size, 4)) {
        return damaged("bitmap palette");
    }
    map.m_tables = std::move(tables);
    return map;
}

std::optional<std::string_view> CZoneMap::Find(double latitude, double longitude) const {
    if (!IsKnown() || !(latitude >= -90 && latitude <= 90) ||
        !(longitude >= -180 && longitude <= 180)) {
        return std::nullopt;
    }
    const double lat = std::clamp(latitude, -kTop, kTop);
    const double lon = std::clamp(longitude, -kRight, kRight);
    double top = kTop, bottom = -kTop, left = -kRight, right = kRight;
    const char* const base = m_tables.data();
    std::size_t node = 0;
    std::uint32_t zone = 0;
    // Each step goes to a node after the current one, so the walk ends.
    for (;;) {
        const double midLat = (top + bottom) / 2;
        const double midLon = (left + right) / 2;
        std::size_t k = 0;
        if (lat >= midLat) {
            bottom = midLat;
            k = lon >= midLon ? 0 : 1;
        } else {
            top = midLat;
            k = lon >= midLon ? 3 : 2;
        }
        if (lon >= midLon) {
            left = midLon;
        } else {
            right = midLon;
        }
        const std::uint32_t entry = U32At(base + m_nodes + node * kNodeSize + k * 4);
        const std::uint32_t value = entry & 0x3FFFFFFFu;
        const std::uint32_t kind = entry >> 30;
        if (kind == kNode) {
            node = value;
            continue;
        }
        if (kind == kZone) {
            zone = value;
            break;
        }
        const auto pixel = [&](double v, double low, double high) {
            const double at = std::floor((v - low) / (high - low) * m_side);
            return static_cast<std::size_t>(std::clamp(at, 0.0, m_side - 1.0));
        };
        const std::size_t index = pixel(lat, bottom, top) * m_side + pixel(lon, left, right);
        const std::size_t area = std::size_t{m_side} * m_side;
        if (kind == kBits2) {
            const char* block = base + m_bits2 + value * (4 + area / 8);
            const unsigned bit =
                (static_cast<unsigned char>(block[4 + index / 8]) >> (index % 8)) & 1u;
            zone = U16At(block + 2 * bit);
        } else {
            const char* block = base + m_bits4 + value * (8 + area / 4);
            const unsigned colour =
                (static_cast<unsigned char>(block[8 + index / 4]) >> (2 * (index % 4))) & 3u;
            zone = U16At(block + 2 * colour);
        }
        break;
    }
    if (zone == 0) {
        return NauticalZone(longitude);
    }
    const auto [offset, length] = m_zoneNames[zone - 1];
    return std::string_view(m_tables).substr(offset, length);
}
