#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "ArchiveBuilder.h"
#include "CTime.h"
#include "Cli.h"
#include "CliRun.h"
#include "DaybreakVersion.h"
#include "FdOutput.h"
#include "LocalSolarTime.h"
#include "ModulePath.h"
#include "ResultYearEdges.h"
#include "ResultYears.h"
#include "SunNow.h"
#include "TempDir.h"

namespace {

// With the data beside the program: a world town by name and typed coordinates without a clock
// both read Paris's times on its own clock; a town's zip codes answer as one place.
TEST(Cli, WorldTownsAndTheZoneOfAPointReadTheirOwnClock) {
    if (!std::filesystem::exists(GetExecutableDirectory() / "timezone.world")) {
        GTEST_SKIP() << "no world file beside the program";
    }
    const std::string paris =
        "Time Zone: -1 (Europe/Paris, CEST, UTC+02:00 on this date)\n"
        "Local Sunrise: Sunday, June 21, 2026,  05:47:3";
    const CliRun byName = RunArgs({"--city", "Paris, France", "--date", "2026-06-21"});
    EXPECT_EQ(byName.status, 0);
    EXPECT_EQ(byName.out.rfind("City Name: Paris, France\nCounty Name: \u00cele-de-France\n", 0),
              0u);
    EXPECT_NE(byName.out.find(paris), std::string::npos) << byName.out;
    const CliRun byPoint = RunArgs({"--coords", "48.8566,2.3522", "--date", "2026-06-21"});
    EXPECT_EQ(byPoint.status, 0);
    EXPECT_EQ(byPoint.out.rfind(paris, 0), 0u) << byPoint.out;
    for (const char* town : {"new york", "st louis, mo", "honolulu hi", "queens"}) {
        const CliRun run = RunArgs({"--city", town, "--date", "2026-06-21"});
        EXPECT_EQ(run.status, 0) << town << run.err;
    }
    const CliRun several = RunArgs({"--city", "paris", "--date", "2026-06-21"});
    EXPECT_NE(several.err.find("(choose with --city \"Paris, TX\")"), std::string::npos)
        << several.err;
    const CliRun none = RunArgs({"--city", "Qqxyzzy"});
    EXPECT_EQ(none.status, 2);
    EXPECT_NE(none.err.find("towns of at least 1,000 people"), std::string::npos);
}

TEST(Cli, WorkedExamples) {
    const CliRun chicago = RunArgs(
        {"--lat", "41.88", "--lon", "87.63W", "--offset", "6", "--dst", "--date", "2007-06-21"});
    EXPECT_EQ(chicago.status, 0);
    EXPECT_EQ(chicago.err, "");
    EXPECT_EQ(chicago.out,
              "Local Sunrise: Thursday, June 21, 2007,  05:15:47\n"
              "Local Sunset: Thursday, June 21, 2007,  20:28:08\n"
              "Local Solar Noon: Thursday, June 21, 2007,  12:51:50\n");

    const CliRun fairbanks =
        RunArgs({"--lat=64.84N", "--lon=147.72", "--offset=9", "--dst", "--date=2007-06-21"});
    EXPECT_EQ(fairbanks.out,
              "Local Sunrise: Thursday, June 21, 2007,  03:02:42\n"
              "Local Sunset: Friday, June 22, 2007,  00:42:01\n"
              "Local Solar Noon: Thursday, June 21, 2007,  13:52:12\n");

    const CliRun polar =
        RunArgs({"--lat", "70", "--lon", "147.72", "--offset", "9", "--date", "2007-06-21"});
    EXPECT_EQ(polar.out.substr(0, polar.out.find('\n')),
              "Local Sunrise: No sunrise: the Sun is up all day (last sunrise Wednesday, May 16, "
              "2007,  01:19:47)");
}

TEST(Cli, HemisphereLettersAndSignsAgree) {
    const std::string signedForm =
        RunArgs({"--lat", "-33.87", "--lon", "-151.21", "--offset", "-10", "--date", "2007-01-05"})
            .out;
    ASSERT_NE(signedForm, "");
    const std::vector<std::vector<std::string>> same = {
        {"--lat", "33.87S", "--lon", "151.21E", "--offset", "-10", "--date", "2007-01-05"},
        {"--lat", "33.87s", "--lon", "151.21e", "--offset=-10", "--date", "2007-01-05"},
        {"--offset", "-10.0", "--date", "2007-01-05", "--lon=-151.21", "--lat", "-33.87"},
        // A map's order and signs: latitude, then longitude east positive.
        {"--coords", "-33.87,151.21", "--offset", "-10", "--date", "2007-01-05"},
        {"--coords=-33.87,   151.21", "--offset", "-10", "--date", "2007-01-05"},
        {"--coords", "33.87S, 151.21E", "--offset", "-10", "--date", "2007-01-05"},
    };
    for (const auto& args : same) {
        const CliRun run = RunArgs(args);
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(run.out, signedForm);
    }
    EXPECT_EQ(
        RunArgs({"--lat", "41.88N", "--lon", "87.63W", "--offset", "+6", "--date", "2007-06-21"})
            .out,
        RunArgs({"--lat", "41.88", "--lon", "87.63", "--offset", "6", "--date", "2007-06-21"}).out);
}

TEST(Cli, BadArgumentsPrintOneLineAndExitTwo) {
    const std::vector<std::string> place = {"--lat", "41.88", "--lon", "87.63", "--offset", "6"};
    auto with = [&](std::vector<std::string> extra) {
        std::vector<std::string> args = place;
        args.insert(args.end(), extra.begin(), extra.end());
        return args;
    };
    struct Row {
        std::vector<std::string> args;
        const char* mentions;
    };
    const Row rows[] = {
        {with({"--frobnicate"}), "--frobnicate"},
        {with({"extra"}), "extra"},
        {with({"--date"}), "--date"},
        {with({"--date", "2007-02-29"}), "--date"},
        {with({"--date", "21/06/2007"}), "--date"},
        {with({"--date", "1899-12-31"}), "--date"},
        {with({"--days", "0"}), "--days"},
        {with({"--days", "36601"}), "--days"},
        {with({"--days", "7x"}), "--days"},
        {with({"--format", "xml"}), "--format"},
        {with({"--dst=1"}), "--dst"},
        {{"--lat", "41.88W", "--lon", "87.63", "--offset", "6"}, "--lat"},
        {{"--lat", "41.88", "--lon", "-87.63W", "--offset", "6"}, "--lon"},
        {{"--lat", "north", "--lon", "87.63", "--offset", "6"}, "--lat"},
        {{"--lon", "87.63", "--offset", "6"}, "--lat"},
        {{"--lat", "41.88", "--offset", "6"}, "--lon"},
        {{"--lat", "41.88", "--lon", "87.63", "--offset", "six"}, "--offset"},
        {{"--coords", "41.88", "--offset", "6"}, "--coords: '41.88' is not a latitude and"},
        {{"--coords", "41.88 -87.63", "--offset", "6"}, "is not a latitude and longitude"},
        {{"--coords", "91,-87.63", "--offset", "6"}, "--coords: '91' is not a latitude"},
        {{"--coords", "41.88,-187", "--offset", "6"}, "--coords: '-187' is not a longitude"},
        {{"--coords", "41.88,", "--offset", "6"}, "--coords: '' is not a number"},
        {{"--coords", "41.88,-87.63", "--lon", "87.63", "--offset", "6"}, "either --coords"},
        {{"--lat", "41.88", "--coords", "41.88,-87.63", "--offset", "6"}, "either --coords"},
        {{"--lat", "1e", "--lon", "87.63", "--offset", "6"}, "--lat: '1e' is not a number"},
        // Out of range, infinite or not a number: the option and its range.
        {{"--lat", "nan", "--lon", "87.63", "--offset", "6"}, "--lat: 'nan' is not a latitude"},
        {{"--lat", "91", "--lon", "87.63", "--offset", "6"}, "from -90 to 90 degrees"},
        {{"--lat", "90.5S", "--lon", "87.63", "--offset", "6"}, "from -90 to 90 degrees"},
        {{"--lat", "41.88", "--lon", "inf", "--offset", "6"}, "--lon: 'inf' is not a longitude"},
        {{"--lat", "41.88", "--lon", "200", "--offset", "6"}, "from -180 to 180 degrees"},
        {{"--lat", "41.88", "--lon", "1e5E", "--offset", "6"}, "from -180 to 180 degrees"},
        {{"--lat", "41.88", "--lon", "1e400", "--offset", "6"}, "from -180 to 180 degrees"},
        {{"--lat", "41.88", "--lon", "87.63", "--offset", "100"}, "from -14 to 14 hours"},
        {{"--lat", "41.88", "--lon", "87.63", "--offset", "1e9"}, "from -14 to 14 hours"},
        {{"--lat", "41.88", "--lon", "87.63", "--offset", "-14.5"}, "from -14 to 14 hours"},
        // Echoed arguments are printed as archive text is: control characters as \xHH.
        {{"--lat", "4\x1b[31m", "--lon", "87.63", "--offset", "6"}, "'4\\x1B[31m' is not"},
        {{"--lat", "41.88", "--lon", "87.63", "--offset", "6", "--events", "noon\r\n\a"},
         "'noon\\x0D\\x0A\\x07' is not an event"},
        {{"--lat",
          "\xC2\x9D"
          "5",
          "--lon", "87.63", "--offset", "6"},
         "'\\x9D5' is not"},
        // Results must stay in 1900 to 9999: noon on the date line 14 hours behind UTC falls
        // on the day before.
        {{"--lat", "0", "--lon", "-180", "--offset", "14", "--date", "1900-01-01"},
         "outside the years 1900 to 9999"},
        {{"--lat", "41.88", "--lon", "87.63", "--offset", "6", "--days", "2", "--date",
          "9999-12-31"},
         "--days: a table of 2 days from 9999-12-31 would run past 9999-12-31"},
        // A date of the right form that no calendar has; a relative date beyond the range.
        {{"--lat", "41.88", "--lon", "87.63", "--offset", "6", "--date", "2007-02-30"},
         "--date: '2007-02-30' does not exist (that month has 28 days)"},
        {{"--lat", "41.88", "--lon", "87.63", "--offset", "6", "--date", "+9999999"},
         "--date: '+9999999' falls after 9999"},
        {{"--lat", "41.88", "--lon", "87.63", "--offset", "6", "--", "--dst"},
         "unexpected argument '--dst'"},
    };
    for (const Row& r : rows) {
        const CliRun run = RunArgs(r.args);
        SCOPED_TRACE(run.err);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err.rfind("daybreak-cli: ", 0), 0u);
        EXPECT_NE(run.err.find(r.mentions), std::string::npos);
        // One line; a wrong command line adds the pointer to --help, a result out of the
        // engines' years does not.
        const std::size_t end = run.err.find('\n') + 1;
        const bool engine = run.err.find("cannot compute") != std::string::npos;
        EXPECT_EQ(run.err.substr(end), engine ? "" : kCliHelpHint);
    }
}

// Every output of the tool, from either engine, refuses a result outside 1900 to 9999 with
// the one error and prints nothing else.
TEST(Cli, EveryRouteRefusesResultsOutsideTheYears) {
    const std::vector<std::vector<std::string>> routes = {
        {},
        {"--events", "sunrise,sunset"},
        {"--events", "civil"},
        {"--days", "1"},
        {"--days", "1", "--format", "csv"},
        {"--days", "1", "--events", "sunrise"},
        {"--days", "1", "--format", "csv", "--events", "sunrise,azimuth"},
        {"--format", "json"},
        {"--format", "ics"},
    };
    for (const CResultYearEdge& edge : kResultYearEdges) {
        for (const char* engine : {"", "--precise"}) {
            for (const std::vector<std::string>& route : routes) {
                std::vector<std::string> args = {"--lat",        edge.latitude, "--lon",
                                                 edge.longitude, "--offset",    edge.offset,
                                                 "--date",       edge.date};
                args.insert(args.end(), route.begin(), route.end());
                if (*engine != '\0') {
                    args.emplace_back(engine);
                }
                const CliRun run = RunArgs(args);
                SCOPED_TRACE(testing::PrintToString(args));
                EXPECT_EQ(run.status, 2);
                EXPECT_EQ(run.out, "");
                EXPECT_EQ(run.err,
                          "daybreak-cli: c" + std::string(kResultYearsMessage).substr(1) + "\n");
            }
        }
    }
}

// A longitude or offset typed with the other sign puts solar noon far from 12:00: a note on
// standard error, the results as computed. Real clocks keep noon within three hours.
TEST(Cli, FarSolarNoonGetsASignNote) {
    struct Row {
        std::vector<std::string> args;
        const char* noon;  // the note's time, or nullptr for no note
    } rows[] = {
        {{"--lat", "41.88", "--lon", "-87.63", "--offset", "6", "--dst"}, "01:10:48"},
        // The note reads noon from the engine that printed it.
        {{"--lat", "41.88", "--lon", "-87.63", "--offset", "6", "--dst", "--precise"}, "01:11:07"},
        {{"--coords", "41.88,87.63", "--offset", "6", "--dst"}, "01:10:48"},
        {{"--lat", "41.88", "--lon", "87.63", "--offset", "-6", "--days", "2"}, "23:51:50"},
        {{"--lat", "41.88", "--lon", "87.63", "--offset", "6"}, nullptr},
        {{"--lat", "39.47", "--lon", "76E", "--offset", "-8"}, nullptr},  // 14:57, UTC+8
        {{"--lat", "0", "--lon", "0", "--offset", "0"}, nullptr},
    };
    const std::vector<std::string> date = {"--date", "2007-06-21"};
    for (Row& r : rows) {
        r.args.insert(r.args.end(), date.begin(), date.end());
        const CliRun run = RunArgs(r.args);
        SCOPED_TRACE(run.err);
        EXPECT_EQ(run.status, 0);
        if (r.noon == nullptr) {
            EXPECT_EQ(run.err, "");
            continue;
        }
        EXPECT_EQ(run.err, "daybreak-cli: solar noon falls at " + std::string(r.noon) +
                               ", more than three hours from 12:00: check the sign of --lon and "
                               "--offset: west is positive here\n");
        EXPECT_NE(run.out.find(r.noon), std::string::npos);  // the results stay as computed
    }
}

TEST(Cli, RangeEdgesAndUnderflowAreAccepted) {
    const CliRun zero =
        RunArgs({"--lat", "0", "--lon", "0", "--offset", "0", "--date", "2007-06-21"});
    EXPECT_EQ(zero.status, 0);
    EXPECT_EQ(RunArgs({"--lat", "1e-400", "--lon", "-1e-400", "--offset", "1e-400", "--date",
                       "2007-06-21"})
                  .out,
              zero.out);
    for (const char* lat : {"90", "-90", "90S"}) {
        EXPECT_EQ(RunArgs({"--lat", lat, "--lon", "180", "--offset", "-14"}).status, 0) << lat;
    }
    EXPECT_EQ(RunArgs({"--lat", "0", "--lon", "180E", "--offset", "14"}).status, 0);
}

namespace {

// Runs the tool with its output on a descriptor, as the program does.
CliRun RunToDescriptor(int fd, const std::vector<std::string>& args) {
    CFdOutputBuffer buffer(fd);
    std::ostream out(&buffer);
    std::ostringstream err;
    const int status = RunCli(args, out, err);
    return {status, "", err.str()};
}

}  // namespace

// A full disk, a closed stream and a reader that has gone, for a short and a long output.
TEST(Cli, FailedWritesAreReportedAndNeverSucceed) {
    const std::vector<std::string> shortRun = {"--lat", "41.88", "--lon", "87.63", "--offset", "6"};
    std::vector<std::string> longRun = shortRun;
    longRun.insert(longRun.end(), {"--date", "2000-01-01", "--days", "36600"});
    const int full = ::open("/dev/full", O_WRONLY);
    ASSERT_GE(full, 0);
    int closed = ::open("/dev/null", O_WRONLY);
    ::close(closed);
    int pipeEnds[2];
    ASSERT_EQ(::pipe(pipeEnds), 0);
    ::close(pipeEnds[0]);
    const auto oldPipeHandler = std::signal(SIGPIPE, SIG_IGN);
    for (const std::vector<std::string>& args : {shortRun, longRun}) {
        EXPECT_EQ(RunToDescriptor(full, args).err,
                  "daybreak-cli: cannot write output: No space left on device\n");
        EXPECT_EQ(RunToDescriptor(full, args).status, 1);
        EXPECT_EQ(RunToDescriptor(closed, args).err,
                  "daybreak-cli: cannot write output: Bad file descriptor\n");
        const CliRun gone = RunToDescriptor(pipeEnds[1], args);
        EXPECT_EQ(gone.status, 1);
        EXPECT_EQ(gone.err, "");  // quiet, as the pipe's signal would end it
    }
    std::signal(SIGPIPE, oldPipeHandler);
    ::close(pipeEnds[1]);
    ::close(full);
}

TEST(Cli, HelpAndVersion) {
    EXPECT_EQ(RunArgs({"--version"}).out, "daybreak-cli " + std::string(kDaybreakVersion) + "\n");
    EXPECT_EQ(RunArgs({"--version", "--"}).status, 0);
    const CliRun help = RunArgs({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(RunArgs({"-h"}).out, help.out);
    for (const char* option : {"--lat", "--lon", "--offset", "--dst", "--date", "--days",
                               "--format", "--help", "--version", "Example", "--coords", "9 Alaska",
                               "man daybreak-cli", "/usr/share/doc/daybreak/user-guide.md"}) {
        EXPECT_NE(help.out.find(option), std::string::npos) << option;
    }
    // It fits an 80-column terminal without wrapping.
    std::istringstream lines(help.out);
    for (std::string line; std::getline(lines, line);) {
        EXPECT_LT(line.size(), 80u) << line;
    }
}

TEST(Cli, TablesOfDays) {
    const CliRun table = RunArgs({"--lat", "64.84", "--lon", "147.72", "--offset", "9", "--dst",
                                  "--date", "2007-06-20", "--days", "3"});
    EXPECT_EQ(table.status, 0);
    EXPECT_EQ(table.out,
              "Date        Sunrise       Sunset        Solar noon    Day length\n"
              "2007-06-20  03:02:47      00:41:42 +1   13:51:59      21:38:55\n"
              "2007-06-21  03:02:42      00:42:01 +1   13:52:12      21:39:19\n"
              "2007-06-22  03:02:49      00:42:08 +1   13:52:25      21:39:19\n");

    const CliRun csv = RunArgs({"--lat", "66.2", "--lon", "150", "--offset", "9", "--date",
                                "2007-06-21", "--days", "2", "--format", "csv"});
    EXPECT_EQ(csv.out,
              "date,sunrise,sunset,solar_noon,day_length\n"
              "2007-06-21,up all day,up all day,2007-06-21T13:01:19-09:00,24:00:00\n"
              "2007-06-22,up all day,up all day,2007-06-22T13:01:32-09:00,24:00:00\n");

    // A whole leap year, and CSV for one day without --days.
    const CliRun year = RunArgs({"--lat", "41.88", "--lon", "87.63", "--offset", "6", "--date",
                                 "2008-01-01", "--days", "366"});
    EXPECT_EQ(std::count(year.out.begin(), year.out.end(), '\n'), 367);
    EXPECT_NE(year.out.find("\n2008-12-31  "), std::string::npos);
    const CliRun one = RunArgs({"--lat", "41.88", "--lon", "87.63", "--offset", "6", "--date",
                                "2007-01-01", "--format", "csv"});
    EXPECT_EQ(one.out,
              "date,sunrise,sunset,solar_noon,day_length\n"
              "2007-01-01,2007-01-01T07:17:14-06:00,2007-01-01T16:29:36-06:00,"
              "2007-01-01T11:53:25-06:00,"
              "09:12:22\n");
}

// Runs a shell command line and returns its exit status and standard output.
std::pair<int, std::string> Shell(const std::string& command) {
    FILE* pipe = popen(command.c_str(), "r");
    std::string out;
    std::array<char, 256> buffer{};
    while (pipe != nullptr && std::fgets(buffer.data(), buffer.size(), pipe) != nullptr) {
        out += buffer.data();
    }
    const int status = pipe != nullptr ? pclose(pipe) : -1;
    return std::make_pair(WIFEXITED(status) ? WEXITSTATUS(status) : -1, out);
}

// The executable as the shell sees it: status and streams.
TEST(CliProgram, ExitStatusAndStreams) {
    auto shell = [](const std::string& args) {
        return Shell(std::string(DAYBREAK_CLI_PATH) + " " + args + " 2>/dev/null");
    };
    const auto ok = shell("--lat 41.88 --lon 87.63W --offset 6 --dst --date 2007-06-21");
    EXPECT_EQ(ok.first, 0);
    EXPECT_EQ(ok.second.rfind("Local Sunrise: Thursday, June 21, 2007,  05:15:47\n", 0), 0u);
    const auto bad = shell("--lat 41.88 --lon --offset 6");
    EXPECT_EQ(bad.first, 2);
    EXPECT_EQ(bad.second, "");
    EXPECT_EQ(shell("--version").second, "daybreak-cli " + std::string(kDaybreakVersion) + "\n");
    // Output that cannot be written: a full disk, a closed standard output.
    EXPECT_EQ(shell("--version >/dev/full").first, 1);
    EXPECT_EQ(shell("--version >&-").first, 1);
}

// Under an address-space limit below what listing the largest archive of the smallest records
// takes, the listing ends in "out of memory" and status 1, while the dump of the same file
// streams within it.
TEST(CliProgram, OutOfMemoryIsAnErrorAndTheDumpStreams) {
    if (kAddressSanitizer) {
        GTEST_SKIP() << "the sanitizer's shadow memory defeats an address-space limit";
    }
    TempDir dir;
    WriteEmptyRecords(dir.path() / "timezone.arc.TX", WorstShapeRecords());
    auto limited = [](const std::string& args) {  // standard error only
        return Shell("ulimit -v 60000; " + std::string(DAYBREAK_CLI_PATH) + " " + args +
                     " 2>&1 >/dev/null");
    };
    const auto load = limited("--archives " + dir.path().string() + " --list-cities TX");
    EXPECT_EQ(load, std::make_pair(1, std::string("daybreak-cli: out of memory\n")));
    const auto dump = limited("--dump " + (dir.path() / "timezone.arc.TX").string());
    EXPECT_EQ(dump, std::make_pair(0, std::string()));
}

// A zone reads each date on its own clock: the same lines as the manual offset with the tick
// that date needs, a table that changes hour with the clocks, and the date line's far side.
TEST(Cli, TimeZoneByTheDate) {
    const std::vector<std::string> chicago = {"--lat", "41.88", "--lon", "87.63"};
    auto run = [&](std::vector<std::string> more) {
        std::vector<std::string> args = chicago;
        args.insert(args.end(), more.begin(), more.end());
        return RunArgs(args);
    };
    struct Row {
        const char* date;
        const char* tick;
    };
    for (const Row row : {Row{"2007-03-10", "--no-dst"}, Row{"2007-03-11", "--dst"},
                          Row{"2007-11-03", "--dst"}, Row{"2007-11-04", "--no-dst"}}) {
        const CliRun zoned = run({"--tz", "America/Chicago", "--date", row.date});
        EXPECT_EQ(zoned.status, 0);
        const std::vector<std::string> manual = {"--offset", "6", "--date", row.date};
        std::vector<std::string> fixed = manual;
        if (std::string(row.tick) == "--dst") {
            fixed.push_back("--dst");
        }
        EXPECT_EQ(zoned.out, run(fixed).out) << row.date;
        // A forced tick is the fixed behaviour, with the zone's standard offset.
        EXPECT_EQ(run({"--tz", "America/Chicago", row.tick, "--date", row.date}).out,
                  run(fixed).out);
    }
    const CliRun csv =
        run({"--tz", "America/Chicago", "--date", "2007-03-10", "--days", "2", "--format", "csv"});
    EXPECT_NE(csv.out.find("2007-03-10T06:13:14-06:00"), std::string::npos) << csv.out;
    EXPECT_NE(csv.out.find("2007-03-11T07:11:32-05:00"), std::string::npos) << csv.out;

    const CliRun apia = RunArgs(
        {"--tz", "Pacific/Apia", "--lat", "13.83S", "--lon", "171.76W", "--date", "2024-06-21"});
    EXPECT_EQ(apia.out.substr(0, apia.out.find('\n')),
              "Local Sunrise: Friday, June 21, 2024,  06:48:55");

    const CliRun unknown = run({"--tz", "America/Atlantis", "--date", "2007-03-10"});
    EXPECT_EQ(unknown.status, 2);
    EXPECT_EQ(unknown.err.rfind("daybreak-cli: --tz: 'America/Atlantis' is not a time zone", 0),
              0u);
    EXPECT_EQ(run({"--tz", "America/Chicago", "--dst", "--no-dst"}).status, 2);
}

}  // namespace

// JSON and iCalendar over --days: the CSV's rows with their UTC offset; --events adds only the
// Moon to them.
TEST(Cli, JsonAndCalendarFormats) {
    const CliRun json = RunArgs({"--lat", "41.88", "--lon", "87.63", "--offset", "6", "--dst",
                                 "--date", "2007-06-21", "--days", "2", "--format", "json"});
    EXPECT_EQ(json.status, 0);
    EXPECT_EQ(json.out.substr(0, json.out.find('\n', 2)),
              "[\n  {\"date\": \"2007-06-21\", \"utc_offset\": \"-05:00\", \"sunrise\": "
              "\"2007-06-21T05:15:47-05:00\", \"sunset\": \"2007-06-21T20:28:08-05:00\", "
              "\"solar_noon\": \"2007-06-21T12:51:50-05:00\", \"day_length\": 54741},");
    const CliRun ics = RunArgs({"--lat", "41.88", "--lon", "87.63", "--offset", "6", "--date",
                                "2007-06-21", "--format", "ics"});
    EXPECT_NE(ics.out.find("DTSTART;TZID=\"UTC-06:00\":20070621T041547\r\n"), std::string::npos);
    EXPECT_EQ(ics.out.rfind("BEGIN:VCALENDAR\r\n", 0), 0u);
    // A zone whose daylight-saving hour is refused is no longer that zone's clock, with either
    // engine.
    for (const bool precise : {false, true}) {
        std::vector<std::string> args = {"--lat",      "41.88",           "--lon",    "87.63",
                                         "--tz",       "America/Chicago", "--no-dst", "--date",
                                         "2007-06-21", "--format",        "ics"};
        if (precise) {
            args.emplace_back("--precise");
        }
        const CliRun fixed = RunArgs(args);
        EXPECT_NE(fixed.out.find("DTSTART;TZID=\"UTC-06:00\":20070621T041"), std::string::npos);
        EXPECT_EQ(fixed.out.find("America/Chicago"), std::string::npos);
    }
    const CliRun events = RunArgs({"--lat", "41.88", "--lon", "87.63", "--offset", "6", "--format",
                                   "ics", "--events", "civil"});
    EXPECT_EQ(events.status, 2);
    EXPECT_TRUE(events.out.empty());
}

// "today" and the days around it are counted from the place's date when its zone is known:
// at 23:43 UTC on Monday 2026-12-07 it is already Tuesday in Tokyo.
TEST(Cli, RelativeDatesCountFromTodayAtThePlace) {
    constexpr std::int64_t kMondayEvening = 1796686980;
    auto run = [](std::vector<std::string> args, const std::string& date) {
        args.insert(args.end(), {"--lat", "35.68", "--lon", "139.69E", "--date", date});
        std::ostringstream out;
        std::ostringstream err;
        RunCli(args, out, err, CCliSystem{[] { return kMondayEvening; }, {}});
        return out.str() + err.str();
    };
    const std::vector<std::string> tokyo = {"--tz", "Asia/Tokyo"};
    const std::vector<std::string> chicago = {"--tz", "America/Chicago"};
    EXPECT_EQ(run(tokyo, "today"), run(tokyo, "2026-12-08"));
    EXPECT_EQ(run(tokyo, "tomorrow"), run(tokyo, "2026-12-09"));
    EXPECT_EQ(run(tokyo, "yesterday"), run(tokyo, "2026-12-07"));
    EXPECT_EQ(run(tokyo, "+30"), run(tokyo, "2027-01-07"));
    EXPECT_EQ(run(chicago, "today"), run(chicago, "2026-12-07"));
    EXPECT_EQ(run(chicago, "-7"), run(chicago, "2026-11-30"));
    // A fixed offset is no zone: the computer's date.
    const CCivilDate here = LocalDateOf(CTime(kMondayEvening));
    char iso[11];
    std::snprintf(iso, sizeof iso, "%04d-%02d-%02d", here.year, here.month, here.day);
    EXPECT_EQ(run({"--offset", "-9"}, "today"), run({"--offset", "-9"}, iso));
}

// --now and --wait on an injected wall clock: Chicago, 21 June 2007 (CDT, UTC-05:00).
class CliClockTest : public testing::Test {
protected:
    std::pair<int, std::string> Run(std::vector<std::string> extra) {
        std::vector<std::string> args = {"--lat", "41.88", "--lon",
                                         "87.63", "--tz",  "America/Chicago"};
        args.insert(args.end(), extra.begin(), extra.end());
        std::ostringstream out;
        std::ostringstream err;
        CCliSystem system;
        system.now = [this] { return m_now; };
        system.sleepUntil = [this](std::int64_t until) {
            m_sleeps.push_back(until);
            // Each sleep ends at most an hour on; the first one finds the clock set back
            // an hour, as after a change of clocks.
            m_now = std::min(until, m_now + 3600) - (m_sleeps.size() == 1 ? 3600 : 0);
        };
        const int status = RunCli(args, out, err, system);
        return {status, out.str() + err.str()};
    }

    std::int64_t m_now = 0;
    std::vector<std::int64_t> m_sleeps;
};

TEST_F(CliClockTest, NowNamesTheLightAndExitsZeroOnlyByDay) {
    const struct {
        std::int64_t instant;
        int status;
        const char* state;
    } rows[] = {
        {1182445200, 0, "day (the Sun 68.6 degrees above"},            // 12:00
        {1182476700, 1, "civil twilight (the Sun 3.3 degrees below"},  // 20:45
        {1182402000, 1, "night (the Sun 23.6 degrees below"},          // 00:00
    };
    for (const auto& row : rows) {
        m_now = row.instant;
        const auto [status, out] = Run({"--now"});
        EXPECT_EQ(status, row.status) << out;
        EXPECT_EQ(out.rfind(row.state, 0), 0u) << out;
    }
}

TEST_F(CliClockTest, WaitSleepsUntilTheEventWhateverTheClockDoes) {
    m_now = 1182445200;  // 12:00
    const auto [status, out] = Run({"--wait", "sunset-30"});
    EXPECT_EQ(status, 0);
    EXPECT_EQ(out, "Sunset: Thursday, June 21, 2007,  20:28:08\n");
    EXPECT_EQ(m_now, 1182473888);    // 19:58:08, after the clock was set back on the way
    EXPECT_EQ(m_sleeps.size(), 9u);  // 8 h 58 min in steps of an hour, one set back
    // After the day's sunset, across midnight: the next day's.
    m_now = 1182484800;  // 23:00
    m_sleeps.clear();
    EXPECT_EQ(Run({"--wait", "sunset"}).second, "Sunset: Friday, June 22, 2007,  20:28:20\n");
    EXPECT_EQ(Run({"--wait", "dusk"}).first, 2);
}
