#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "CTime.h"
#include "LocalSolarTime.h"
#include "SolarTable.h"

namespace {

struct Place {
    double lat, lon;
    float offset;
};

constexpr Place kChicago{41.88, 87.63, 6};
constexpr Place kGuam{13.44, -144.79, -10};
constexpr Place kFairbanks{64.84, 147.72, 9};

TEST(LocalSolarTime, PublishedResultTexts) {
    struct Row {
        Place place;
        CCivilDate date;
        int dst;
        const char* sunrise;
        const char* sunset;
        const char* noon;
    };
    const Row rows[] = {
        {kChicago,
         {2007, 6, 21},
         1,
         "Thursday, June 21, 2007,  05:15:47",
         "Thursday, June 21, 2007,  20:28:08",
         "Thursday, June 21, 2007,  12:51:50"},
        {kChicago,
         {2008, 6, 21},
         1,
         "Saturday, June 21, 2008,  05:15:59",
         "Saturday, June 21, 2008,  20:28:20",
         "Saturday, June 21, 2008,  12:52:04"},
        {kChicago,
         {2007, 1, 1},
         0,
         "Monday, January 01, 2007,  07:17:14",
         "Monday, January 01, 2007,  16:29:36",
         "Monday, January 01, 2007,  11:53:25"},
        {kGuam,
         {2007, 6, 21},
         0,
         "Thursday, June 21, 2007,  05:54:48",
         "Thursday, June 21, 2007,  18:49:31",
         "Thursday, June 21, 2007,  12:22:10"},
        // The Sun sets after local midnight: the result carries to the next date.
        {kFairbanks,
         {2007, 6, 21},
         1,
         "Thursday, June 21, 2007,  03:02:42",
         "Friday, June 22, 2007,  00:42:01",
         "Thursday, June 21, 2007,  13:52:12"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.sunrise);
        const Place& p = r.place;
        EXPECT_EQ(FormatSolarTime(LocalSunrise(r.date, p.lat, p.lon, p.offset, r.dst)), r.sunrise);
        EXPECT_EQ(FormatSolarTime(LocalSunset(r.date, p.lat, p.lon, p.offset, r.dst)), r.sunset);
        EXPECT_EQ(FormatSolarTime(LocalSolarNoon(r.date, p.lon, p.offset, r.dst)), r.noon);
    }
}

TEST(LocalSolarTime, DaylightSavingMovesEveryResultOneHour) {
    // Over a whole leap year, including Fairbanks where the hour pushes sunset past midnight.
    for (const Place& p : {kChicago, kGuam, kFairbanks}) {
        for (CCivilDate date{2008, 1, 1}; date.year == 2008; date = AddDays(date, 1)) {
            const auto sunrise0 = LocalSunrise(date, p.lat, p.lon, p.offset, 0);
            const auto sunrise1 = LocalSunrise(date, p.lat, p.lon, p.offset, 1);
            const auto sunset0 = LocalSunset(date, p.lat, p.lon, p.offset, 0);
            const auto sunset1 = LocalSunset(date, p.lat, p.lon, p.offset, 1);
            const auto noon0 = LocalSolarNoon(date, p.lon, p.offset, 0);
            const auto noon1 = LocalSolarNoon(date, p.lon, p.offset, 1);
            ASSERT_TRUE(sunrise0.HasTime() && sunset0.HasTime());
            ASSERT_EQ(CivilSeconds(sunrise1.time) - CivilSeconds(sunrise0.time), 3600);
            ASSERT_EQ(CivilSeconds(sunset1.time) - CivilSeconds(sunset0.time), 3600);
            ASSERT_EQ(CivilSeconds(noon1.time) - CivilSeconds(noon0.time), 3600);
        }
    }
}

TEST(LocalSolarTime, ClockTimeCarriesAcrossMidnight) {
    struct Row {
        double minutes;
        CCivilDate date;
        float offset;
        int dst;
        CCivilTime expected;
    };
    const Row rows[] = {
        {0, {2007, 6, 21}, 0, 0, {{2007, 6, 21}, 0, 0, 0}},
        {1439.999, {2007, 6, 21}, 0, 0, {{2007, 6, 21}, 23, 59, 59}},
        {1440, {2007, 6, 21}, 0, 0, {{2007, 6, 22}, 0, 0, 0}},
        {-30, {2007, 6, 21}, 0, 0, {{2007, 6, 20}, 23, 30, 0}},
        {1470, {2007, 6, 21}, 0, 1, {{2007, 6, 22}, 1, 30, 0}},      // 24.5 hours, one more for DST
        {-1e-13, {2007, 6, 21}, 0, 0, {{2007, 6, 21}, 0, 0, 0}},     // a hair before midnight
        {315.798, {2007, 6, 21}, 0, 0, {{2007, 6, 21}, 5, 15, 47}},  // 05:15:47.88 truncates
        {60, {2007, 12, 31}, -23.5f, 0, {{2008, 1, 1}, 0, 30, 0}},   // into the next year
        {60, {2008, 1, 1}, 2, 0, {{2007, 12, 31}, 23, 0, 0}},        // into the previous one
        {1500, {2008, 2, 28}, 0, 0, {{2008, 2, 29}, 1, 0, 0}},       // leap day
        {1500, {2007, 2, 28}, 0, 0, {{2007, 3, 1}, 1, 0, 0}},
        {-2940, {2007, 3, 1}, 0, 0, {{2007, 2, 26}, 23, 0, 0}},  // into the third day back
    };
    for (const Row& r : rows) {
        const CCivilTime t = UtcMinutesToLocalTime(r.minutes, r.date, r.offset, r.dst);
        EXPECT_EQ(FormatSolarTime(t), FormatSolarTime(r.expected)) << r.minutes;
    }
}

// Sets the process's time zone for one test and puts the previous one back.
class ZoneScope {
public:
    explicit ZoneScope(const char* zone) {
        if (const char* old = std::getenv("TZ")) {
            m_old = old;
            m_hadOld = true;
        }
        setenv("TZ", zone, 1);
        tzset();
    }
    ~ZoneScope() {
        if (m_hadOld) {
            setenv("TZ", m_old.c_str(), 1);
        } else {
            unsetenv("TZ");
        }
        tzset();
    }

private:
    std::string m_old;
    bool m_hadOld = false;
};

bool HaveZone(const char* zone) {
    return std::filesystem::exists(std::filesystem::path("/usr/share/zoneinfo") / zone);
}

TEST(LocalSolarTime, ResultsDoNotDependOnTheComputersZone) {
    // Each case puts an event into the hour the zone skips when its daylight saving begins:
    // Chicago on 11 March 2007 (02:00 to 03:00), Auckland on 30 September 2007.
    struct Row {
        const char* zone;
        CCivilDate date;
        Place place;
        const char* sunrise;
    };
    const Row rows[] = {
        {"America/Chicago", {2007, 3, 11}, {41.88, 87.63, 10}, "Sunday, March 11, 2007,  02:11:32"},
        {"Pacific/Auckland",
         {2007, 9, 30},
         {-36.85, -174.76, -9},
         "Sunday, September 30, 2007,  02:59:00"},
    };
    for (const Row& r : rows) {
        if (!HaveZone(r.zone)) {
            GTEST_SKIP() << "time-zone data for " << r.zone << " is not installed";
        }
        const Place& p = r.place;
        const std::string expected =
            FormatSolarTime(LocalSunrise(r.date, p.lat, p.lon, p.offset, 0));
        EXPECT_EQ(expected, r.sunrise);
        const std::string sunset = FormatSolarTime(LocalSunset(r.date, p.lat, p.lon, p.offset, 0));
        const std::string noon = FormatSolarTime(LocalSolarNoon(r.date, p.lon, p.offset, 0));

        ZoneScope zone(r.zone);
        // The date picker's value at local midnight and at local noon of that date.
        for (int hour : {0, 12, 23}) {
            const auto picked = CTime::FromLocal(r.date.year, r.date.month, r.date.day, hour);
            ASSERT_TRUE(picked.has_value());
            EXPECT_EQ(FormatSolarTime(LocalSunrise(*picked, p.lat, p.lon, p.offset, 0)), expected);
            EXPECT_EQ(FormatSolarTime(LocalSunset(*picked, p.lat, p.lon, p.offset, 0)), sunset);
            EXPECT_EQ(FormatSolarTime(LocalSolarNoon(*picked, p.lon, p.offset, 0)), noon);
        }
    }
}

TEST(SolarTable, RowsMatchTheSingleDayOperations) {
    const Place places[] = {kChicago,          kGuam,           kFairbanks,       {66.2, 150, 9},
                            {-66.3, -140, -9}, {70, 147.72, 9}, {-75, 0.5, 0},    {10, 180, 12},
                            {10, -180, -12},   {10, 1000, 12},  {-10, -1000, -12}};
    for (const Place& p : places) {
        for (int dst : {0, 1}) {
            // Two years and a bit, across a leap year's end.
            const CCivilDate first{2007, 12, 1};
            const auto rows = LocalSolarTable(first, 800, p.lat, p.lon, p.offset, dst);
            ASSERT_EQ(rows.size(), 800u);
            for (std::size_t i = 0; i < rows.size(); ++i) {
                const CSolarDay& row = rows[i];
                ASSERT_EQ(row.date, AddDays(first, static_cast<std::int64_t>(i)));
                auto sunrise = LocalSunrise(row.date, p.lat, p.lon, p.offset, dst);
                auto sunset = LocalSunset(row.date, p.lat, p.lon, p.offset, dst);
                sunrise.nearest = sunset.nearest = NearestEvent::None;  // no search in tables
                const auto noon = LocalSolarNoon(row.date, p.lon, p.offset, dst);
                ASSERT_EQ(FormatSolarTime(row.sunrise), FormatSolarTime(sunrise))
                    << p.lat << ", " << p.lon << ", day " << i;
                ASSERT_EQ(FormatSolarTime(row.sunset), FormatSolarTime(sunset));
                ASSERT_EQ(FormatSolarTime(row.solarNoon), FormatSolarTime(noon));
            }
        }
    }
    EXPECT_TRUE(LocalSolarTable({2007, 1, 1}, 0, 41.88, 87.63, 6, 0).empty());
    EXPECT_EQ(LocalSolarTable({1900, 1, 1}, kMaxSolarTableDays, 41.88, 87.63, 6, 0).size(),
              static_cast<std::size_t>(kMaxSolarTableDays));
    EXPECT_THROW(LocalSolarTable({1900, 1, 1}, kMaxSolarTableDays + 1, 41.88, 87.63, 6, 0),
                 CSolarException);
    // The last row must lie within the supported years too.
    EXPECT_THROW(LocalSolarTable({9999, 12, 31}, 2, 41.88, 87.63, 6, 0), CSolarException);
}

}  // namespace
