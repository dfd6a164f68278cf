#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "LocalSolarTime.h"
#include "ResultText.h"

namespace {

// Barrow, Alaska (71.2346 N, 156.8174 W, offset 9) in the polar night and the midnight sun.
CResultTexts Barrow(const CCivilDate& date, bool sunset) {
    constexpr double kLat = 71.2346;
    constexpr double kLon = 156.8174;
    const CSolarResult result =
        sunset ? LocalSunset(date, kLat, kLon, 9.0f, 0) : LocalSunrise(date, kLat, kLon, 9.0f, 0);
    std::optional<CCivilDate> ends;
    if (!result.HasTime()) {
        ends = NextCrossingDate(
            result.outcome == SolarOutcome::UpAllDay ? SolarEvent::Sunset : SolarEvent::Sunrise,
            date, kLat, kLon, 9.0f, 0);
    }
    return ResultTexts(result, date, ends);
}

// The field names the end of the polar day or night; the tooltip keeps the engine's text
// (with its last or next day) and adds that end. A time is shown as the engine writes it.
TEST(ResultTexts, PolarDaysNameTheirEndAndTimesStayWhole) {
    const struct {
        CResultTexts texts;
        std::string shown;
        std::string tooltipEnd;
    } rows[] = {
        {Barrow({2026, 12, 7}, false), "Sun down all day; rises Jan 24, 2027",
         "(next sunrise Sunday, January 24, 2027,  13:06:29)\nThe Sun next rises on Sunday, "
         "January 24, 2027."},
        {Barrow({2026, 12, 7}, true), "Sun down all day; rises Jan 24, 2027",
         "The Sun next rises on Sunday, January 24, 2027."},
        {Barrow({2026, 6, 11}, false), "Sun up all day; sets Aug 3",
         "(last sunrise Monday, May 11, 2026,  01:54:07)\nThe Sun next sets on Monday, August "
         "03, 2026."},
        {Barrow({2007, 6, 21}, true), "Sun up all day; sets Aug 3",
         "The Sun next sets on Friday, August 03, 2007."},
        {ResultTexts(LocalSunrise({2007, 6, 21}, 41.88, 87.63, 6.0f, 1), {2007, 6, 21}, {}),
         "Thursday, June 21, 2007,  05:15:47", "Thursday, June 21, 2007,  05:15:47"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(row.texts.shown, row.shown) << row.texts.full;
        EXPECT_EQ(row.texts.tooltip.rfind(row.texts.full, 0), 0u) << row.texts.tooltip;
        EXPECT_TRUE(row.texts.tooltip.ends_with(row.tooltipEnd)) << row.texts.tooltip;
    }
}

}  // namespace
