#include <gtest/gtest.h>

#include <string>

#include "LocalSolarTime.h"
#include "ResultText.h"

namespace {

// Barrow, Alaska (71.2346 N, 156.8174 W, offset 9) in the polar night and the midnight sun.
std::string Barrow(const CCivilDate& date, bool sunset) {
    return FormatSolarTime(sunset ? LocalSunset(date, 71.2346, 156.8174, 9.0f, 0)
                                  : LocalSunrise(date, 71.2346, 156.8174, 9.0f, 0));
}

TEST(CompactResultText, NotesWithANearestDayShortenOthersStay) {
    const struct {
        std::string text;
        std::string shown;
    } rows[] = {
        {Barrow({2026, 12, 7}, false), "Sun down all day; next sunrise Jan 24, 2027 13:06:29"},
        {Barrow({2026, 12, 7}, true), "Sun down all day; next sunset Jan 24, 2027 14:10:55"},
        {Barrow({2027, 6, 7}, false), "Sun up all day; last sunrise May 11, 2027 01:54:07"},
        {Barrow({2027, 6, 7}, true), "Sun up all day; last sunset May 12, 2027 00:52:41"},
        {"Thursday, June 21, 2007,  05:15:47", "Thursday, June 21, 2007,  05:15:47"},
        {"No sunrise: the Sun is up all day", "No sunrise: the Sun is up all day"},
        {"", ""},
        {"North Slope", "North Slope"},
        // Not the engine's note: shown as it is.
        {"No sunrise: the Sun is down all day (next sunrise soon)",
         "No sunrise: the Sun is down all day (next sunrise soon)"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(CompactResultText(row.text), row.shown) << row.text;
    }
}

}  // namespace
