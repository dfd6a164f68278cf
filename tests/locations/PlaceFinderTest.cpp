#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ArchiveBuilder.h"
#include "PlaceFinder.h"
#include "PlaceIndex.h"
#include "PlaceName.h"
#include "PlaceNamesFile.h"
#include "StateTable.h"
#include "TimeZoneData.h"
#include "WorldPlaces.h"

namespace {

CIndexedPlace Zip(const std::string& state, const std::string& city, const std::string& zip,
                  double lat, double lon) {
    CTimeZoneData record(MakeRecord(city, zip, "County"));
    record.m_strState = state;
    record.m_dLatitude = lat;
    record.m_dLongitude = lon;
    return {state, record, PlaceNameKey(city)};
}

class PlaceFinderTest : public ::testing::Test {
protected:
    PlaceFinderTest()
        : m_index(CPlaceIndex::FromPlaces({
              Zip("MO", "Saint Louis", "63101", 38.63, -90.19),
              Zip("MO", "St. Louis", "63102", 38.61, -90.21),
              Zip("NY", "New York", "10001", 40.75, -73.99),
              Zip("NY", "New York", "10002", 40.71, -73.98),
              Zip("TX", "Paris", "75460", 33.66, -95.55),
          })),
          m_finder(CPlaceFinder::Build(m_index, World())) {}

    static CWorldPlaces World() {
        return CWorldPlaces::Parse(EncodeWorldPlaces({
            {"Paris", "FR", "France", "\u00cele-de-France", "Europe/Paris", 2138551, 48.85341,
             2.3488},
            {"S\u00e3o Paulo", "BR", "Brazil", "", "America/Sao_Paulo", 10021295, -23.5475,
             -46.63611},
            {"Queens", "US", "United States", "New York", "America/New_York", 2272771, 40.68,
             -73.84},
            {"Paris", "US", "United States", "Texas", "America/Chicago", 25171, 33.66, -95.56},
        }));
    }

    std::vector<std::string> Labels(const std::string& typed, std::size_t limit = 5) const {
        std::vector<std::string> labels;
        for (const CFoundPlace& place : m_finder.Find(typed, limit, true)) {
            labels.push_back(place.Label());
        }
        return labels;
    }

    CPlaceIndex m_index;
    CPlaceFinder m_finder;
};

TEST_F(PlaceFinderTest, TypedNamesFindTownsByPeopleWithTheirQualifiers) {
    const std::vector<std::pair<std::string, std::vector<std::string>>> rows = {
        {"paris", {"Paris, France (\u00cele-de-France)", "Paris, TX, 75460"}},
        {"Paris, TX", {"Paris, TX, 75460"}},
        {"paris texas", {"Paris, TX, 75460"}},
        {"PARIS, fr", {"Paris, France (\u00cele-de-France)"}},
        {"sao paulo, brazil", {"S\u00e3o Paulo, Brazil"}},
        {"st louis, mo", {"Saint Louis, MO, 2 zip codes"}},
        {"new york", {"New York, NY, 2 zip codes"}},
        {"queens", {"New York, NY, 2 zip codes"}},
        {"paris, germany", {}},
    };
    for (const auto& [typed, labels] : rows) {
        EXPECT_EQ(Labels(typed), labels) << typed;
    }
}

TEST_F(PlaceFinderTest, ATownTakesItsGeoNamesPointElseTheCentreOfItsZipCodes) {
    const CFoundPlace paris = m_finder.Find("Paris, TX", 1, true).front();
    EXPECT_DOUBLE_EQ(paris.latitude, 33.66);
    EXPECT_DOUBLE_EQ(paris.longitude, 95.56);  // west positive
    EXPECT_EQ(paris.population, 25171u);
    const CFoundPlace york = m_finder.Find("new york", 1, true).front();
    EXPECT_DOUBLE_EQ(york.latitude, 40.73);
    EXPECT_DOUBLE_EQ(york.longitude, 73.985);
    std::size_t total = 0;
    EXPECT_EQ(m_finder.Find("p", 1, false, &total).size(), 1u);
    EXPECT_EQ(total, 2u);  // Paris, France and Paris, TX
    // One suggestion a name: its town with the most people.
    EXPECT_EQ(m_finder.Suggest("pariss", 2), std::vector<std::string>{"Paris, France"});
}

// The names file holds the finder whole: read back, it answers every search as the one built
// from the archives; any cut or flipped byte, or archives or a world file of other sizes, and
// it is not read at all.
TEST_F(PlaceFinderTest, TheNamesFileAnswersAsTheBuiltFinderAndRefusesDamagedOrStaleBytes) {
    std::vector<std::uint64_t> sizes(g_StateTable.size(), 100);
    CWorldPlaces world = World();
    const std::string bytes = CPlaceNamesFile::Encode(m_finder, sizes, world.Bytes());
    const auto read = CPlaceNamesFile::Decode(bytes, world, sizes);
    ASSERT_TRUE(read);
    const auto facts = [](const std::vector<CFoundPlace>& found) {
        std::vector<std::string> rows;
        for (const CFoundPlace& p : found) {
            rows.push_back(p.Label() + "|" + std::to_string(p.latitude) + "|" +
                           std::to_string(p.longitude) + "|" + p.zone + "|" +
                           std::to_string(p.population) + "|" + std::to_string(p.zips.size()) +
                           "|" + (p.zips.empty() ? "" : std::to_string(p.zips.front())));
        }
        return rows;
    };
    for (const char* typed : {"paris", "new york", "queens", "st louis, mo", "sao paulo, brazil",
                              "p", "s", "paris fr"}) {
        EXPECT_EQ(facts(read->Find(typed, 10)), facts(m_finder.Find(typed, 10))) << typed;
    }
    EXPECT_EQ(read->Suggest("pariss", 3), m_finder.Suggest("pariss", 3));
    EXPECT_EQ(read->SpanOf(1).count, m_finder.SpanOf(1).count);

    for (std::size_t size = 0; size < bytes.size(); ++size) {
        CWorldPlaces w = World();
        EXPECT_FALSE(CPlaceNamesFile::Decode(bytes.substr(0, size), w, sizes)) << "cut at " << size;
    }
    for (std::size_t at = 0; at < bytes.size(); ++at) {
        std::string flipped = bytes;
        flipped[at] = static_cast<char>(flipped[at] ^ 0x10);
        CWorldPlaces w = World();
        EXPECT_FALSE(CPlaceNamesFile::Decode(flipped, w, sizes)) << "flipped at " << at;
    }
    std::string why;
    sizes[3] = 101;
    CWorldPlaces w = World();
    EXPECT_FALSE(CPlaceNamesFile::Decode(bytes, w, sizes, &why));
    EXPECT_EQ(why, "timezone.names was built with other archives");
    EXPECT_TRUE(w.IsKnown());  // not taken: the caller builds the finder with it instead
}

}  // namespace
