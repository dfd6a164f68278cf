// The world's towns and the zone map as the build packs them: complete, and in agreement with
// the boundary data at every shipped place and at the committed sample of land points.
#include <gtest/gtest.h>

#include <iostream>
#include <set>
#include <string>
#include <vector>

#include "DataTable.h"
#include "WorldPlaces.h"
#include "ZoneMap.h"

namespace {

const CZoneMap& Map() {
    static const CZoneMap map = CZoneMap::Load(DAYBREAK_ARCHIVE_DIR);
    return map;
}

}  // namespace

TEST(WorldPlaces, EveryTownOfTheListIsPackedAndKnownTownsComeOutRight) {
    const CWorldPlaces world = CWorldPlaces::Load(DAYBREAK_ARCHIVE_DIR);
    ASSERT_TRUE(world.IsKnown()) << world.Problem();
    const auto rows = ReadTable(DAYBREAK_DATA_DIR "/world-places.tsv");
    ASSERT_EQ(world.Size(), rows.size());
    EXPECT_GT(world.Size(), 100000u);

    const struct {
        const char* name;
        const char* code;
        const char* country;
        const char* region;
        const char* zone;
    } known[] = {
        {"Paris", "FR", "France", "Île-de-France", "Europe/Paris"},
        {"Paris", "US", "United States", "Texas", "America/Chicago"},
        {"Tokyo", "JP", "Japan", "Tokyo", "Asia/Tokyo"},
        {"São Paulo", "BR", "Brazil", "São Paulo", "America/Sao_Paulo"},
        {"Kolkata", "IN", "India", "West Bengal", "Asia/Kolkata"},
        {"Barrow", "US", "United States", "Alaska", "America/Anchorage"},
    };
    std::set<std::string> found;
    for (std::size_t i = 0; i < world.Size(); ++i) {
        const CWorldPlace p = world.At(i);
        for (const auto& k : known) {
            if (p.name == k.name && p.countryCode == k.code && p.region == k.region) {
                EXPECT_EQ(p.country, k.country);
                EXPECT_EQ(p.zone, k.zone) << k.name;
                EXPECT_GE(p.population, 1000u);
                found.insert(std::string(k.name) + k.code);
            }
        }
    }
    EXPECT_EQ(found.size(), std::size(known));
}

// Every shipped place: the US records (but for the two zips whose zone was decided against the
// boundary data, see data/README.md) and every world town.
TEST(ZoneMap, AgreesWithTheBoundaryDataAtEveryShippedPlace) {
    ASSERT_TRUE(Map().IsKnown()) << Map().Problem();
    const std::set<std::string> decided = {"58535", "37338"};
    const auto places = ReadTable(DAYBREAK_DATA_DIR "/places.tsv");
    const auto zones = ReadTable(DAYBREAK_DATA_DIR "/zones.tsv");
    ASSERT_EQ(places.size(), zones.size());
    std::size_t checked = 0;
    for (std::size_t i = 0; i < places.size(); ++i) {
        ASSERT_EQ(places[i][2], zones[i][0]);
        if (decided.contains(zones[i][0])) {
            continue;
        }
        EXPECT_EQ(Map().Find(std::stod(places[i][7]), std::stod(places[i][8])), zones[i][2])
            << zones[i][0];
        ++checked;
    }
    for (const auto& town : ReadTable(DAYBREAK_DATA_DIR "/world-places.tsv")) {
        ASSERT_EQ(town.size(), 8u);
        EXPECT_EQ(Map().Find(std::stod(town[5]), std::stod(town[6])), town[7]) << town[0];
        ++checked;
    }
    EXPECT_GT(checked, 150000u);
}

TEST(ZoneMap, AgreesWithTheBoundaryDataAtNearlyEveryLandPoint) {
    ASSERT_TRUE(Map().IsKnown()) << Map().Problem();
    const auto sample = ReadTable(DAYBREAK_DATA_DIR "/zone-sample.tsv");
    ASSERT_EQ(sample.size(), 100000u);
    std::size_t agree = 0;
    for (const auto& point : sample) {
        agree += Map().Find(std::stod(point[0]), std::stod(point[1])) == point[2];
    }
    RecordProperty("agree", static_cast<int>(agree));
    EXPECT_GE(agree, 99900u) << agree << " of 100000";
    std::cout << "zone map: " << agree << " of " << sample.size() << " land points agree\n";
}
