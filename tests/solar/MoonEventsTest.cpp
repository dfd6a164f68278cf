// The Moon engine's day, table, texts and almanac, beyond the ephemeris comparison of
// MoonReferenceTest.cpp.
#include <gtest/gtest.h>

#include <algorithm>

#include "MoonEvents.h"
#include "MoonLight.h"
#include "MoonPosition.h"
#include "Nutation.h"
#include "SeasonsAndPhases.h"
#include "SolarException.h"
#include "SunLongitude.h"

namespace {

// The published worked example of the lunar theory: 1992 April 12, 0h TT.
TEST(MoonEngine, PositionOfThePublishedExample) {
    const CMoonPosition m = MoonPositionTt(2448724.5);
    EXPECT_NEAR(m.longitude, 133.16726, 1.0 / 3600);
    EXPECT_NEAR(m.latitude, -3.229126, 0.1 / 3600);
    EXPECT_NEAR(m.distanceKm, 368409.7, 0.1);
    EXPECT_NEAR(m.rightAscension, 134.688469, 1.0 / 3600);
    EXPECT_NEAR(m.declination, 13.768367, 1.0 / 3600);
}

// The Sun's published worked example, 1992 October 13, 0h TT, as the complete planetary theory
// gives it: 199 deg 54' 21.548" and 0.99760852 au (the example's own 21.818" comes from the
// series abridged to its terms above 2.5e-7 radian).
TEST(MoonEngine, SunOfThePublishedExample) {
    const CSunEcliptic sun = SunApparentEclipticTt(2448908.5);
    EXPECT_NEAR(sun.longitude, 199 + 54 / 60.0 + 21.548 / 3600, 0.05 / 3600);
    EXPECT_NEAR(sun.distanceAu, 0.99760852, 2e-6);
}

// Nutation in longitude of the published worked examples (1992 October 13 and the June
// solstice of 1962, TT), from the complete IAU 1980 series.
TEST(MoonEngine, NutationOfThePublishedExamples) {
    const struct {
        double julianDayTt, arcSeconds;
    } rows[] = {{2448908.5, 15.908}, {2437837.38589, -12.965}};
    for (const auto& row : rows) {
        const double centuries = (row.julianDayTt - 2451545.0) / 36525;
        EXPECT_NEAR(NutationInLongitude(centuries) * 3600, row.arcSeconds, 0.01);
    }
}

TEST(MoonEngine, ChicagoDayOnTheClock) {
    const CMoonDay day = MoonDay(CCivilDate{2024, 6, 21}, 41.88, 87.63, 6.0f, 1);
    EXPECT_EQ(FormatMoonEvent(day[MoonEvent::Moonrise]), "Friday, June 21, 2024,  20:51:10");
    EXPECT_EQ(FormatMoonEvent(day[MoonEvent::Moonset]), "Friday, June 21, 2024,  04:20:59");
    EXPECT_EQ(FormatMoonPhase(MoonPhaseOnDate(CCivilDate{2024, 6, 21}, 6.0f, 1)),
              "Full Moon, 99.7% lit");
    EXPECT_GT(day.riseAzimuth, 90);  // a full moon in June rises south of east
    EXPECT_LT(day.riseAzimuth, 150);
}

// Each kind of day without an event has its own text.
TEST(MoonEngine, DaysWithoutAnEvent) {
    const CMoonDay noRise = MoonDay(CCivilDate{2024, 6, 26}, 41.88, 87.63, 6.0f, 1);
    EXPECT_EQ(noRise[MoonEvent::Moonrise].outcome, MoonOutcome::NoneThisDate);
    EXPECT_EQ(FormatMoonEvent(noRise[MoonEvent::Moonrise]), "No moonrise on this date");
    EXPECT_TRUE(noRise[MoonEvent::Moonset].HasTime());

    const CMoonDay up = MoonDay(CCivilDate{2024, 6, 6}, 70, -20, -1.0f, 0);
    EXPECT_EQ(FormatMoonEvent(up[MoonEvent::Moonrise]), "No moonrise: the Moon is up all day");
    const CMoonDay down = MoonDay(CCivilDate{2024, 6, 21}, 70, -20, -1.0f, 0);
    EXPECT_EQ(FormatMoonEvent(down[MoonEvent::Moonset]), "No moonset: the Moon is down all day");
}

// The table keeps places from one day to the next; its rows equal the single days'.
TEST(MoonEngine, TableRowsEqualSingleDays) {
    const std::vector<CMoonDay> rows =
        MoonTable(CCivilDate{2023, 12, 20}, 40, -33.9, -151.2, -10.0f, 1);
    ASSERT_EQ(rows.size(), 40u);
    for (const CMoonDay& row : rows) {
        const CMoonDay single = MoonDay(row.date, -33.9, -151.2, -10.0f, 1);
        for (std::size_t i = 0; i < kMoonEventCount; ++i) {
            EXPECT_EQ(row.events[i].outcome, single.events[i].outcome);
            EXPECT_NEAR(row.events[i].minutesUtc, single.events[i].minutesUtc, 0.001);
        }
    }
    const std::vector<CMoonPhaseOfDate> phases =
        MoonPhaseTable(CCivilDate{2023, 12, 20}, 40, -10.0f, 1);
    ASSERT_EQ(phases.size(), 40u);
    for (std::size_t i = 0; i < phases.size(); ++i) {
        const CMoonPhaseOfDate single = MoonPhaseOnDate(rows[i].date, -10.0f, 1);
        EXPECT_EQ(phases[i].phase, single.phase);
        EXPECT_DOUBLE_EQ(phases[i].noon.fraction, single.noon.fraction);
    }
    EXPECT_TRUE(MoonTable(CCivilDate{2023, 1, 1}, 0, 0, 0, 0, 0).empty());
    EXPECT_THROW(MoonDay(CCivilDate{2023, 2, 30}, 0, 0, 0, 0), CSolarException);
}

TEST(MoonEngine, AlmanacOfAYearInTimeOrder) {
    const std::vector<CAlmanacEvent> year =
        AlmanacBetween(JulianDayUt({{2026, 1, 1}}), JulianDayUt({{2027, 1, 1}}));
    ASSERT_FALSE(year.empty());
    EXPECT_EQ(year.front().event, AlmanacEvent::FullMoon);  // 3 January
    EXPECT_TRUE(std::is_sorted(year.begin(), year.end(), [](const auto& a, const auto& b) {
        return a.julianDayUt < b.julianDayUt;
    }));
    EXPECT_EQ(std::count_if(year.begin(), year.end(),
                            [](const auto& e) { return e.event >= AlmanacEvent::MarchEquinox; }),
              4);
    EXPECT_EQ(std::count_if(year.begin(), year.end(),
                            [](const auto& e) { return e.event == AlmanacEvent::FullMoon; }),
              13);  // two in May 2026
    const CCivilTime equinox = CivilTimeOfJulianDay(SeasonsOfYear(2026)[0].julianDayUt, -5 * 3600);
    EXPECT_EQ(equinox, (CCivilTime{{2026, 3, 20}, 9, 45, 50}));
}

}  // namespace
