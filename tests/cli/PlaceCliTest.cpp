#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "Archive.h"
#include "ArchiveBuilder.h"
#include "Cli.h"
#include "CliRun.h"
#include "File.h"
#include "StateArchive.h"
#include "StateTable.h"
#include "TempDir.h"
#include "TimeZone.h"
#include "ZoneFile.h"

namespace fs = std::filesystem;

namespace {

CTimeZone Place(std::string city, std::string zip, std::string county, double lat, double lon,
                int zone, std::string dst = "Y") {
    CTimeZone p;
    p.m_strCity = std::move(city);
    p.m_strZipCode = std::move(zip);
    p.m_strCounty = std::move(county);
    p.m_dLatitude = lat;
    p.m_dLongitude = lon;
    p.m_nTimeZone = zone;
    p.m_strDST = std::move(dst);
    return p;
}

// A directory of small archives, removed at the end of each test.
class PlaceCli : public ::testing::Test {
protected:
    void SetUp() override {
        Write("TX", {Place("Mission", "78572", "Hidalgo", 26.21466, -98.35164, 6),
                     Place("mission", "78599", "Lower", 26.0, -98.0, 6),
                     Place("Alamo", "78516", "Hidalgo", 26.18, -98.12, 6),
                     Place("Palmview", "78572", "Starr", 26.23, -98.38, 6),
                     Place("Mission", "78573", "Other", 26.3, -98.3, 6)});
        Write("AZ", {Place("Phoenix", "85001", "Maricopa", 33.45, -112.07, 7, "N")});
        Write("PR", {Place("A\xF1"
                           "asco",
                           "00610",
                           "A\xF1"
                           "asco",
                           18.28, -67.14, 4)});
        // The other states' archives are there and empty, as in a whole installation.
        for (const CStateRow& row : g_StateTable) {
            if (!fs::exists(Path(std::string(row.code)))) {
                Write(std::string(row.code), {});
            }
        }
    }

    fs::path Path(const std::string& code) const { return m_dir.path() / ("timezone.arc." + code); }

    void Write(const std::string& code, std::vector<CTimeZone> places) {
        CFile file((m_dir.path() / ("timezone.arc." + code)).string(),
                   CFile::modeCreate | CFile::modeWrite);
        CArchive ar(&file, CArchive::store);
        for (CTimeZone& p : places) {
            p.Serialize(ar);
        }
        ar.Close();
    }

    CliRun Places(std::vector<std::string> args) {
        args.insert(args.begin(), {"--archives", m_dir.path().string()});
        return RunArgs(args);
    }

    TempDir m_dir;
};

}  // namespace

TEST_F(PlaceCli, ZipCodeGivesThePlaceLinesThenTheResultsOfItsPosition) {
    const CliRun typed = RunArgs({"--lat", "26.21466", "--lon", "98.35164", "--offset", "6",
                                  "--date", "2007-06-21", "--dst"});
    const CliRun byZip =
        Places({"--state", "TX", "--zip", "78572", "--date", "2007-06-21", "--dst"});
    EXPECT_EQ(byZip.status, 0);
    EXPECT_EQ(byZip.err, "");
    // Two records carry 78572: the first in the archive wins.
    EXPECT_EQ(byZip.out,
              "City Name: Mission\nCounty Name: Hidalgo\nLatitude: 26.21466\n"
              "Longitude: 98.35164\nTime Zone: 6\n" +
                  typed.out);

    const CliRun byText =
        Places({"--state", "tx", "--city", "Palmview - 78572", "--date", "2007-06-21"});
    EXPECT_EQ(byText.status, 0);
    EXPECT_NE(byText.out.find("County Name: Starr\n"), std::string::npos);

    const CliRun csv =
        Places({"--state", "TX", "--zip", "78516", "--days", "2", "--format", "csv"});
    EXPECT_EQ(csv.out.substr(0, csv.out.find('\n')), "date,sunrise,sunset,solar_noon,day_length");
    const CliRun json = Places({"--state", "TX", "--zip", "78516", "--format", "json"});
    EXPECT_EQ(json.out.substr(0, 13), "[\n  {\"date\": ");
}

TEST_F(PlaceCli, BareCityNameTakesTheFirstAndNamesTheOthersOnStandardError) {
    const CliRun run = Places({"--state", "TX", "--city", "Mission", "--date", "2007-06-21"});
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.out.find("County Name: Hidalgo\n"), std::string::npos);
    // "mission" differs in case: it is another name.
    EXPECT_EQ(run.err,
              "daybreak-cli: 1 other place named Mission in TX, zip code: 78573\n"
              "daybreak-cli: the time zone of Mission is unknown here (timezone.zones is "
              "missing): no daylight-saving hour added (--dst adds it)\n");

    const CliRun utf8 = Places({"--state", "PR", "--city", "A\u00f1asco", "--date", "2007-06-21"});
    EXPECT_EQ(utf8.status, 0);
    EXPECT_EQ(utf8.out.substr(0, utf8.out.find('\n')), "City Name: A\u00f1asco");
}

TEST_F(PlaceCli, ZipOrFoldedCityFindsThePlaceInAnyState) {
    const std::string lines = Places({"--state", "TX", "--zip", "78516"}).out;
    const CliRun zip = Places({"--zip", "78516"});
    EXPECT_EQ(zip.status, 0);
    EXPECT_EQ(zip.out, lines);
    const CliRun name = Places({"--state", "texas", "--city", "alamo"});
    EXPECT_EQ(name.out, lines);
    const CliRun accent = Places({"--city", "ANASCO"});
    EXPECT_EQ(accent.status, 0);
    EXPECT_EQ(accent.out.substr(0, accent.out.find('\n')), "City Name: A\u00f1asco");
}

TEST_F(PlaceCli, TheZipCodesOfOneTownAreOnePlaceAtTheirCentre) {
    // Folded, "mission" is three zip codes of TX: one town, at the centre of the three.
    const CliRun town = Places({"--city", "MISSION"});
    EXPECT_EQ(town.status, 0);
    EXPECT_EQ(town.out.substr(0, town.out.find("Time Zone")),
              "City Name: Mission\nCounty Name: Hidalgo\nLatitude: 26.1715533333333\n"
              "Longitude: 98.2172133333333\n");
}

TEST_F(PlaceCli, NearMissSuggestsNames) {
    const CliRun run = Places({"--city", "Misson"});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err,
              "daybreak-cli: --city: no place is called 'Misson' (did you mean Mission, TX?); "
              "places outside the US are unavailable: timezone.world cannot be read: No such file "
              "or directory\n");
}

TEST_F(PlaceCli, PlaceWithoutDaylightSavingGetsNoHourEvenWithDst) {
    const CliRun plain = Places({"--state", "AZ", "--zip", "85001", "--date", "2007-06-21"});
    const CliRun dst = Places({"--state", "AZ", "--zip", "85001", "--date", "2007-06-21", "--dst"});
    EXPECT_EQ(dst.status, 0);
    EXPECT_EQ(dst.out, plain.out);
    EXPECT_EQ(dst.err,
              "daybreak-cli: Phoenix keeps standard time all year: no daylight-saving hour "
              "added\n");
    EXPECT_EQ(plain.err, "");
}

TEST_F(PlaceCli, DaylightSavingFollowsTheDateOnThePlacesZone) {
    {
        std::ofstream zones(m_dir.path() / kZoneFileName, std::ios::binary);
        zones << EncodeZoneFile({{"TX", "78572", "America/Chicago"}});
    }
    const std::vector<std::string> place = {"--state", "TX", "--zip", "78572", "--date"};
    auto run = [&](const char* date, std::vector<std::string> more) {
        std::vector<std::string> args = place;
        args.push_back(date);
        args.insert(args.end(), more.begin(), more.end());
        return Places(args);
    };
    const CliRun summer = run("2007-07-01", {});
    EXPECT_EQ(summer.err, "");
    EXPECT_NE(summer.out.find("Time Zone: 6 (America/Chicago, CDT, UTC-05:00 on this date)\n"),
              std::string::npos);
    const std::string manual = run("2007-07-01", {"--dst"}).out;
    EXPECT_EQ(summer.out.substr(summer.out.find("Local")), manual.substr(manual.find("Local")));
    EXPECT_NE(manual.find("Time Zone: 6\n"), std::string::npos);  // the tick fixes the hour

    // A zone given by hand that keeps another clock is named as such, never beside the
    // record's offset as if it were its own.
    EXPECT_NE(run("2007-07-01", {"--tz", "Etc/GMT-14"})
                  .out.find("Time Zone: 6 (UTC-06:00 on this date; Etc/GMT-14 keeps UTC+14:00)\n"),
              std::string::npos);

    const CliRun winter = run("2007-01-15", {});
    EXPECT_NE(winter.out.find("(America/Chicago, CST, UTC-06:00 on this date)"), std::string::npos);
    const std::string standard = run("2007-01-15", {"--no-dst"}).out;
    EXPECT_EQ(winter.out.substr(winter.out.find("Local")), standard.substr(standard.find("Local")));
}

TEST_F(PlaceCli, ListsAreSortedAsTheWindowSortsThem) {
    const CliRun cities = Places({"--list-cities", "TX"});
    EXPECT_EQ(cities.status, 0);
    EXPECT_EQ(cities.out,
              "Alamo - 78516\nMission - 78572\nMission - 78573\nmission - 78599\n"
              "Palmview - 78572\n");
    const CliRun zips = Places({"--list-zips", "TX"});
    EXPECT_EQ(zips.out, "78516\n78572\n78572\n78573\n78599\n");
    EXPECT_EQ(Places({"--list-cities", "PR"}).out, "A\u00f1asco - 00610\n");
}

TEST_F(PlaceCli, LookupFailuresAndBadCombinationsAreOneLineWithStatusTwo) {
    const std::vector<std::vector<std::string>> rows = {
        {"--state", "XX", "--zip", "78572"},
        {"--state", "TX", "--zip", "78572 "},
        {"--state", "TX", "--city", "Nowhere"},
        {"--state", "TX", "--city", "Mission - 78599"},
        {"--state", "CA", "--zip", "90001"},  // no archive
        {"--list-zips", "ZZ"},
        {"--state", "TX"},
        {"--first"},
        {"--state", "Tex", "--zip", "78572"},
        {"--state", "TX", "--zip", "78572", "--city", "Alamo"},
        {"--state", "TX", "--zip", "78572", "--lat", "1"},
        {"--list-zips", "TX", "--dst"},
        {"--dump", "x", "--list-cities", "TX"},
        {"--state", "GU", "--zip", "1"},  // larger than an archive can be
        {"--dump", ""},
        {"--archives", "", "--state", "TX", "--zip", "78572"},
    };
    fs::remove(Path("CA"));
    Write("GU", {});
    fs::resize_file(m_dir.path() / "timezone.arc.GU", kMaxStateArchiveBytes + 1);
    for (const auto& args : rows) {
        const CliRun run = Places(args);
        SCOPED_TRACE(args.front() + " " + args.back());
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err.rfind("daybreak-cli: ", 0), 0u) << run.err;
        // One line, and the pointer to --help when the command line itself is wrong.
        const std::string line = run.err.substr(0, run.err.find('\n') + 1);
        EXPECT_TRUE(run.err == line || run.err == line + kCliHelpHint) << run.err;
    }
    EXPECT_EQ(Places({"--dump", ""}).err,
              std::string("daybreak-cli: --dump: needs a file name\n") + kCliHelpHint);
    // A folder without any archive says so, rather than that no place has the zip code.
    const fs::path empty = m_dir.path() / "empty";
    fs::create_directory(empty);
    EXPECT_EQ(RunArgs({"--archives", empty.string(), "--zip", "78572"}).err,
              "daybreak-cli: --archives: no state archives (timezone.arc.XX) in " + empty.string() +
                  "\n" + kCliHelpHint);
    // Nationwide, each archive that could not be read is named, and the search fails with
    // status 1.
    const CliRun nowhere = Places({"--zip", "99999"});
    EXPECT_EQ(nowhere.status, 1);
    EXPECT_EQ(nowhere.err, "daybreak-cli: cannot open file " + Path("CA").string() +
                               ": No such file or directory\ndaybreak-cli: cannot read file " +
                               Path("GU").string() +
                               ": larger than a state archive can be (8 MiB)\n");
    EXPECT_EQ(Places({"--zip", "78572", "--lat", "3"}).err,
              std::string("daybreak-cli: --zip: give either a place from the archives or --lat, "
                          "--lon and --offset, not both\n") +
                  kCliHelpHint);
    EXPECT_EQ(Places({"--state", "GU", "--zip", "1"}).err,
              "daybreak-cli: cannot read file " + (m_dir.path() / "timezone.arc.GU").string() +
                  ": larger than a state archive can be (8 MiB)\n");
    EXPECT_EQ(Places({"--state", "CA", "--zip", "90001"}).err,
              "daybreak-cli: cannot open file " + (m_dir.path() / "timezone.arc.CA").string() +
                  ": No such file or directory\n");
}

TEST_F(PlaceCli, DumpPrintsEveryRecordAndReportsACutOne) {
    const std::string path = (m_dir.path() / "timezone.arc.AZ").string();
    const CliRun whole = RunArgs({"--dump", path});
    EXPECT_EQ(whole.status, 0);
    EXPECT_EQ(whole.out,
              "Phoenix\tTX\t85001\t956\t215\tMaricopa\tN\t33.45\t-112.07\t7\n1 record\n");
    EXPECT_EQ(whole.err, "");

    fs::resize_file(m_dir.path() / "timezone.arc.TX",
                    fs::file_size(m_dir.path() / "timezone.arc.TX") - 3);
    const CliRun cut = RunArgs({"--dump", (m_dir.path() / "timezone.arc.TX").string()});
    EXPECT_EQ(cut.status, 1);
    EXPECT_EQ(std::count(cut.out.begin(), cut.out.end(), '\n'), 5);
    EXPECT_EQ(cut.out.substr(cut.out.rfind("4 records")), "4 records\n");
    EXPECT_NE(cut.err.find("the last record is cut off"), std::string::npos);

    EXPECT_EQ(RunArgs({"--dump", (m_dir.path() / "none").string()}).status, 2);
}

// Archive text reaches the terminal with every control character escaped, on every line that
// shows it; ordinary names are unchanged (the tests above).
TEST_F(PlaceCli, ControlCharactersFromTheArchiveArePrintedEscaped) {
    Write("HI", {Place("Evil\x1b]0;owned\x07\r", "9\x9D", "Lanai\r\nLocal Sunrise: forged", 21.0,
                       -157.0, 10, "N"),
                 Place("Evil\x1b]0;owned\x07\r", "96763", "Maui", 21.0, -157.0, 10)});
    const CliRun run = Places(
        {"--state", "HI", "--city", "Evil\x1b]0;owned\x07\r", "--date", "2007-06-21", "--dst"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out.substr(0, run.out.find("Latitude")),
              "City Name: Evil\\x1B]0;owned\\x07\\x0D\n"
              "County Name: Lanai\\x0D\\x0ALocal Sunrise: forged\n");
    EXPECT_EQ(run.err,
              "daybreak-cli: 1 other place named Evil\\x1B]0;owned\\x07\\x0D in HI, zip code: "
              "96763\n"
              "daybreak-cli: Evil\\x1B]0;owned\\x07\\x0D keeps standard time all year: no "
              "daylight-saving hour added\n");
    EXPECT_EQ(Places({"--list-zips", "HI"}).out, "96763\n9\\x9D\n");
    EXPECT_EQ(Places({"--list-cities", "HI"}).out,
              "Evil\\x1B]0;owned\\x07\\x0D - 96763\nEvil\\x1B]0;owned\\x07\\x0D - 9\\x9D\n");
    const CliRun dump = RunArgs({"--dump", (m_dir.path() / "timezone.arc.HI").string()});
    EXPECT_EQ(dump.out.substr(0, dump.out.find('\n')),
              "Evil\\x1B]0;owned\\x07\\r\tTX\t9\\x9D\t956\t215\tLanai\\r\\nLocal Sunrise: "
              "forged\tN\t21\t-157\t10");
}

// Nationwide, an archive that cannot be read is named with its reason: an error of status 1
// when the place is found nowhere else, a note when another archive answers.
TEST_F(PlaceCli, NationwideSearchNamesTheArchiveItCouldNotRead) {
    fs::remove(Path("TX"));
    const std::string missing =
        "daybreak-cli: cannot open file " + Path("TX").string() + ": No such file or directory\n";
    for (const auto& args : {std::vector<std::string>{"--zip", "78572"},
                             std::vector<std::string>{"--city", "mission"}}) {
        const CliRun run = Places(args);
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, missing);
    }
    ASSERT_EQ(::mkfifo(Path("TX").c_str(), 0600), 0);  // read, it would wait for ever
    const CliRun elsewhere = Places({"--zip", "85001"});
    EXPECT_EQ(elsewhere.status, 0);
    EXPECT_NE(elsewhere.out.find("City Name: Phoenix\n"), std::string::npos);
    EXPECT_EQ(elsewhere.err,
              "daybreak-cli: cannot open file " + Path("TX").string() + ": not a regular file\n");
}

// A cut archive answers from the records before the cut and says so once; a record whose values
// no place can have, or whose zone contradicts its offset, is skipped with a note each.
TEST_F(PlaceCli, DamagedArchivesKeepWhatPrecedesTheDamageAndSaySo) {
    const std::size_t fifth = Encode({Place("Mission", "78573", "Other", 26.3, -98.3, 6)}).size();
    const std::size_t whole = fs::file_size(Path("TX"));
    fs::resize_file(Path("TX"), whole - 3);
    const std::string cut =
        "daybreak-cli: " + Path("TX").string() + " is cut off inside record 5 (at byte " +
        std::to_string(whole - fifth) + "): the 4 records before it are kept.\n";
    const CliRun found = Places({"--zip", "78516", "--dst"});
    EXPECT_EQ(found.status, 0);
    EXPECT_EQ(found.err, cut);
    const CliRun lost = Places({"--state", "TX", "--zip", "78573"});
    EXPECT_EQ(lost.status, 2);
    EXPECT_EQ(lost.err, cut + "daybreak-cli: --zip: no place in TX has the zip code '78573'\n");

    Write("HI", {Place("Far", "96701", "Honolulu", 21.0, -157.0, 1000),
                 Place("Pole", "96702", "Honolulu", 91.0, -157.0, 10),
                 Place("Gmt", "96703", "Honolulu", 21.0, -157.0, 6)});
    {
        std::ofstream zones(m_dir.path() / kZoneFileName, std::ios::binary);
        zones << EncodeZoneFile({{"HI", "96703", "Etc/GMT-14"}});
    }
    const std::string hi = "daybreak-cli: " + Path("HI").string() + ": record ";
    const CliRun skipped = Places({"--state", "HI", "--zip", "96703"});
    EXPECT_EQ(skipped.status, 2);
    EXPECT_EQ(skipped.err, hi + "1 (zip 96701) skipped: offset 1000 is outside -14..14 hours\n" +
                               hi + "2 (zip 96702) skipped: latitude 91 is outside -90..90\n" + hi +
                               "3 (zip 96703) skipped: its zone Etc/GMT-14 keeps UTC+14:00 as "
                               "standard time, the record UTC-06:00\n"
                               "daybreak-cli: --zip: no place in HI has the zip code '96703'\n");
}

// An archive at the ceiling made of the smallest records: every search and listing stays under
// the stated peak, in a child process whose address space may grow by no more.
TEST_F(PlaceCli, WorstArchiveStaysUnderThePeak) {
    if (kAddressSanitizer) {
        GTEST_SKIP() << "the sanitizer's shadow memory defeats an address-space limit";
    }
    WriteEmptyRecords(Path("TX"), WorstShapeRecords());
    // A nationwide --city holds every archive's places in memory (the search by name).
    for (const auto& args : {std::vector<std::string>{"--state", "TX", "--city", "austin"},
                             std::vector<std::string>{"--zip", "78572"},
                             std::vector<std::string>{"--list-cities", "TX"}}) {
        SCOPED_TRACE(args.back());
        EXPECT_EXIT(ExitAfterRunningWithin(kLoadPeakBytes,
                                           [&] {
                                               const int status = Places(args).status;
                                               return status == 0 || status == 2;
                                           }),
                    ::testing::ExitedWithCode(0), "");
    }
}
