// --precise and --events: the lines and columns they select, and the plain output they leave
// alone.
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
    EXPECT_EQ(Out(Chicago({"--precise=yes"}), 2), "daybreak-cli: --precise: takes no value\n");
}

}  // namespace
