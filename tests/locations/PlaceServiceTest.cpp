// The place service both programs use: states by code or name, the first-in-file lookups, a
// record turned into engine inputs, folded names and the nationwide index.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>

#include "ArchiveBuilder.h"
#include "ErrorReporter.h"
#include "Exception.h"
#include "PlaceFinder.h"
#include "PlaceIndex.h"
#include "PlaceName.h"
#include "PlaceNamesFile.h"
#include "PlaceService.h"
#include "TempDir.h"
#include "ZoneFile.h"

namespace {

class CFailOnError : public IErrorReporter {
public:
    void ReportError(const CException& error) override { ADD_FAILURE() << error.GetErrorMessage(); }
};

CTimeZone At(std::string city, std::string zip, double lon, std::string dst = "Y") {
    CTimeZone record = MakeRecord(std::move(city), std::move(zip));
    record.m_dLongitude = lon;
    record.m_strDST = std::move(dst);
    return record;
}

// TX and MO archives, and a zone file for TX only.
class PlaceServiceTest : public ::testing::Test {
protected:
    void SetUp() override {
        WriteFile(m_dir.path() / "timezone.arc.TX",
                  Encode({At("Mission", "78572", -98.35), At("Palmview", "78572", -98.38),
                          At("Mission", "78573", -98.3), At("Zero", "78000", 0.0, "N")}));
        WriteFile(m_dir.path() / "timezone.arc.MO",
                  Encode({At("Saint Louis", "63101", -90.19), At("St. Louis", "63199", -90.2),
                          At("A\xF1"
                             "asco",
                             "78000", -90.0)}));
        std::ofstream(m_dir.path() / kZoneFileName, std::ios::binary) << EncodeZoneFile(
            {{"TX", "78000", "America/Chicago"}, {"TX", "78572", "America/Chicago"}});
    }
    CTimeZoneList Load(const std::string& code) {
        CTimeZoneList list;
        CNullArchiveSink sink;
        CFailOnError reporter;
        m_places.LoadState(code, list, sink, reporter);
        return list;
    }

    TempDir m_dir;
    CPlaceService m_places{m_dir.path()};
};

}  // namespace

TEST(PlaceService, StatesByCodeOrNameInAnyCaseAndByWhatIsTyped) {
    EXPECT_EQ(CPlaceService::StateFromText("tx")->name, "Texas");
    EXPECT_EQ(CPlaceService::StateFromText("district of columbia")->code, "DC");
    EXPECT_FALSE(CPlaceService::StateFromText("Tex"));
    EXPECT_EQ(CPlaceService::StateFromTyped("TX")->name, "Texas");
    EXPECT_EQ(CPlaceService::StateFromTyped("ne")->name, "Nebraska");  // the code before "New ..."
    EXPECT_EQ(CPlaceService::StateFromTyped("new m")->name, "New Mexico");
    EXPECT_EQ(CPlaceService::StateFromTyped("Pal")->code, "PW");
    EXPECT_FALSE(CPlaceService::StateFromTyped(""));
    EXPECT_FALSE(CPlaceService::StateFromTyped("Xy"));
    EXPECT_EQ(CPlaceService::StateCodeFromName("Texas"), "TX");
    EXPECT_EQ(CPlaceService::StateCodeFromName("texas"), "");
}

TEST_F(PlaceServiceTest, LookupsTakeTheFirstRecordInTheFileAndListsKeepTheWindowsOrder) {
    const CTimeZoneList list = Load("TX");
    EXPECT_EQ(CPlaceService::FindByZip(list, "78572")->m_strCity, "Mission");
    EXPECT_EQ(CPlaceService::FindByCityEntry(list, "Palmview - 78572")->m_strCity, "Palmview");
    const auto named = CPlaceService::FindByCityName(list, "Mission");
    ASSERT_EQ(named.size(), 2u);
    EXPECT_EQ(named[0].m_strZipCode, "78572");
    EXPECT_EQ(named[1].m_strZipCode, "78573");
    EXPECT_EQ(CPlaceService::ZipEntries(list),
              (std::vector<std::string>{"78000", "78572", "78572", "78573"}));
    EXPECT_EQ(CPlaceService::CityEntries(list).front(), "Mission - 78572");
}

TEST_F(PlaceServiceTest, RecordBecomesEngineInputsWithItsZoneWhenKnown) {
    const CTimeZoneList tx = Load("TX");
    const CPlace mission = m_places.MakePlace("TX", *CPlaceService::FindByZip(tx, "78572"));
    EXPECT_DOUBLE_EQ(mission.longitude, 98.35);  // west positive
    EXPECT_EQ(mission.offset, 6.0f);
    EXPECT_TRUE(mission.observesDst);
    EXPECT_EQ(mission.zone, "America/Chicago");
    // A record on the Greenwich meridian gives +0, which prints "0", never "-0".
    const CPlace zero = m_places.MakePlace("TX", *CPlaceService::FindByZip(tx, "78000"));
    EXPECT_FALSE(std::signbit(zero.longitude));
    EXPECT_FALSE(zero.observesDst);
    // No zone for a state the file lacks.
    const CTimeZoneList mo = Load("MO");
    EXPECT_EQ(m_places.MakePlace("MO", *CPlaceService::FindByZip(mo, "63101")).zone, std::nullopt);
}

TEST_F(PlaceServiceTest, ZipNationwideFindsEveryStateThatHasIt) {
    const auto one = m_places.FindZipNationwide("78573");
    ASSERT_EQ(one.size(), 1u);
    EXPECT_EQ(one[0].state, "TX");
    // 78000 is in both archives, but the zone file names TX alone: only TX is opened.
    const auto two = m_places.FindZipNationwide("78000");
    ASSERT_EQ(two.size(), 1u);
    EXPECT_EQ(two[0].record.m_strCity, "Zero");
    EXPECT_EQ(m_places.FindZipNationwide("63199").at(0).state, "MO");  // not in the zone file
    EXPECT_TRUE(m_places.FindZipNationwide("99999").empty());
}

TEST(PlaceName, FoldsCaseAccentsPunctuationSpacingAndAbbreviations) {
    const struct {
        const char* name;
        const char* key;
    } rows[] = {
        {"A\xF1"
         "asco",
         "anasco"},
        {"St. Louis", "saint louis"},
        {"  SAINT   louis ", "saint louis"},
        {"O'Fallon", "ofallon"},
        {"Winston-Salem", "winston salem"},
        {"Ft Worth", "fort worth"},
        {"\xC6"
         "bel\xDF",
         "aebelss"},
        {"...", ""},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(PlaceNameKey(row.name), row.key) << row.name;
    }
    EXPECT_EQ(EditDistance("mision", "mission", 2), 1u);
    EXPECT_EQ(EditDistance("kitten", "sitting", 5), 3u);
    EXPECT_EQ(EditDistance("a", "abcdef", 2), 3u);  // past the limit: limit + 1
    EXPECT_TRUE(StartsWithIgnoringCase("Alabama - 36101", "aLA"));
    EXPECT_TRUE(StartsWithIgnoringCase("Texas", ""));
    EXPECT_FALSE(StartsWithIgnoringCase("Tex", "Texas"));
    EXPECT_FALSE(StartsWithIgnoringCase("A\xF1", "A\xD1"));  // only ASCII letters fold
    EXPECT_FALSE(EqualsIgnoringCase("Texas", "tex"));
}

TEST_F(PlaceServiceTest, IndexFindsFoldedNamesZipsAndNearNames) {
    const CPlaceIndex& index = m_places.Index();
    ASSERT_EQ(index.Size(), 7u);
    EXPECT_TRUE(index.Problems().size() > 50);  // the states without an archive here
    const auto louis = index.FindCity(PlaceNameKey("st louis"));
    ASSERT_EQ(louis.size(), 2u);
    EXPECT_EQ(index[louis[0]].record.m_strZipCode, "63101");
    EXPECT_EQ(index[louis[1]].record.m_strZipCode, "63199");
    EXPECT_TRUE(index.FindCity("mission", "MO").empty());
    EXPECT_EQ(index.FindZip("78000").size(), 2u);

    std::size_t total = 0;
    const auto typed = index.Search("785", 2, &total);
    EXPECT_EQ(total, 3u);
    ASSERT_EQ(typed.size(), 2u);
    EXPECT_EQ(index[typed[0]].record.m_strCity, "Mission");
    EXPECT_EQ(index[index.Search("ANAS", 5).at(0)].state, "MO");
    EXPECT_TRUE(index.Search("-", 5).empty());

    EXPECT_EQ(index.Suggest("misson", 5), (std::vector<std::string>{"Mission"}));
    EXPECT_TRUE(index.Suggest("misson", 5, "MO").empty());
}

// With the names file beside every archive, the finder comes from it and a chosen town's
// record from its state's archive alone: the other archives are not read (MO, removed after the
// finder was read, is missed only by the index built afterwards), and each state is read once.
TEST_F(PlaceServiceTest, NamesFileFinderReadsOnlyTheChosenStatesArchive) {
    for (const CStateRow& row : g_StateTable) {
        if (row.code != "TX" && row.code != "MO") {
            WriteFile(m_dir.path() / StateArchiveFileName(std::string(row.code)),
                      Encode({At("Elsewhere", "99999", -100.0)}));
        }
    }
    const CPlaceFinder built = CPlaceFinder::Build(CPlaceIndex::Build(m_dir.path()), {});
    std::ofstream(m_dir.path() / kPlaceNamesFileName, std::ios::binary)
        << CPlaceNamesFile::Encode(built, CPlaceService::ArchiveSizes(m_dir.path()), 0);

    CPlaceService places(m_dir.path());
    const std::vector<CFoundPlace> found = places.Finder().Find("mission, tx", 1);
    ASSERT_EQ(found.size(), 1u);
    ASSERT_EQ(found.front().zips.size(), 2u);
    std::filesystem::remove(m_dir.path() / "timezone.arc.MO");
    for (const std::size_t zip : found.front().zips) {
        EXPECT_EQ(places.RecordAt(zip, "TX").m_strCity, "Mission");
    }
    EXPECT_EQ(places.RecordAt(found.front().zips.back(), "TX").m_strZipCode, "78573");
    EXPECT_EQ(places.Index().Problems().size(), 1u);
}
