// The main dialog's logic driven through a window of plain containers, over small archives
// written by the tests.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "ArchiveBuilder.h"
#include "DaybreakDlg.h"
#include "FakeWindow.h"
#include "PlaceArchive.h"
#include "Resource.h"
#include "StateTable.h"
#include "TempDir.h"
#include "TimeZoneList.h"
#include "ZoneFile.h"

namespace fs = std::filesystem;

namespace {

class DaybreakDlgTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_TimeZoneList.RemoveAll();
        WriteArchive(m_dir.path() / "timezone.arc.TX",
                     {
                         {"Mission", "TX", "78572", "Hidalgo", "Y", 26.21466, -98.35164, 6},
                         {"Alamo", "TX", "78516", "Hidalgo", "Y", 26.18, -98.12, 6},
                         {"McAllen", "TX", "78572", "Other County", "Y", 26.2, -98.23, 6},
                         {"Sierra Blanca", "TX", "79851", "Hudspeth", "Y", 31.17, -105.35, 7},
                     });
        WriteArchive(m_dir.path() / "timezone.arc.AZ",
                     {
                         {"Phoenix", "AZ", "85004", "Maricopa", "N", 33.45, -112.07, 7},
                         {"Window Rock", "AZ", "86515", "Apache", "Y", 35.68, -109.05, 7},
                     });
        WriteArchive(m_dir.path() / "timezone.arc.MP",
                     {{"Saipan", "MP", "96950", "Saipan", "N", 15.18, 145.75, -10}});
        WriteArchive(m_dir.path() / "timezone.arc.PW",
                     {{"Koror", "PW", "96940", "Palau", "N", 7.34, 134.47, -9}});
        WriteArchive(m_dir.path() / "timezone.arc.FM",
                     {{"Kolonia", "FM", "96941", "Pohnpei", "N", 6.96, 158.21, -11}});
        m_dlg.SetArchiveDirectory(m_dir.path());
        m_window.date = *CTime::FromLocal(2007, 6, 21, 9, 30, 0);
        m_dlg.m_date = m_window.date;
        m_dlg.OnInitDialog();
    }
    void TearDown() override { g_TimeZoneList.RemoveAll(); }

    void ChooseState(const std::string& name) {
        ASSERT_TRUE(m_window.stateCombo.Choose(name)) << name;
        m_dlg.OnSelchangeState();
    }
    void ChooseZip(const std::string& zip) {
        ASSERT_TRUE(m_window.zipCombo.Choose(zip)) << zip;
        m_dlg.OnSelchangeZip();
    }
    void ChooseCity(const std::string& entry) {
        ASSERT_TRUE(m_window.cityCombo.Choose(entry)) << entry;
        m_dlg.OnSelchangeCity();
    }
    // The user types a place.
    void Type(double latitude, double longitude, double offset) {
        m_window.numbers[IDC_LATITUDE] = latitude;
        m_window.numbers[IDC_LONGITUDE] = longitude;
        m_window.numbers[IDC_TIMEZONE_OFFSET] = offset;
    }
    double Shown(int id) { return m_window.numbers[id].value_or(NAN); }
    const std::string& ShownText(int id) { return m_window.texts[id]; }
    bool PlaceAndResultsCleared() {
        return Shown(IDC_LATITUDE) == 0.0 && Shown(IDC_LONGITUDE) == 0.0 &&
               Shown(IDC_TIMEZONE_OFFSET) == 0.0 && ShownText(IDC_SUNRISE).empty() &&
               ShownText(IDC_SUNSET).empty() && ShownText(IDC_SOLAR_NOON).empty() &&
               ShownText(IDC_CITY_NAME).empty() && ShownText(IDC_COUNTY_NAME).empty();
    }

    TempDir m_dir;
    FakeWindow m_window;
    CDaybreakDlg m_dlg{m_window};
};

TEST_F(DaybreakDlgTest, StartStateShowsZerosEmptyResultsAndAllStatesInOrder) {
    EXPECT_TRUE(PlaceAndResultsCleared());
    EXPECT_EQ(m_window.dst.check, 0);
    EXPECT_TRUE(m_window.dst.enabled);
    EXPECT_EQ(m_window.helpLink.color, 0x0000FFu);
    ASSERT_EQ(m_window.stateCombo.items.size(), 59u);
    for (std::size_t i = 0; i < g_StateTable.size(); ++i) {
        EXPECT_EQ(m_window.stateCombo.items[i], g_StateTable[i].name);
    }
    EXPECT_EQ(m_window.stateCombo.selection, -1);
    EXPECT_TRUE(m_window.zipCombo.items.empty());
    EXPECT_TRUE(m_window.cityCombo.items.empty());
    // Nothing entered: Calculate changes nothing.
    m_dlg.OnCalculate();
    EXPECT_TRUE(PlaceAndResultsCleared());
    EXPECT_TRUE(m_window.errors.empty());
}

TEST(StateTable, CodesAreNotFormedFromTheNames) {
    const struct {
        const char* name;
        const char* code;
    } rows[] = {
        {"Texas", "TX"},
        {"Northern Mariana Islands", "MP"},
        {"Palau", "PW"},
        {"Federated States Of Micronesia", "FM"},
        {"District Of Columbia", "DC"},
        {"Wyoming", "WY"},
        {"Federated States of Micronesia", ""},  // names match exactly, case included
        {"Texas ", ""},
        {"", ""},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(CDaybreakDlg::StateCodeFromName(row.name), row.code) << row.name;
    }
}

TEST_F(DaybreakDlgTest, ChoosingAStateLoadsItsArchiveByCode) {
    const struct {
        const char* name;
        std::vector<std::string> zips;
    } rows[] = {
        {"Texas", {"78516", "78572", "78572", "79851"}},
        {"Northern Mariana Islands", {"96950"}},
        {"Palau", {"96940"}},
        // The longest name is read back whole.
        {"Federated States Of Micronesia", {"96941"}},
    };
    for (const auto& row : rows) {
        ChooseState(row.name);
        EXPECT_EQ(m_window.zipCombo.items, row.zips) << row.name;
        EXPECT_EQ(m_window.cityCombo.items.size(), row.zips.size());
        EXPECT_EQ(g_TimeZoneList.GetCount(), row.zips.size());
        EXPECT_EQ(m_window.zipCombo.selection, -1);
        EXPECT_EQ(m_window.cityCombo.selection, -1);
    }
    ChooseState("Texas");
    EXPECT_EQ(m_window.cityCombo.items,
              (std::vector<std::string>{"Alamo - 78516", "McAllen - 78572", "Mission - 78572",
                                        "Sierra Blanca - 79851"}));
    EXPECT_TRUE(m_window.errors.empty());
}

TEST_F(DaybreakDlgTest, ZipChoiceFillsThePlaceAndTheFirstRecordOfASharedZipWins) {
    ChooseState("Texas");
    m_window.dst.check = 1;
    ChooseZip("78572");
    EXPECT_DOUBLE_EQ(Shown(IDC_LATITUDE), 26.21466);
    EXPECT_DOUBLE_EQ(Shown(IDC_LONGITUDE), 98.35164);  // west positive
    EXPECT_EQ(Shown(IDC_TIMEZONE_OFFSET), 6.0);
    EXPECT_EQ(ShownText(IDC_CITY_NAME), "Mission");  // first in the file, not McAllen
    EXPECT_EQ(ShownText(IDC_COUNTY_NAME), "Hidalgo");
    EXPECT_EQ(m_window.dst.check, 1);
    EXPECT_EQ(ShownText(IDC_SUNRISE).rfind("Thursday, June 21, 2007,  ", 0), 0u)
        << ShownText(IDC_SUNRISE);
    EXPECT_FALSE(ShownText(IDC_SUNSET).empty());
    EXPECT_FALSE(ShownText(IDC_SOLAR_NOON).empty());
    // The city list was rebuilt with nothing chosen.
    EXPECT_EQ(m_window.cityCombo.items.size(), 4u);
    EXPECT_EQ(m_window.cityCombo.selection, -1);

    ChooseCity("Sierra Blanca - 79851");
    EXPECT_EQ(ShownText(IDC_CITY_NAME), "Sierra Blanca");
    EXPECT_EQ(ShownText(IDC_COUNTY_NAME), "Hudspeth");
    EXPECT_EQ(Shown(IDC_TIMEZONE_OFFSET), 7.0);
    EXPECT_EQ(m_window.zipCombo.items.size(), 4u);
    EXPECT_EQ(m_window.zipCombo.selection, -1);

    // The second of two records with the same zip code is reached through its city entry.
    ChooseCity("McAllen - 78572");
    EXPECT_EQ(ShownText(IDC_COUNTY_NAME), "Other County");
}

// The places chosen from the lists, newest first and each once; choosing one again selects
// its state and city entry as the user did, the very record of a shared zip included.
TEST_F(DaybreakDlgTest, RecentPlacesKeepTheLastChoicesAndRestoreThem) {
    ChooseState("Texas");
    ChooseZip("78572");
    ChooseCity("McAllen - 78572");
    ChooseState("Arizona");
    ChooseZip("85004");
    using Places = std::vector<CRecentPlace>;
    EXPECT_EQ(
        m_dlg.RecentPlaces(),
        (Places{{"AZ", "Phoenix - 85004"}, {"TX", "McAllen - 78572"}, {"TX", "Mission - 78572"}}));
    EXPECT_EQ(m_window.recentPlaces, m_dlg.RecentPlaces());

    m_dlg.OnRecentPlace(1);
    EXPECT_EQ(ShownText(IDC_COUNTY_NAME), "Other County");
    EXPECT_EQ(m_window.stateCombo.GetLBText(m_window.stateCombo.selection), "Texas");
    EXPECT_EQ(m_dlg.RecentPlaces().front(), (CRecentPlace{"TX", "McAllen - 78572"}));

    Places many;
    for (int i = 0; i < 12; ++i) {
        many.push_back({"TX", "Alamo - 785" + std::to_string(10 + i)});
    }
    m_dlg.SetRecentPlaces(many);
    EXPECT_EQ(m_dlg.RecentPlaces().size(), CDaybreakDlg::kRecentPlaces);
    m_dlg.OnRecentPlace(3);  // a place the archive no longer has
    EXPECT_EQ(m_window.errors.size(), 1u);
}

TEST_F(DaybreakDlgTest, ReloadingTheSameStateClearsThePlaceAndRebuildsTheLists) {
    ChooseState("Texas");
    m_window.dst.check = 1;
    ChooseZip("79851");
    ASSERT_FALSE(ShownText(IDC_SUNRISE).empty());
    ChooseState("Texas");
    EXPECT_TRUE(PlaceAndResultsCleared());
    EXPECT_EQ(m_window.dst.check, 0);
    EXPECT_EQ(m_window.zipCombo.items.size(), 4u);
    EXPECT_EQ(m_window.zipCombo.selection, -1);
    EXPECT_EQ(g_TimeZoneList.GetCount(), 4u);  // not 8: the list never mixes two loads
}

TEST_F(DaybreakDlgTest, StandardTimePlaceDisablesAndUnticksDaylightSaving) {
    ChooseState("Arizona");
    m_window.dst.check = 1;
    ChooseZip("86515");  // "Y"
    EXPECT_TRUE(m_window.dst.enabled);
    EXPECT_EQ(m_window.dst.check, 1);
    const std::string withHour = ShownText(IDC_SUNRISE);

    ChooseZip("85004");  // "N": no hour added, and no check mark left in a disabled box
    EXPECT_FALSE(m_window.dst.enabled);
    EXPECT_EQ(m_window.dst.check, 0);
    EXPECT_EQ(m_dlg.m_dst, 0);
    EXPECT_EQ(ShownText(IDC_SUNRISE), "Thursday, June 21, 2007,  05:19:01")
        << "Phoenix sunrise on standard time";

    // A state change clears the mark but leaves the box disabled.
    ChooseState("Arizona");
    EXPECT_FALSE(m_window.dst.enabled);

    // A "Y" place enables it again and leaves the mark as the user set it.
    ChooseZip("86515");
    EXPECT_TRUE(m_window.dst.enabled);
    EXPECT_EQ(m_window.dst.check, 0);
    m_window.dst.check = 1;
    m_dlg.OnCalculate();
    EXPECT_EQ(ShownText(IDC_SUNRISE), withHour);
}

TEST_F(DaybreakDlgTest, CalculateShowsTheThreeResultsAndDaylightSavingMovesThemAnHour) {
    Type(41.88, 87.63, 6);
    m_window.dst.check = 1;
    m_dlg.OnCalculate();
    EXPECT_EQ(ShownText(IDC_SUNRISE), "Thursday, June 21, 2007,  05:15:47");
    EXPECT_EQ(ShownText(IDC_SUNSET), "Thursday, June 21, 2007,  20:28:08");
    EXPECT_EQ(ShownText(IDC_SOLAR_NOON), "Thursday, June 21, 2007,  12:51:50");

    m_window.dst.check = 0;  // unticking is a click on the box: the same handler
    m_dlg.OnCalculate();
    EXPECT_EQ(ShownText(IDC_SUNRISE), "Thursday, June 21, 2007,  04:15:47");

    // A date change recomputes at once.
    m_window.date = *CTime::FromLocal(2007, 1, 1, 9, 30, 0);
    m_dlg.OnDateTimeChange();
    EXPECT_EQ(ShownText(IDC_SUNRISE), "Monday, January 01, 2007,  07:17:14");
    EXPECT_EQ(ShownText(IDC_SUNSET), "Monday, January 01, 2007,  16:29:36");
    EXPECT_EQ(ShownText(IDC_SOLAR_NOON), "Monday, January 01, 2007,  11:53:25");
    EXPECT_EQ(m_window.date.GetHour(), 9);  // the picker keeps its time of day
}

TEST_F(DaybreakDlgTest, DaylightSavingFromTheDateSetsTheMarkUntilTheUserChangesIt) {
    {
        std::ofstream zones(m_dir.path() / kZoneFileName, std::ios::binary);
        zones << EncodeZoneFile({{"TX", "78516", "America/Chicago"}});
    }
    m_dlg.OnDstFromDate(true);
    ChooseState("Texas");
    ChooseZip("78516");  // 21 June: daylight time
    EXPECT_EQ(m_window.dst.check, 1);
    const std::string summer = ShownText(IDC_SUNRISE);
    EXPECT_TRUE(m_dlg.YearRequest().fromDate);  // the year window reads each day's clock
    EXPECT_EQ(m_dlg.YearRequest().zoneName, "America/Chicago");

    auto changeDate = [this](int year, int month, int day) {
        m_window.date = *CTime::FromLocal(year, month, day, 9, 30, 0);
        m_dlg.OnDateTimeChange();
    };
    changeDate(2007, 1, 15);
    EXPECT_EQ(m_window.dst.check, 0);
    m_window.dst.check = 1;  // the user's own mark stands until the next date or place
    m_dlg.OnCalculate();
    EXPECT_EQ(m_window.dst.check, 1);
    changeDate(2007, 6, 21);
    EXPECT_EQ(ShownText(IDC_SUNRISE), summer);

    Type(26.18, 98.2, 6);  // typed coordinates stay manual
    changeDate(2007, 1, 15);
    EXPECT_EQ(m_window.dst.check, 1);
    EXPECT_FALSE(m_dlg.YearRequest().fromDate);

    m_dlg.OnDstFromDate(false);  // off: the manual box
    ChooseZip("78516");
    changeDate(2007, 6, 21);
    m_window.dst.check = 0;
    m_dlg.OnCalculate();
    changeDate(2007, 6, 22);
    EXPECT_EQ(m_window.dst.check, 0);
}

TEST_F(DaybreakDlgTest, DaylightSavingFromTheDateSaysOnceWhenTheZoneIsUnknown) {
    m_dlg.OnDstFromDate(true);  // no zone file beside these archives
    ChooseState("Texas");
    ChooseZip("78516");
    ChooseZip("79851");
    ASSERT_EQ(m_window.errors.size(), 1u);
    EXPECT_EQ(m_window.errors[0],
              "The time zone of this place is unknown (timezone.zones is "
              "missing): set Daylight Savings Time by hand.");
    EXPECT_EQ(m_window.dst.check, 0);  // the box stays as the user left it
}

TEST_F(DaybreakDlgTest, ZeroIsARealCoordinateAndAllZeroEmptiesTheResults) {
    const struct {
        double latitude, longitude, offset;
    } places[] = {
        {51.48, 0.0, 0.0},   // Greenwich
        {0.0, 78.5, 5.0},    // the equator
        {0.0, 0.0, 0.0001},  // a hair off the origin still computes
    };
    for (const auto& place : places) {
        m_window.texts[IDC_SUNRISE].clear();
        Type(place.latitude, place.longitude, place.offset);
        m_dlg.OnCalculate();
        EXPECT_FALSE(ShownText(IDC_SUNRISE).empty()) << place.latitude << " " << place.longitude;
        EXPECT_FALSE(ShownText(IDC_SOLAR_NOON).empty());
    }
    Type(51.48, 0.0, 0.0);
    m_dlg.OnCalculate();
    EXPECT_EQ(ShownText(IDC_SOLAR_NOON), "Thursday, June 21, 2007,  12:01:19");
    // Nothing entered: no result of the place before stays on show.
    Type(0.0, 0.0, 0.0);
    m_dlg.OnCalculate();
    EXPECT_TRUE(ShownText(IDC_SUNRISE).empty());
    EXPECT_TRUE(ShownText(IDC_SUNSET).empty());
    EXPECT_TRUE(ShownText(IDC_SOLAR_NOON).empty());
}

TEST_F(DaybreakDlgTest, ClearEmptiesEverythingButTheDateAndTheListOfPlaces) {
    ChooseState("Arizona");
    ChooseZip("85004");
    m_window.dst.check = 1;
    const CTime date = m_window.date;
    m_dlg.OnClear();
    EXPECT_TRUE(PlaceAndResultsCleared());
    EXPECT_EQ(m_window.dst.check, 0);
    EXPECT_FALSE(m_window.dst.enabled);  // whether the box is enabled is left alone
    EXPECT_EQ(m_window.date, date);
    EXPECT_EQ(m_window.stateCombo.items.size(), 59u);
    EXPECT_EQ(m_window.stateCombo.selection, -1);
    EXPECT_TRUE(m_window.zipCombo.items.empty());
    EXPECT_TRUE(m_window.cityCombo.items.empty());
    EXPECT_EQ(g_TimeZoneList.GetCount(), 2u);
    // Nothing entered after Clear: a date change computes nothing.
    m_window.date = *CTime::FromLocal(2007, 7, 4, 9, 30, 0);
    m_dlg.OnDateTimeChange();
    EXPECT_TRUE(ShownText(IDC_SUNRISE).empty());
}

TEST_F(DaybreakDlgTest, LettersInLatitudeLeaveItsPreviousValueAndStopTheExchangeThere) {
    Type(41.88, 87.63, 6);
    m_dlg.OnCalculate();
    const std::string sunrise = ShownText(IDC_SUNRISE);

    m_window.numbers[IDC_LATITUDE] = std::nullopt;  // "abc"
    m_window.numbers[IDC_LONGITUDE] = 10.0;         // read after latitude: never reached
    m_dlg.OnCalculate();
    EXPECT_EQ(m_window.numberMessages, 1);
    EXPECT_EQ(m_window.focus, IDC_LATITUDE);
    EXPECT_DOUBLE_EQ(Shown(IDC_LATITUDE), 41.88);
    EXPECT_DOUBLE_EQ(Shown(IDC_LONGITUDE), 87.63);
    EXPECT_EQ(ShownText(IDC_SUNRISE), sunrise);

    // Enter with a field that does not parse leaves the dialog open; then OK ends it.
    m_window.numbers[IDC_TIMEZONE_OFFSET] = std::nullopt;
    m_dlg.OnOK();
    EXPECT_FALSE(m_window.endResult.has_value());
    EXPECT_EQ(m_window.focus, IDC_TIMEZONE_OFFSET);
    m_window.numbers[IDC_TIMEZONE_OFFSET] = 6.0;
    m_dlg.OnOK();
    EXPECT_EQ(m_window.endResult, IDOK);
}

TEST_F(DaybreakDlgTest, MenuCommandsAndCancelReachTheWindow) {
    m_dlg.OnHelpAbout();
    m_dlg.OnHelpLink();
    EXPECT_EQ(m_window.aboutBoxes, 1);
    EXPECT_EQ(m_window.helpDialogs, 1);
    m_dlg.OnCancel();
    EXPECT_EQ(m_window.endResult, IDCANCEL);
    m_dlg.OnFileExit();
    EXPECT_EQ(m_window.endResult, 0);
}

TEST_F(DaybreakDlgTest, MissingArchiveIsOneErrorAndLeavesEmptyLists) {
    ChooseState("Texas");
    ChooseState("Alabama");
    ASSERT_EQ(m_window.errors.size(), 1u);
    EXPECT_NE(m_window.errors[0].find("timezone.arc.AL"), std::string::npos) << m_window.errors[0];
    EXPECT_TRUE(m_window.zipCombo.items.empty());
    EXPECT_TRUE(m_window.cityCombo.items.empty());
    EXPECT_EQ(g_TimeZoneList.GetCount(), 0u);
    // A zip handler with no place loaded computes nothing and changes nothing.
    Type(41.88, 87.63, 6);
    m_dlg.OnSelchangeZip();
    EXPECT_TRUE(ShownText(IDC_SUNRISE).empty());
}

TEST_F(DaybreakDlgTest, EngineErrorIsReportedAndEndsTheHandlerBeforeAnyWriteBack) {
    Type(41.88, 87.63, 6);
    m_dlg.OnCalculate();
    const std::string sunrise = ShownText(IDC_SUNRISE);
    Type(41.88, 1e300, 6);  // a number, but far beyond any longitude
    m_dlg.OnCalculate();
    ASSERT_EQ(m_window.errors.size(), 1u);
    EXPECT_EQ(m_window.errors[0],
              "Cannot compute: latitude, longitude and offset must be finite numbers");
    EXPECT_EQ(ShownText(IDC_SUNRISE), sunrise);
    EXPECT_EQ(Shown(IDC_LONGITUDE), 1e300);  // the fields keep what the user typed
    EXPECT_EQ(m_dlg.m_sunrise, sunrise);
}

TEST_F(DaybreakDlgTest, RunningOutOfMemoryIsAnErrorBoxAndTheWindowGoesOn) {
    m_window.helpRunsOutOfMemory = true;
    m_dlg.OnHelpLink();
    EXPECT_EQ(m_window.errors, (std::vector<std::string>{"Out of memory."}));
    Type(41.88, 87.63, 6);
    m_dlg.OnCalculate();
    EXPECT_EQ(ShownText(IDC_SUNRISE), "Thursday, June 21, 2007,  04:15:47");
}

// The window computes with any offset it is given, but never shows a year outside 1900-9999.
TEST_F(DaybreakDlgTest, ResultOutsideTheSupportedYearsIsAnErrorNotAStrangeYear) {
    Type(41.88, 87.63, 100);  // far off, yet still within the years: shown as computed
    m_dlg.OnCalculate();
    EXPECT_TRUE(m_window.errors.empty());
    const std::string sunrise = ShownText(IDC_SUNRISE);
    EXPECT_NE(sunrise.find("2007"), std::string::npos) << sunrise;
    Type(41.88, 87.63, 1e9);
    m_dlg.OnCalculate();
    ASSERT_EQ(m_window.errors.size(), 1u);
    EXPECT_EQ(m_window.errors[0],
              "Cannot compute: the result falls outside the years 1900 to 9999");
    EXPECT_EQ(ShownText(IDC_SUNRISE), sunrise);
}

// A place that cannot be computed leaves nothing of the place shown before it.
TEST_F(DaybreakDlgTest, PlaceThatCannotBeComputedClearsThePlaceShownBefore) {
    WriteArchive(m_dir.path() / "timezone.arc.HI",
                 {{"Honolulu", "HI", "96801", "Honolulu", "N", 21.3, -157.8, 10},
                  {"Line", "HI", "96799", "Far", "N", 1.87, -157.4, -14}});
    m_window.date = *CTime::FromLocal(9999, 12, 31, 12, 0, 0);  // UTC+14 reaches the year 10000
    ChooseState("Hawaii");
    ChooseZip("96801");
    ASSERT_TRUE(m_window.errors.empty());
    ASSERT_FALSE(ShownText(IDC_SUNRISE).empty());
    ChooseZip("96799");
    EXPECT_EQ(m_window.errors.size(), 1u);
    EXPECT_TRUE(PlaceAndResultsCleared());
}

// Records that no place can have and a cut end: skipped, and told in one box for the state.
TEST_F(DaybreakDlgTest, DamagedArchiveIsOneBoxListingEveryProblem) {
    const fs::path path = m_dir.path() / "timezone.arc.HI";
    WriteArchive(path, {{"Far", "HI", "96701", "X", "N", 21.0, -157.0, 1000},
                        {"Pole", "HI", "96702", "X", "N", 91.0, -157.0, 10},
                        {"Honolulu", "HI", "96801", "Honolulu", "N", 21.3, -157.8, 10},
                        {"Cut", "HI", "96803", "Honolulu", "N", 21.3, -157.8, 10}});
    fs::resize_file(path, fs::file_size(path) - 3);
    ChooseState("Hawaii");
    ASSERT_EQ(m_window.errors.size(), 1u);
    const std::string& box = m_window.errors[0];
    EXPECT_EQ(std::count(box.begin(), box.end(), '\n'), 2) << box;
    for (const char* part :
         {"record 1 (zip 96701) skipped: offset 1000", "record 2 (zip 96702) skipped: latitude 91",
          "is cut off inside record 4"}) {
        EXPECT_NE(box.find(part), std::string::npos) << part;
    }
    EXPECT_EQ(m_window.zipCombo.items, (std::vector<std::string>{"96801"}));
}

// The window's load of an archive at the ceiling made of the smallest records stays under the
// stated peak, lists included.
TEST_F(DaybreakDlgTest, WorstArchiveLoadsUnderThePeak) {
    if (kAddressSanitizer) {
        GTEST_SKIP() << "the sanitizer's shadow memory defeats an address-space limit";
    }
    WriteEmptyRecords(m_dir.path() / "timezone.arc.HI", WorstShapeRecords());
    const auto load = [&] {
        m_window.stateCombo.Choose("Hawaii");
        m_dlg.OnSelchangeState();
        return m_window.errors.empty() && m_window.cityCombo.items.size() == WorstShapeRecords();
    };
    EXPECT_EXIT(ExitAfterRunningWithin(kLoadPeakBytes, load), ::testing::ExitedWithCode(0), "");
}

}  // namespace
