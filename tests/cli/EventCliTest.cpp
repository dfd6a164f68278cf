// --precise and --events: the lines and columns they select, and the plain output they leave
// alone; --almanac.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "Cli.h"

namespace {

std::vector<std::string> Chicago(std::vector<std::string> extra) {
    std::vector<std::string> args = {"--lat", "41.88",  "--lon",      "87.63", "--offset",
                                     "6",     "--date", "2007-06-21", "--dst"};
    args.insert(args.end(), extra.begin(), extra.end());
    return args;
}

std::string Out(const std::vector<std::string>& args, int expectedStatus = 0) {
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(RunCli(args, out, err), expectedStatus) << err.str();
    return out.str() + err.str();
}

TEST(EventCli, PreciseLines) {
    // Within 6 s of the ephemeris: 05:15:24, 20:29:09 and 12:52:16 (truncated).
    EXPECT_EQ(Out(Chicago({"--precise"})),
              "Local Sunrise: Thursday, June 21, 2007,  05:15:23\n"
              "Local Sunset: Thursday, June 21, 2007,  20:29:09\n"
              "Local Solar Noon: Thursday, June 21, 2007,  12:52:16\n");
    EXPECT_EQ(Out(Chicago({"--events", "civil,azimuth,civil"})),
              "Civil Dawn: Thursday, June 21, 2007,  04:40:59\n"
              "Civil Dusk: Thursday, June 21, 2007,  21:03:32\n"
              "Sunrise Azimuth: 56.8 degrees\n"
              "Sunset Azimuth: 303.2 degrees\n"
              "Solar Noon Elevation: 71.6 degrees\n");
}

TEST(EventCli, DefaultEventsWithoutPreciseAreThePlainOutput) {
    const std::vector<std::string> sameAsPlain = {"--events", "sunrise,sunset,noon"};
    for (const std::vector<std::string>& form :
         {std::vector<std::string>{}, {"--days", "3"}, {"--days", "2", "--format", "csv"}}) {
        std::vector<std::string> withEvents = form;
        withEvents.insert(withEvents.end(), sameAsPlain.begin(), sameAsPlain.end());
        EXPECT_EQ(Out(Chicago(withEvents)), Out(Chicago(form)));
    }
}

TEST(EventCli, TableAndCsvColumns) {
    EXPECT_EQ(Out({"--lat", "70", "--lon", "147.72", "--offset", "9", "--date", "2007-06-20",
                   "--days", "2", "--events", "noon,nautical"}),
              "Date        Solar noon    Nautical dawn  Nautical dusk\n"
              "2007-06-20  12:51:59      up all day     up all day\n"
              "2007-06-21  12:52:12      up all day     up all day\n");
    const std::string csv =
        Out(Chicago({"--precise", "--events", "sunset,sunrise,blue", "--format", "csv"}));
    EXPECT_EQ(csv.substr(0, csv.find('\n')),
              "date,sunset,sunrise,morning_blue_hour_start,morning_blue_hour_end,"
              "evening_blue_hour_start,evening_blue_hour_end,day_length");
    EXPECT_EQ(csv.substr(csv.find('\n') + 1),
              "2007-06-21,2007-06-21T20:29:09-05:00,2007-06-21T05:15:23-05:00,"
              "2007-06-21T04:40:59-05:00,2007-06-21T04:54:37-05:00,2007-06-21T20:49:55-05:00,"
              "2007-06-21T21:03:32-05:00,15:13:46\n");
}

TEST(EventCli, BadEventListsAreRefused) {
    for (const char* list : {"", "sunrise,", "dawn", "Sunrise"}) {
        const std::string out = Out(Chicago({"--events", list}), 2);
        EXPECT_EQ(out.rfind("daybreak-cli: --events: '", 0), 0u) << out;
    }
    EXPECT_EQ(Out(Chicago({"--precise=yes"}), 2),
              std::string("daybreak-cli: --precise: takes no value\n") + kCliHelpHint);
}

std::size_t Count(const std::string& text, const std::string& what) {
    std::size_t count = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) {
        ++count;
    }
    return count;
}

// 26 June 2024 in Chicago has no moonrise: the Moon rises at 00:02 on the 27th.
std::vector<std::string> ChicagoMoon(std::vector<std::string> extra) {
    std::vector<std::string> args = {
        "--lat",           "41.88",  "--lon",      "87.63",    "--tz",
        "America/Chicago", "--date", "2024-06-26", "--events", "moonrise,moonset,moon"};
    args.insert(args.end(), extra.begin(), extra.end());
    return args;
}

TEST(EventCli, MoonInEveryForm) {
    EXPECT_EQ(Out(ChicagoMoon({})),
              "Moonrise: No moonrise on this date\n"
              "Moonset: Wednesday, June 26, 2024,  10:17:04\n"
              "Moon: Waning Gibbous, 74.4% lit\n");
    EXPECT_EQ(Out(ChicagoMoon({"--days", "2"})),
              "Date        Moonrise      Moonset       Moon phase       Moon illumination\n"
              "2024-06-26  -             10:17:04      Waning Gibbous   74.4\n"
              "2024-06-27  00:02:35      11:32:15      Waning Gibbous   63.8\n");
    EXPECT_EQ(Out(ChicagoMoon({"--format", "csv"})),
              "date,moonrise,moonset,moon_phase,moon_illumination\n"
              "2024-06-26,,2024-06-26T10:17:04-05:00,Waning Gibbous,74.4\n");
    EXPECT_NE(Out(ChicagoMoon({"--format", "json"}))
                  .find("\"moonrise\": null, \"moonset\": \"2024-06-26T10:17:04-05:00\", "
                        "\"moon_phase\": \"Waning Gibbous\", \"moon_illumination\": 74.4}"),
              std::string::npos);
    const std::string ics = Out(ChicagoMoon({"--days", "2", "--format", "ics"}));
    EXPECT_EQ(Count(ics, "SUMMARY:Moonrise"), 1u);
    EXPECT_EQ(Count(ics, "SUMMARY:Moonset"), 2u);
    // The Moon stays up over Svalbard.
    EXPECT_EQ(Out({"--lat", "78.2", "--lon", "-15.6", "--offset", "-1", "--date", "2024-06-11",
                   "--events", "moonset"}),
              "Moonset: No moonset: the Moon is up all day\n");
    EXPECT_EQ(Out(ChicagoMoon({"--events", "civil", "--format", "ics"}), 2)
                  .rfind("daybreak-cli: --events: the ics format", 0),
              0u);
}

// JSON takes any events: the day objects' fields named as the CSV columns, angles as numbers,
// polar days as text, the day length in seconds.
TEST(EventCli, JsonCarriesTheChosenEvents) {
    EXPECT_EQ(Out(Chicago({"--events", "sunset,sunrise,azimuth,civil", "--format", "json"})),
              "[\n  {\"date\": \"2007-06-21\", \"utc_offset\": \"-05:00\", "
              "\"sunset\": \"2007-06-21T20:28:08-05:00\", "
              "\"sunrise\": \"2007-06-21T05:15:47-05:00\", \"sunrise_azimuth\": 56.8, "
              "\"sunset_azimuth\": 303.2, \"solar_noon_elevation\": 71.6, "
              "\"civil_dawn\": \"2007-06-21T04:40:59-05:00\", "
              "\"civil_dusk\": \"2007-06-21T21:03:32-05:00\", \"day_length\": 54741}\n]\n");
    EXPECT_NE(Out({"--lat", "70", "--lon", "0", "--offset", "0", "--date", "2007-06-21", "--events",
                   "nautical", "--format", "json"})
                  .find("\"nautical_dawn\": \"up all day\""),
              std::string::npos);
}

TEST(EventCli, AlmanacOnTheClock) {
    const std::string csv =
        Out({"--almanac", "2026", "--tz", "America/Chicago", "--format", "csv"});
    EXPECT_EQ(csv.substr(0, csv.find('\n', 11) + 1),
              "event,time\nfull_moon,2026-01-03T04:02:53-06:00\n");
    // Each on the clock of its own date.
    EXPECT_NE(csv.find("\njune_solstice,2026-06-21T03:24:23-05:00\nfirst_quarter,"),
              std::string::npos);
    EXPECT_NE(csv.find("\ndecember_solstice,2026-12-21T14:50:06-06:00\n"), std::string::npos);
    const std::size_t rows = Count(csv, "\n") - 1;
    EXPECT_EQ(rows, 54u);  // 50 phases, 4 seasons
    EXPECT_EQ(Out({"--almanac", "2026", "--offset", "0"}).substr(0, 49),
              "Full Moon: Saturday, January 03, 2026,  10:02:53\n");
    EXPECT_EQ(Count(Out({"--almanac", "2026", "--offset", "0", "--format", "json"}), "\"event\""),
              rows);
    EXPECT_EQ(Count(Out({"--almanac", "2026", "--offset", "0", "--format", "ics"}), "BEGIN:VEVENT"),
              rows);
    // A year's ends are its clock's: the full moon of 31 December 2009, 19:12 UTC, is 2010's
    // 14 hours east.
    const std::string east = Out({"--almanac", "2010", "--offset", "-14", "--format", "csv"});
    EXPECT_EQ(east.substr(11, east.find('\n', 11) - 11), "full_moon,2010-01-01T09:12:50+14:00");
    EXPECT_EQ(Out({"--almanac", "2026"}, 2).rfind("daybreak-cli: --almanac: needs a clock", 0), 0u);
    for (const char* year : {"1899", "10000", "20x6"}) {
        EXPECT_EQ(
            Out({"--almanac", year, "--offset", "0"}, 2).rfind("daybreak-cli: --almanac: '", 0),
            0u);
    }
    EXPECT_EQ(
        Out({"--almanac", "2026", "--offset", "0", "--days", "2"}, 2),
        std::string(
            "daybreak-cli: --almanac: goes without --date, --days, --precise and --events\n") +
            kCliHelpHint);
}

}  // namespace
