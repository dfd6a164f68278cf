#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DayOnClock.h"

namespace {

struct CCollectDays final : CDayOnClockSink {
    std::vector<CDayOnClock> days;
    void Add(const CDayOnClock& day) override { days.push_back(day); }
};

// A table's row is the single day of its date, on its own clock, from the same engine; where
// the table is made in blocks or changes clocks, too. (No polar day here: a table row names no
// nearest day.) The Moon's rows likewise, on the same clocks.
TEST(DayOnClock, TableRowsAreTheSingleDays) {
    struct Row {
        CClockChoice clock;
        CCivilDate first;
        int days;
        int checkFrom;  // the rows compared: the change of clocks, or the blocks' seam
    };
    const Row rows[] = {
        {CClockChoice::Zone(*CZoneClock::Load("America/Chicago")), {2007, 3, 8}, 6, 0},
        {CClockChoice::Fixed(6.0f, 1), {2007, 1, 1}, 1030, 1020},
    };
    const SunAltitudeMask civil = SunAltitudeBit(SunAltitude::Civil);
    for (const Row& row : rows) {
        for (const SolarEngine engine : {SolarEngine::Series, SolarEngine::Precise}) {
            CCollectDays table;
            SolarDaysOnClock(row.clock, row.first, row.days, 41.88, 87.63, engine, civil, table,
                             true);
            ASSERT_EQ(table.days.size(), static_cast<std::size_t>(row.days));
            for (int i = row.checkFrom; i < row.days; ++i) {
                const CDayOnClock& got = table.days[static_cast<std::size_t>(i)];
                const CDayOnClock want = SolarDayOnClock(row.clock, AddDays(row.first, i), 41.88,
                                                         87.63, engine, civil, true);
                SCOPED_TRACE(FormatSolarTime(want.solarNoon));
                EXPECT_EQ(got.date, want.date);
                EXPECT_EQ(got.clock, want.clock);
                EXPECT_EQ(FormatSolarTime(got.sunrise), FormatSolarTime(want.sunrise));
                EXPECT_EQ(FormatSolarTime(got.sunset), FormatSolarTime(want.sunset));
                EXPECT_EQ(FormatSolarTime(got.solarNoon), FormatSolarTime(want.solarNoon));
                EXPECT_EQ(FormatSunEvent(got.precise[SunEvent::CivilDusk]),
                          FormatSunEvent(want.precise[SunEvent::CivilDusk]));
                for (const MoonEvent event : {MoonEvent::Moonrise, MoonEvent::Moonset}) {
                    EXPECT_EQ(FormatMoonEvent(got.moon[event]), FormatMoonEvent(want.moon[event]));
                }
                EXPECT_EQ(FormatMoonPhase(got.moonPhase), FormatMoonPhase(want.moonPhase));
            }
        }
    }
}

// The Moon of a date on a zone's clock is the Moon engine's on that date's offset and tick.
TEST(DayOnClock, MoonFollowsTheDatesClock) {
    const CClockChoice chicago = CClockChoice::Zone(*CZoneClock::Load("America/Chicago"));
    for (const CCivilDate date : {CCivilDate{2024, 1, 15}, CCivilDate{2024, 6, 21}}) {
        const CDayOnClock day =
            SolarDayOnClock(chicago, date, 41.88, 87.63, SolarEngine::Series, 0, true);
        const CMoonDay moon = MoonDay(date, 41.88, 87.63, 6.0f, day.clock.dst);
        EXPECT_EQ(FormatMoonEvent(day.moon[MoonEvent::Moonrise]),
                  FormatMoonEvent(moon[MoonEvent::Moonrise]));
    }
}

}  // namespace
