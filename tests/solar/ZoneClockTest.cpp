#include <gtest/gtest.h>

#include "ZoneClock.h"

namespace {

CZoneClock Zone(const char* name) {
    std::optional<CZoneClock> zone = CZoneClock::Load(name);
    if (!zone) {
        ADD_FAILURE() << "zone not loaded: " << name;
        return *CZoneClock::Load("UTC");
    }
    return *zone;
}

void ExpectSameResult(const CSolarResult& a, const CSolarResult& b, const std::string& where) {
    EXPECT_EQ(FormatSolarTime(a), FormatSolarTime(b)) << where;
}

// Each row is a date whose clock the database knows, around changes of clocks and in history.
TEST(ZoneClock, ClockOfTheDateFollowsTheDatabase) {
    struct Row {
        const char* zone;
        CCivilDate date;
        float offset;
        int dst;
        const char* abbreviation;
    };
    const Row rows[] = {
        {"America/Chicago", {2007, 3, 10}, 6, 0, "CST"},
        {"America/Chicago", {2007, 3, 11}, 6, 1, "CDT"},
        {"America/Chicago", {2007, 11, 3}, 6, 1, "CDT"},
        {"America/Chicago", {2007, 11, 4}, 6, 0, "CST"},
        {"America/Chicago", {2006, 4, 1}, 6, 0, "CST"},
        {"America/Chicago", {2006, 4, 2}, 6, 1, "CDT"},
        {"America/Chicago", {2006, 10, 28}, 6, 1, "CDT"},
        {"America/Chicago", {2006, 10, 29}, 6, 0, "CST"},
        {"America/Indiana/Indianapolis", {2005, 7, 1}, 5, 0, "EST"},
        {"America/Indiana/Indianapolis", {2006, 7, 1}, 5, 1, "EDT"},
        {"America/Phoenix", {2007, 7, 1}, 7, 0, "MST"},
        {"America/Denver", {2007, 7, 1}, 7, 1, "MDT"},
        {"Pacific/Honolulu", {2007, 7, 1}, 10, 0, "HST"},
        {"America/Adak", {2007, 7, 1}, 10, 1, "HDT"},
        {"Pacific/Guam", {2007, 7, 1}, -10, 0, "ChST"},
        {"America/New_York", {1974, 1, 15}, 5, 1, "EDT"},
        {"Pacific/Apia", {2024, 6, 21}, -13, 0, "+13"},
    };
    for (const Row& row : rows) {
        const CClockOnDate clock = Zone(row.zone).OnDate(row.date);
        const std::string where = std::string(row.zone) + " " + std::to_string(row.date.month) +
                                  "/" + std::to_string(row.date.day);
        EXPECT_EQ(clock.offset, row.offset) << where;
        EXPECT_EQ(clock.dst, row.dst) << where;
        EXPECT_EQ(clock.abbreviation, row.abbreviation) << where;
    }
}

TEST(ZoneClock, UnknownOrUnsafeNamesAreRefused) {
    for (const char* name : {"", "Mars/Olympus_Mons", "../../etc/passwd", "/etc/localtime",
                             "America/../America/Chicago", "America/Chicago\n"}) {
        EXPECT_FALSE(CZoneClock::Load(name).has_value()) << name;
    }
}

TEST(ZoneClock, EventsEqualTheManualOnesWithTheRightTick) {
    const CZoneClock chicago = Zone("America/Chicago");
    for (const CCivilDate date : {CCivilDate{2007, 3, 10}, CCivilDate{2007, 3, 11},
                                  CCivilDate{2007, 11, 3}, CCivilDate{2007, 11, 4}}) {
        const CClockOnDate clock = chicago.OnDate(date);
        ExpectSameResult(ZonedSunrise(date, 41.88, 87.63, chicago),
                         LocalSunrise(date, 41.88, 87.63, 6.0f, clock.dst), "sunrise");
        ExpectSameResult(ZonedSunset(date, 41.88, 87.63, chicago),
                         LocalSunset(date, 41.88, 87.63, 6.0f, clock.dst), "sunset");
        ExpectSameResult(ZonedSolarNoon(date, 87.63, chicago),
                         LocalSolarNoon(date, 87.63, 6.0f, clock.dst), "noon");
    }
    // Fairbanks' summer sunset carries past midnight as the manual one does.
    const CCivilDate midsummer{2007, 6, 21};
    ExpectSameResult(ZonedSunset(midsummer, 64.84, 147.72, Zone("America/Anchorage")),
                     LocalSunset(midsummer, 64.84, 147.72, 9.0f, 1), "Fairbanks");
}

TEST(ZoneClock, TableRowsEqualSingleDaysOnBothSidesOfEachChange) {
    const CZoneClock chicago = Zone("America/Chicago");
    const std::vector<CSolarDay> rows =
        ZonedSolarTable(CCivilDate{2007, 1, 1}, 366, 41.88, 87.63, chicago);
    ASSERT_EQ(rows.size(), 366u);
    EXPECT_EQ(rows.back().date, (CCivilDate{2008, 1, 1}));
    for (const CSolarDay& row : rows) {
        const int dst = chicago.OnDate(row.date).dst;
        const std::string where = FormatSolarTime(CCivilTime{row.date});
        ExpectSameResult(row.sunrise, LocalSunrise(row.date, 41.88, 87.63, 6.0f, dst), where);
        ExpectSameResult(row.sunset, LocalSunset(row.date, 41.88, 87.63, 6.0f, dst), where);
        ExpectSameResult(row.solarNoon, LocalSolarNoon(row.date, 87.63, 6.0f, dst), where);
    }
}

TEST(ZoneClock, EventsBeyondTheDateLineFallOnTheDateAsked) {
    const CZoneClock apia = Zone("Pacific/Apia");
    const CCivilDate date{2024, 6, 21};
    const CSolarResult sunrise = ZonedSunrise(date, -13.83, 171.76, apia);
    ASSERT_TRUE(sunrise.HasTime());
    EXPECT_EQ(sunrise.time.date, date);
    EXPECT_EQ(sunrise.time.hour, 6);
    EXPECT_NEAR(sunrise.time.minute, 49, 2);
    EXPECT_EQ(ZonedSolarNoon(date, 171.76, apia).time.date, date);
    const std::vector<CSolarDay> rows = ZonedSolarTable(date, 3, -13.83, 171.76, apia);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(FormatSolarTime(rows[0].sunrise), FormatSolarTime(sunrise));
    EXPECT_EQ(rows[2].sunset.time.date, (CCivilDate{2024, 6, 23}));
}

TEST(ZoneClock, UtcOffsetText) {
    EXPECT_EQ(FormatUtcOffset(-18000), "UTC-05:00");
    EXPECT_EQ(FormatUtcOffset(20700), "UTC+05:45");
    EXPECT_EQ(FormatUtcOffset(0), "UTC+00:00");
}

}  // namespace
