// The state archives as the build packs them: complete, consistent and right for places whose
// answer is known.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "Collectors.h"
#include "DataTable.h"
#include "ErrorReporter.h"
#include "Exception.h"
#include "StateArchive.h"
#include "StateTable.h"
#include "TimeZoneList.h"
#include "ZoneFile.h"

namespace {

// The codes the build packs archives for (a CMake list, known when the build is configured).
std::vector<std::string> PackedStateCodes() {
    std::vector<std::string> codes;
    std::stringstream all(DAYBREAK_STATE_CODES);
    for (std::string code; std::getline(all, code, ',');) {
        codes.push_back(code);
    }
    return codes;
}

// Loads one archive with the program's own loader; fails the test on any reported error.
CTimeZoneList Load(const std::string& code) {
    CTimeZoneList list;
    CountingSink sink;
    CollectingReporter reporter;
    LoadStateArchive(code, list, sink, reporter, DAYBREAK_ARCHIVE_DIR);
    EXPECT_TRUE(reporter.messages.empty()) << code << ": " << reporter.messages.front();
    EXPECT_EQ(sink.zips, list.GetCount()) << code;
    EXPECT_EQ(sink.cities, list.GetCount()) << code;
    return list;
}

// A place of a state's archive, each archive loaded once for the test program.
std::optional<CTimeZoneData> FindPlace(const std::string& code, const std::string& zip) {
    static std::map<std::string, CTimeZoneList> loaded;
    if (!loaded.contains(code)) {
        loaded.emplace(code, Load(code));
    }
    return loaded.at(code).FindByZip(zip);
}

// The record counts the data notes give per state: rows "| XX | Name | 123 |".
std::map<std::string, long> RecordedCounts() {
    std::ifstream notes(DAYBREAK_DATA_NOTES);
    const std::regex row(R"(^\| ([A-Z]{2}) \| [^|]+ \| (\d+) \|$)");
    std::map<std::string, long> counts;
    std::smatch match;
    for (std::string line; std::getline(notes, line);) {
        if (std::regex_match(line, match, row)) {
            counts[match[1]] = std::stol(match[2]);
        }
    }
    return counts;
}

// (offset, daylight saving) pairs that occur in each state.
const std::map<std::string, std::set<std::pair<int, std::string>>>& AllowedZones() {
    using Zones = std::set<std::pair<int, std::string>>;
    static const std::map<std::string, Zones> zones = [] {
        std::map<std::string, Zones> z;
        const Zones eastern{{5, "Y"}}, central{{6, "Y"}}, mountain{{7, "Y"}}, pacific{{8, "Y"}};
        const Zones eastCentral{{5, "Y"}, {6, "Y"}}, centralMountain{{6, "Y"}, {7, "Y"}};
        const Zones mountainPacific{{7, "Y"}, {8, "Y"}};
        for (const char* s : {"CT", "DE", "DC", "GA", "ME", "MD", "MA", "NH", "NJ", "NY", "NC",
                              "OH", "PA", "RI", "SC", "VT", "VA", "WV"}) {
            z[s] = eastern;
        }
        for (const char* s : {"AR", "IL", "IA", "LA", "MN", "MS", "MO", "OK", "WI"}) {
            z[s] = central;
        }
        z["AL"] = eastCentral;  // the Phenix City area keeps Eastern clocks
        for (const char* s : {"FL", "IN", "KY", "MI", "TN"})
            z[s] = eastCentral;
        for (const char* s : {"KS", "NE", "ND", "SD", "TX"})
            z[s] = centralMountain;
        for (const char* s : {"CO", "MT", "NM", "UT", "WY"})
            z[s] = mountain;
        for (const char* s : {"ID", "OR", "NV"})
            z[s] = mountainPacific;
        for (const char* s : {"CA", "WA"})
            z[s] = pacific;
        z["AZ"] = {{7, "N"}, {7, "Y"}};
        z["AK"] = {{9, "Y"}, {10, "Y"}};
        z["HI"] = {{10, "N"}, {-12, "N"}};  // Wake Island keeps UTC+12
        z["PR"] = z["VI"] = {{4, "N"}};
        z["GU"] = z["MP"] = {{-10, "N"}};
        z["AS"] = {{11, "N"}};
        z["PW"] = {{-9, "N"}};
        z["MH"] = {{-12, "N"}};
        z["FM"] = {{-10, "N"}, {-11, "N"}};
        return z;
    }();
    return zones;
}

// Great-circle distance in kilometres.
double Kilometres(double lat1, double lon1, double lat2, double lon2) {
    const double rad = 3.14159265358979323846 / 180;
    const double a = std::pow(std::sin((lat2 - lat1) * rad / 2), 2) +
                     std::cos(lat1 * rad) * std::cos(lat2 * rad) *
                         std::pow(std::sin((lon2 - lon1) * rad / 2), 2);
    return 2 * 6371.0088 * std::asin(std::min(1.0, std::sqrt(a)));
}

bool IsZip(const std::string& zip) {
    return zip.size() == 5 && zip.find_first_not_of("0123456789") == std::string::npos;
}

}  // namespace

// The build names its archives from a CMake list; the programs offer the states of
// g_StateTable. A state missing from either side would be offered without an archive, or packed
// and never offered.
TEST(StateArchives, TheBuildPacksExactlyTheStatesTheProgramsOffer) {
    const std::vector<std::string> packed = PackedStateCodes();
    ASSERT_EQ(packed.size(), g_StateTable.size());
    std::set<std::string> distinct;
    for (std::size_t i = 0; i < packed.size(); ++i) {
        EXPECT_EQ(packed[i], g_StateTable[i].code) << g_StateTable[i].name;
        EXPECT_TRUE(distinct.insert(packed[i]).second) << "twice: " << packed[i];
    }
}

TEST(StateArchives, EveryArchiveLoadsWholeAndEveryRecordIsConsistent) {
    std::vector<std::string> codes;
    for (const CStateRow& row : g_StateTable) {
        codes.emplace_back(row.code);
    }
    const std::map<std::string, long> recorded = RecordedCounts();
    ASSERT_EQ(recorded.size(), 59u) << "per-state counts missing from " << DAYBREAK_DATA_NOTES;

    std::size_t total = 0;
    for (const std::string& code : codes) {
        SCOPED_TRACE(code);
        const auto path = std::filesystem::path(DAYBREAK_ARCHIVE_DIR) / ("timezone.arc." + code);
        ASSERT_TRUE(std::filesystem::exists(path));

        const CTimeZoneList list = Load(code);
        const long count = static_cast<long>(list.GetCount());
        ASSERT_GT(count, 0);
        ASSERT_TRUE(recorded.contains(code));
        EXPECT_LE(std::abs(count - recorded.at(code)), recorded.at(code) * 2 / 100);
        total += list.GetCount();

        const auto& allowed = AllowedZones().at(code);
        std::set<std::string> zips;
        std::string previousZip = "99999";  // the list runs back to front: zips descend
        for (const CTimeZoneData& r : list) {
            EXPECT_EQ(r.m_strState, code) << r.m_strZipCode;
            EXPECT_TRUE(IsZip(r.m_strZipCode)) << r.m_strZipCode;
            EXPECT_TRUE(zips.insert(r.m_strZipCode).second) << "twice: " << r.m_strZipCode;
            EXPECT_LT(r.m_strZipCode, previousZip);
            previousZip = r.m_strZipCode;
            EXPECT_FALSE(r.m_strCity.empty()) << r.m_strZipCode;
            EXPECT_FALSE(r.m_strCounty.empty()) << r.m_strZipCode;
            EXPECT_NE(r.m_dLatitude, 0.0) << r.m_strZipCode;
            EXPECT_NE(r.m_dLongitude, 0.0) << r.m_strZipCode;
            EXPECT_TRUE(r.m_dLatitude > -20 && r.m_dLatitude < 72) << r.m_strZipCode;
            EXPECT_TRUE(r.m_dLongitude >= -180 && r.m_dLongitude <= 180) << r.m_strZipCode;
            EXPECT_TRUE(allowed.contains({r.m_nTimeZone, r.m_strDST}))
                << r.m_strZipCode << " " << r.m_nTimeZone << " " << r.m_strDST;
        }
    }
    EXPECT_GT(total, 40000u);
    EXPECT_LT(total, 42500u);
}

TEST(StateArchives, KnownPlacesComeOutRight) {
    struct Place {
        const char* state;
        const char* zip;
        const char* city;  // nullptr: not checked
        const char* county;
        const char* countyCode;
        int offset;
        const char* dst;
    };
    // Names are Windows-1252 bytes as the archives hold them.
    const Place places[] = {
        {"TX", "78572", "Mission", "Hidalgo", "215", 6, "Y"},
        {"IL", "60601", "Chicago", "Cook", nullptr, 6, "Y"},
        {"AZ", "85004", "Phoenix", nullptr, nullptr, 7, "N"},
        {"AZ", "86515", "Window Rock", nullptr, nullptr, 7, "Y"},
        {"AZ", "86040", "Page", nullptr, nullptr, 7, "N"},
        {"HI", "96813", "Honolulu", nullptr, nullptr, 10, "N"},
        {"TX", "79901", "El Paso", nullptr, nullptr, 7, "Y"},
        {"TX", "79851", "Sierra Blanca", nullptr, nullptr, 7, "Y"},
        {"IN", "46402", "Gary", nullptr, nullptr, 6, "Y"},
        {"IN", "47708", "Evansville", nullptr, nullptr, 6, "Y"},
        {"IN", "46204", "Indianapolis", nullptr, nullptr, 5, "Y"},
        {"KY", "42101", "Bowling Green", nullptr, nullptr, 6, "Y"},
        {"FL", "32501", "Pensacola", nullptr, nullptr, 6, "Y"},
        {"ND", "58601", "Dickinson", nullptr, nullptr, 7, "Y"},
        {"SD", "57701", "Rapid City", nullptr, nullptr, 7, "Y"},
        {"KS", "67735", "Goodland", nullptr, nullptr, 7, "Y"},
        {"ID", "83814", "Coeur d'Alene", nullptr, nullptr, 8, "Y"},
        {"OR", "97914", "Ontario", "Malheur", nullptr, 7, "Y"},
        {"MI", "49858", "Menominee", nullptr, nullptr, 6, "Y"},
        {"NV", "89883", "West Wendover", nullptr, nullptr, 7, "Y"},
        {"SD", "57521", "Belvidere", "Jackson", nullptr, 7, "Y"},
        {"ID", "83671", "Warren", "Idaho", nullptr, 7, "Y"},
        {"IN", "46968", "Ora", "Starke", nullptr, 6, "Y"},
        {"CA", "92222", "Bard", "Imperial", nullptr, 8, "Y"},
        {"AK", "99926", "Metlakatla", nullptr, nullptr, 9, "Y"},
        {"AK", "99546", "Adak", nullptr, nullptr, 10, "Y"},
        {"GU", "96910", "Hagatna", "Guam", nullptr, -10, "N"},
        {"PR", "00901", "San Juan", "San Juan Municipio", "127", 4, "N"},
        {"PR", "00680",
         "Mayag\xFC"
         "ez",
         "Mayag\xFC"
         "ez Municipio",
         nullptr, 4, "N"},
        {"NM", "88001", "Las Cruces",
         "Do\xF1"
         "a Ana",
         nullptr, 7, "Y"},
        {"CT", "06103", "Hartford", "Capitol Planning Region", "110", 5, "Y"},
        // Mended against the Census: zones, counties and names in the Census's style.
        {"HI", "96898", "Wake Island", "Wake Island", "", -12, "N"},
        {"ID", "83542", "Lucile", "Idaho", nullptr, 8, "Y"},
        {"FL", "33112", "Miami", "Miami-Dade", "086", 5, "Y"},
        {"AL", "36421", "Andalusia", "Covington", "039", 6, "Y"},
        {"NV", "89044", "Henderson", "Clark", "003", 8, "Y"},
        {"NM", "87034", "Pueblo of Acoma", "Cibola", "006", 7, "Y"},
        {"AK", "99689", "Yakutat", "Yakutat City and Borough", "282", 9, "Y"},
        {"OK", "73039", "Davis", "Murray", "099", 6, "Y"},
        {"HI", "96742", "Kalaupapa", "Kalawao", "005", 10, "N"},
        {"CA", "94972", "Valley Ford", "Sonoma", "097", 8, "Y"},
        {"AK", "99559", "Bethel", "Bethel Census Area", nullptr, 9, "Y"},
        {"AK", "99576", "Dillingham", "Dillingham Census Area", nullptr, 9, "Y"},
        {"VA", "23219", "Richmond", "Richmond city", "760", 5, "Y"},
        {"VA", "20110", "Manassas", "Manassas city", "683", 5, "Y"},
        {"LA", "70112", "New Orleans", "Orleans Parish", "071", 6, "Y"},
        {"NY", "10520", "Croton on Hudson", nullptr, nullptr, 5, "Y"},
        {"PA", "19406", "King of Prussia", nullptr, nullptr, 5, "Y"},
        {"WY", "82005", "F. E. Warren AFB", "Laramie", nullptr, 7, "Y"},
        {"FM", "96943", "Yap", "Yap", "", -10, "N"},
        {"FM", "96944", "Kosrae", "Kosrae", "", -11, "N"},
        {"PW", "96940", "Koror", "Palau", "", -9, "N"},
        {"PW", "96939", "Ngerulmud", "Palau", "", -9, "N"},
        {"AL", "36867", "Phenix City", "Russell", nullptr, 5, "Y"},
        {"AK", "99923", "Hyder", nullptr, nullptr, 9, "Y"},
        {"OK", "73946", "Kenton", nullptr, nullptr, 6, "Y"},
        {"CA", "92248", "La Quinta", "Riverside", "065", 8, "Y"},
        {"VA", "24023", "Roanoke", "Roanoke city", "770", 5, "Y"},
        {"WI", "54927", "Butte des Morts", nullptr, nullptr, 6, "Y"},
        {"LA", "70082", "Pointe a la Hache", nullptr, nullptr, 6, "Y"},
        {"MH", "96960", "Majuro", nullptr, nullptr, -12, "N"},
        {"AS", "96799", "Pago Pago", nullptr, nullptr, 11, "N"},
        {"VI", "00820", "Christiansted", nullptr, nullptr, 4, "N"},
        {"MP", "96950", "Saipan", nullptr, nullptr, -10, "N"},
    };
    for (const Place& p : places) {
        SCOPED_TRACE(std::string(p.state) + " " + p.zip);
        const std::optional<CTimeZoneData> r = FindPlace(p.state, p.zip);
        ASSERT_TRUE(r.has_value());
        if (p.city) {
            EXPECT_EQ(r->m_strCity, p.city);
        }
        if (p.county) {
            EXPECT_EQ(r->m_strCounty, p.county);
        }
        if (p.countyCode) {
            EXPECT_EQ(r->m_strCountyCode, p.countyCode);
        }
        EXPECT_EQ(r->m_nTimeZone, p.offset);
        EXPECT_EQ(r->m_strDST, p.dst);
        EXPECT_TRUE(r->m_strAreaCode.empty());
    }
}

// Records whose source point lay far from the place, with the place's Census centre.
TEST(StateArchives, MendedPointsLieAtTheirPlaces) {
    const struct {
        const char* state;
        const char* zip;
        double lat, lon;
    } places[] = {
        {"AK", "99505", 61.28, -149.70},
        {"AK", "99506", 61.27, -149.81},
        {"CO", "80840", 39.00, -104.86},
        {"CO", "80841", 39.00, -104.86},
        {"ID", "83648", 43.05, -115.87},
        {"KS", "66040", 38.36, -94.74},
        {"TN", "37362", 35.03, -84.68},
        {"CA", "95923", 40.18, -121.14},
        {"CA", "96103", 39.78, -120.67},
        {"AZ", "86028", 35.03, -109.82},
        {"AZ", "86502", 35.14, -109.61},
        {"AZ", "86544", 36.54, -109.14},
        {"AK", "99565", 56.30, -158.50},
        {"AK", "99726", 66.76, -151.41},
        {"AZ", "86443", 35.95, -114.44},
        // Zips without a Census area, at their town.
        {"CA", "92143", 32.56, -117.05},
        {"HI", "96745", 19.64, -156.00},
        {"IL", "60011", 42.15, -88.14},
        {"OH", "44181", 41.50, -81.70},
        {"WI", "53401", 42.73, -87.78},
        {"AS", "96799", -14.28, -170.70},
    };
    for (const auto& p : places) {
        SCOPED_TRACE(std::string(p.state) + " " + p.zip);
        const std::optional<CTimeZoneData> r = FindPlace(p.state, p.zip);
        ASSERT_TRUE(r.has_value());
        EXPECT_LT(Kilometres(r->m_dLatitude, r->m_dLongitude, p.lat, p.lon), 5.0);
    }
    // 72643 "Lead Hill, MO" was an Arkansas zip filed under Missouri; Lead Hill AR is 72644.
    EXPECT_FALSE(FindPlace("MO", "72643").has_value());
    EXPECT_TRUE(FindPlace("AR", "72644").has_value());
}

// Every record with a Census centre (ZCTA) lies within 50 km of it, or is listed with the reason
// it keeps its point; the list names no record that is not far.
TEST(StateArchives, NoRecordLiesFarFromItsCensusCentreUnlessListed) {
    constexpr double kLimitKm = 50;
    std::map<std::string, std::pair<double, double>> centres;
    for (const auto& row : ReadTable(DAYBREAK_CENSUS_CENTRES)) {
        ASSERT_EQ(row.size(), 3u);
        centres[row[0]] = {std::stod(row[1]), std::stod(row[2])};
    }
    ASSERT_GT(centres.size(), 30000u);
    std::map<std::string, std::string> listed;
    for (const auto& row : ReadTable(DAYBREAK_FAR_FROM_CENTRE)) {
        ASSERT_EQ(row.size(), 2u) << row.front();
        EXPECT_GE(row[1].size(), 20u) << "no reason given for " << row[0];
        listed[row[0]] = row[1];
    }

    std::set<std::string> far;
    std::size_t checked = 0;
    for (const CStateRow& state : g_StateTable) {
        for (const CTimeZoneData& r : Load(std::string(state.code))) {
            const auto centre = centres.find(r.m_strZipCode);
            if (centre == centres.end()) {
                continue;
            }
            ++checked;
            const double km = Kilometres(r.m_dLatitude, r.m_dLongitude, centre->second.first,
                                         centre->second.second);
            if (km > kLimitKm) {
                far.insert(r.m_strZipCode);
                EXPECT_TRUE(listed.contains(r.m_strZipCode))
                    << r.m_strZipCode << " " << r.m_strCity << " lies " << km
                    << " km from its Census centre";
            }
        }
    }
    EXPECT_GT(checked, 30000u);
    for (const auto& [zip, reason] : listed) {
        EXPECT_TRUE(far.contains(zip)) << zip << " is listed but lies within " << kLimitKm << " km";
    }
}

// The zone file packed beside the archives names a zone for every place, and the right one
// where the answer is known.
TEST(StateArchives, EveryPlaceHasItsZoneInTheZoneFile) {
    std::size_t places = 0;
    for (const CStateRow& state : g_StateTable) {
        const std::string code(state.code);
        SCOPED_TRACE(code);
        const CZoneTable zones = CZoneTable::Load(code, DAYBREAK_ARCHIVE_DIR);
        ASSERT_TRUE(zones.IsKnown()) << zones.Problem();
        const CTimeZoneList list = Load(code);
        EXPECT_EQ(zones.Size(), list.GetCount());
        for (const CTimeZoneData& r : list) {
            EXPECT_TRUE(zones.Find(r.m_strZipCode).has_value()) << r.m_strZipCode;
            ++places;
        }
    }
    EXPECT_GT(places, 40000u);

    const struct {
        const char* state;
        const char* zip;
        const char* zone;
    } known[] = {
        {"IL", "60601", "America/Chicago"},
        {"IN", "46204", "America/Indiana/Indianapolis"},
        {"IN", "46402", "America/Chicago"},
        {"KY", "40202", "America/Kentucky/Louisville"},
        {"AZ", "85004", "America/Phoenix"},
        {"AZ", "86515", "America/Denver"},   // Window Rock, Navajo Nation
        {"AZ", "86040", "America/Phoenix"},  // Page
        {"OR", "97914", "America/Boise"},    // Ontario
        {"ID", "83542", "America/Los_Angeles"},
        {"AL", "36867", "America/New_York"},  // Phenix City: Eastern, as its people keep
        {"HI", "96813", "Pacific/Honolulu"},
        {"HI", "96898", "Pacific/Wake"},
        {"AK", "99546", "America/Adak"},
        {"AK", "99926", "America/Metlakatla"},
        {"GU", "96910", "Pacific/Guam"},
        {"AS", "96799", "Pacific/Pago_Pago"},
        {"MH", "96960", "Pacific/Majuro"},
        {"FM", "96944", "Pacific/Kosrae"},
        {"PR", "00901", "America/Puerto_Rico"},
    };
    for (const auto& k : known) {
        EXPECT_EQ(CZoneTable::Load(k.state, DAYBREAK_ARCHIVE_DIR).Find(k.zip), k.zone)
            << k.state << " " << k.zip;
    }
}
