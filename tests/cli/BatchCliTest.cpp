#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "BatchInput.h"
#include "Cli.h"
#include "CliRun.h"
#include "PlaceArchive.h"
#include "StateTable.h"
#include "TempDir.h"

namespace {

// The CSV rows of one place as the tool writes them alone, each after `id` and a comma.
std::string RowsOf(const std::string& id, std::vector<std::string> args) {
    args.insert(args.end(), {"--date", "2007-06-21", "--days", "2", "--format", "csv"});
    const std::string csv = RunArgs(args).out;
    std::string rows;
    std::istringstream lines(csv.substr(csv.find('\n') + 1));
    for (std::string line; std::getline(lines, line);) {
        rows += id + "," + line + "\n";
    }
    return rows;
}

constexpr char kHeader[] = "id,date,sunrise,sunset,solar_noon,day_length\n";
constexpr char kNote[] = "daybreak-cli: --places: ";

}  // namespace

// Good lines give the rows a place alone gives, after the id (or the line's number), in the
// file's order; each bad line is named by its number on standard error and skipped.
TEST(BatchCli, EachLineGivesItsPlacesRowsOrItsError) {
    TempDir dir;
    const std::string archives = dir.path().string();
    WriteArchive(dir.path() / "timezone.arc.TX",
                 {{"Mission", "TX", "78572", "Hidalgo", "Y", 26.21466, -98.35164, 6},
                  {"Springfield", "TX", "75000", "Nowhere", "Y", 32.0, -96.0, 6}});
    WriteArchive(dir.path() / "timezone.arc.MO",
                 {{"Springfield", "MO", "65801", "Greene", "Y", 37.21, -93.29, 6}});
    for (const CStateRow& row : g_StateTable) {
        const auto path = dir.path() / ("timezone.arc." + std::string(row.code));
        if (!std::filesystem::exists(path)) {
            WriteArchive(path, {});  // as in a whole installation
        }
    }
    const std::vector<std::string> chicago = {"--lat", "41.88", "--lon", "87.63"};
    auto typed = [&](const std::string& id, const std::vector<std::string>& clock) {
        std::vector<std::string> args = chicago;
        args.insert(args.end(), clock.begin(), clock.end());
        return RowsOf(id, args);
    };
    auto stored = [&](const std::string& id, const std::vector<std::string>& place) {
        std::vector<std::string> args = {"--archives", archives};
        args.insert(args.end(), place.begin(), place.end());
        return RowsOf(id, args);
    };
    const std::string unknownZone =
        std::string(kNote) +
        "the time zone of 2 place(s) from the archives is unknown here: no daylight-saving hour "
        "added (--dst adds it)\n";

    const struct {
        const char* input;
        std::vector<std::string> args;
        int status;
        std::string out;
        std::string err;
    } cases[] = {
        {"id,lat,lon,tz,offset\n"
         "chi,41.88,87.63,America/Chicago,\n"
         "\n"
         ",41.88N,87.63W,,6\n"
         "\"a,b\",41.88,87.63,,\n"
         "bad,91,87.63,,6\n"
         "zone,41.88,87.63,Mars/Olympus,\n"
         "many,41.88,87.63,,6,7\n",
         {"--tz", "America/Chicago"},
         kCliExitSkipped,
         kHeader + typed("chi", {"--tz", "America/Chicago"}) + typed("4", {"--offset", "6"}) +
             typed("\"a,b\"", {"--tz", "America/Chicago"}),
         std::string(kNote) + "line 6: lat: '91' is not a latitude from -90 to 90 degrees\n" +
             kNote + "line 7: tz: 'Mars/Olympus' is not a time zone of this system's database\n" +
             kNote + "line 8: has 6 fields, the header 5\n"},
        {"lat,lon\n41.88,87.63\n",
         {},
         kCliExitSkipped,
         kHeader,
         std::string(kNote) + "line 2: no clock: give tz or offset, or --tz or --offset\n"},
        {"zip,city,state,id\n"
         "78572,,,m\n"
         ",springfield,mo,\n"
         ",Springfield,,s\n"
         "99999,,,\n"
         "78572,,ZZ,\n",
         {"--archives", archives},
         kCliExitSkipped,
         kHeader + stored("m", {"--zip", "78572"}) + stored("3", {"--zip", "65801"}),
         std::string(kNote) +
             "line 4: city: 'Springfield' lies in several states (MO, TX): add a state column\n" +
             kNote + "line 5: zip: no place has the zip code '99999'\n" + kNote +
             "line 6: state: 'ZZ' is not a state or possession (a code such as TX, or a name)\n" +
             unknownZone},
        {"id,lng,lat\n1,2,3\n",
         {},
         kCliExitUsage,
         "",  // the header is read before anything is written
         "daybreak-cli: --places: line 1: 'lng' is not a column (id, zip, city, state, lat, lon, "
         "tz, "
         "offset)\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.input);
        const auto file = dir.path() / "places.csv";
        std::ofstream(file, std::ios::binary) << c.input;
        std::vector<std::string> args = {"--places", file.string(), "--date",   "2007-06-21",
                                         "--days",   "2",           "--format", "csv"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const CliRun run = RunArgs(args);
        EXPECT_EQ(run.status, c.status);
        EXPECT_EQ(run.out, c.out);
        EXPECT_EQ(run.err, c.err);
    }
}

// More places than one round of the threads computes: still in the file's order.
TEST(BatchCli, ManyPlacesKeepTheirOrder) {
    TempDir dir;
    const auto file = dir.path() / "places.csv";
    std::string input = "lat,lon,offset\n";
    for (int i = 0; i < 2500; ++i) {
        input += std::to_string(i % 60) + ",87.63,6\n";
    }
    std::ofstream(file, std::ios::binary) << input;
    const CliRun run =
        RunArgs({"--places", file.string(), "--date", "2007-06-21", "--format", "csv"});
    ASSERT_EQ(run.status, kCliExitOk);
    std::istringstream lines(run.out);
    std::string line;
    std::getline(lines, line);
    int expected = 2;
    for (; std::getline(lines, line); ++expected) {
        ASSERT_EQ(line.substr(0, line.find(',')), std::to_string(expected));
    }
    EXPECT_EQ(expected, 2502);
}

// --precise and --events give each place the columns they give one place alone, in every
// format; a calendar holds every place's events, each named by its place's id.
TEST(BatchCli, EventsAndCalendarsForEveryPlace) {
    TempDir dir;
    const auto file = dir.path() / "places.csv";
    std::ofstream(file, std::ios::binary) << "id,lat,lon,offset\nchi,41.88,87.63,6\n";
    const std::vector<std::string> alone = {"--lat", "41.88", "--lon", "87.63", "--offset", "6"};
    auto batch = [&](std::vector<std::string> extra, const char* format) {
        std::vector<std::string> args = {"--places", file.string(), "--date",   "2007-06-21",
                                         "--days",   "2",           "--format", format};
        args.insert(args.end(), extra.begin(), extra.end());
        return RunArgs(args);
    };
    for (const std::vector<std::string>& extra :
         {std::vector<std::string>{"--precise"}, {"--events", "civil,moon,azimuth"}}) {
        std::vector<std::string> single = alone;
        single.insert(single.end(), extra.begin(), extra.end());
        const CliRun csv = batch(extra, "csv");
        const std::string header = csv.out.substr(0, csv.out.find('\n') + 1);
        EXPECT_EQ(csv.out, header + RowsOf("chi", single));
        EXPECT_EQ(header.substr(0, 8), "id,date,");

        single.insert(single.end(), {"--date", "2007-06-21", "--days", "2", "--format", "json"});
        std::string json = RunArgs(single).out;
        for (std::size_t at = json.find("  {"); at != std::string::npos;
             at = json.find("  {", at + 1)) {
            json.insert(at + 3, "\"id\": \"chi\", ");
        }
        EXPECT_EQ(batch(extra, "json").out, json);
    }

    const CliRun ics = batch({"--events", "moonrise"}, "ics");
    ASSERT_EQ(ics.status, kCliExitOk) << ics.err;
    EXPECT_EQ(ics.out.rfind("BEGIN:VCALENDAR", 0), 0u);
    EXPECT_NE(ics.out.find("SUMMARY:Sunrise (chi)\r\n"), std::string::npos);
    EXPECT_NE(ics.out.find("UID:2007-06-22-Moonrise-chi-41.8800N-87.6300W@daybreak\r\n"),
              std::string::npos);
    EXPECT_NE(ics.out.find("DTSTART:20070621T101547Z\r\n"), std::string::npos);
    EXPECT_EQ(ics.out.find("END:VCALENDAR"), ics.out.size() - 15);
}
