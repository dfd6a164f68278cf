#include "ZoneMap.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "DataFile.h"
#include "TempDir.h"

namespace {

constexpr std::uint32_t kNode = 1u << 30;
constexpr std::uint32_t kBits2 = 2u << 30;
constexpr std::uint32_t kBits4 = 3u << 30;

// A map of two zones and 4 x 4 bitmaps. The world's quarters: north-east is node 1; north-west
// Paris; south-west the sea; south-east a bitmap, Paris in its south half, Berlin in its north.
// Node 1's quarters: Berlin; a four-colour bitmap, all Berlin but its south-west pixel, at sea;
// Paris; Berlin.
std::string Tables(const std::vector<std::uint32_t>& nodes) {
    std::string t;
    AppendLittleEndian(t, std::uint16_t{2});
    for (const std::string name : {"Europe/Paris", "Europe/Berlin"}) {
        t.push_back(static_cast<char>(name.size()));
        t += name;
    }
    AppendLittleEndian(t, static_cast<std::uint32_t>(nodes.size() / 4));
    AppendLittleEndian(t, std::uint32_t{1});
    AppendLittleEndian(t, std::uint32_t{1});
    for (const std::uint32_t entry : nodes) {
        AppendLittleEndian(t, entry);
    }
    AppendLittleEndian(t, std::uint16_t{1});
    AppendLittleEndian(t, std::uint16_t{2});
    t += std::string("\x00\xFF", 2);
    for (const std::uint16_t zone : std::initializer_list<std::uint16_t>{0, 1, 2, 1}) {
        AppendLittleEndian(t, zone);
    }
    t += std::string("\xA8\xAA\xAA\xAA", 4);
    return t;
}

const std::vector<std::uint32_t> kNodes = {kNode | 1, 1, 0, kBits2 | 0, 2, kBits4 | 0, 1, 2};

// The file around `tables`: header, deflated tables, checksum.
std::string MapFile(const std::string& tables, std::uint8_t side = 4) {
    std::string out("DBZONMAP");
    AppendLittleEndian(out, std::uint16_t{1});
    out.push_back(static_cast<char>(side));
    out.push_back('\0');
    uLongf length = compressBound(tables.size());
    std::string stream(length, '\0');
    compress(reinterpret_cast<Bytef*>(stream.data()), &length,
             reinterpret_cast<const Bytef*>(tables.data()), tables.size());
    stream.resize(length);
    AppendLittleEndian(out, static_cast<std::uint32_t>(tables.size()));
    AppendLittleEndian(out, static_cast<std::uint32_t>(stream.size()));
    out += stream;
    AppendLittleEndian(out, DataCrc32(out));
    return out;
}

struct Probe {
    double lat, lon;
    const char* zone;  // nullptr: none
};
const Probe kProbes[] = {
    {30, -40, "Europe/Paris"},  {-30, -100, "Etc/GMT+7"},   {-80, 90, "Europe/Paris"},
    {-10, 90, "Europe/Berlin"}, {80, 170, "Europe/Berlin"}, {50, 10, "Etc/GMT-1"},
    {80, 80, "Europe/Berlin"},  {10, 10, "Europe/Paris"},   {90, 0, "Europe/Berlin"},
    {-90, -180, "Etc/GMT+12"},  {91, 0, nullptr},           {0, 180.5, nullptr},
    {std::nan(""), 0, nullptr},
};

std::vector<std::optional<std::string>> Answers(const CZoneMap& map) {
    std::vector<std::optional<std::string>> answers;
    for (const Probe& p : kProbes) {
        const auto zone = map.Find(p.lat, p.lon);
        answers.push_back(zone ? std::optional<std::string>(*zone) : std::nullopt);
    }
    return answers;
}

}  // namespace

TEST(ZoneMap, FindsTheZoneOfEveryKindOfCell) {
    const CZoneMap map = CZoneMap::Parse(MapFile(Tables(kNodes)));
    ASSERT_TRUE(map.IsKnown()) << map.Problem();
    EXPECT_EQ(map.ZoneCount(), 2u);
    for (const Probe& p : kProbes) {
        SCOPED_TRACE(std::to_string(p.lat) + ", " + std::to_string(p.lon));
        const auto zone = map.Find(p.lat, p.lon);
        if (p.zone) {
            EXPECT_EQ(zone, p.zone);
        } else {
            EXPECT_FALSE(zone.has_value());
        }
    }
}

TEST(ZoneMap, NauticalZonesFollowTheLongitude) {
    const struct {
        double lon;
        const char* zone;
    } cases[] = {
        {0, "Etc/GMT"},       {7.49, "Etc/GMT"},     {7.5, "Etc/GMT-1"},  {-7.5, "Etc/GMT"},
        {-7.51, "Etc/GMT+1"}, {172.5, "Etc/GMT-12"}, {180, "Etc/GMT+12"}, {-180, "Etc/GMT+12"},
        {-100, "Etc/GMT+7"},  {135, "Etc/GMT-9"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(NauticalZone(c.lon), c.zone) << c.lon;
    }
    EXPECT_FALSE(NauticalZone(180.001).has_value());
    EXPECT_FALSE(NauticalZone(std::nan("")).has_value());
}

TEST(ZoneMap, LoadNamesWhyAFileIsNotRead) {
    const TempDir temp;
    const CZoneMap missing = CZoneMap::Load(temp.path());
    EXPECT_EQ(missing.Problem(), "timezone.zonemap cannot be read: No such file or directory");
    EXPECT_FALSE(missing.Find(48.85, 2.35).has_value());
    std::ofstream(temp.path() / kZoneMapFileName, std::ios::binary) << MapFile(Tables(kNodes));
    EXPECT_EQ(CZoneMap::Load(temp.path()).Find(-10, 90), "Europe/Berlin");
}

// A node that points back to itself or an earlier node, a stated length far beyond what the
// stream can inflate to, a bitmap side the format lacks: refused before any look-up.
TEST(ZoneMap, RefusesMapsThatCouldLoopOrOverAllocate) {
    std::vector<std::uint32_t> loop = kNodes;
    loop[4] = kNode | 1;
    EXPECT_FALSE(CZoneMap::Parse(MapFile(Tables(loop))).IsKnown());
    loop[4] = kNode | 0;
    EXPECT_FALSE(CZoneMap::Parse(MapFile(Tables(loop))).IsKnown());
    EXPECT_FALSE(CZoneMap::Parse(MapFile(Tables(kNodes), 5)).IsKnown());

    std::string huge = MapFile(Tables(kNodes));
    std::string length;
    AppendLittleEndian(length, std::uint32_t{60u << 20});
    huge.replace(12, 4, length);
    huge.resize(huge.size() - 4);
    AppendLittleEndian(huge, DataCrc32(huge));
    const CZoneMap refused = CZoneMap::Parse(huge);
    EXPECT_NE(refused.Problem().find("tables of 62914560 bytes"), std::string::npos)
        << refused.Problem();
}

// The file cut anywhere or with any byte changed, and the tables with any byte changed behind
// a sound envelope: never a crash, and a map that loads answers within its names.
TEST(ZoneMap, DamagedMapIsRefusedNeverMisread) {
    const std::string tables = Tables(kNodes);
    const std::string good = MapFile(tables);
    const auto truth = Answers(CZoneMap::Parse(good));
    for (std::size_t n = 0; n < good.size(); ++n) {
        EXPECT_FALSE(CZoneMap::Parse(good.substr(0, n)).IsKnown()) << "cut at " << n;
    }
    for (std::size_t i = 0; i < good.size(); ++i) {
        std::string bad = good;
        bad[i] = static_cast<char>(bad[i] ^ 0x10);
        const CZoneMap map = CZoneMap::Parse(bad);
        EXPECT_FALSE(map.IsKnown()) << "byte " << i;
        EXPECT_EQ(map.Problem().rfind("timezone.zonemap is damaged: ", 0), 0u) << map.Problem();
    }
    for (std::size_t n = 0; n < tables.size(); ++n) {
        EXPECT_FALSE(CZoneMap::Parse(MapFile(tables.substr(0, n))).IsKnown()) << "cut at " << n;
    }
    for (std::size_t i = 0; i < tables.size(); ++i) {
        for (const int mask : {0x01, 0x40, 0x80, 0xFF}) {
            std::string bad = tables;
            bad[i] = static_cast<char>(bad[i] ^ mask);
            const CZoneMap map = CZoneMap::Parse(MapFile(bad));
            if (!map.IsKnown()) {
                continue;
            }
            const auto answers = Answers(map);
            for (std::size_t k = 0; k < answers.size(); ++k) {
                EXPECT_EQ(answers[k].has_value(), truth[k].has_value()) << i << " " << k;
            }
        }
    }
}
