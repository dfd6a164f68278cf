// The precise engine's local events: their order through the day, polar days and the days
// around them, the texts of a day without an event, and the table against the single day.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "SolarException.h"
#include "SunEvents.h"

namespace {

// Events that follow one another through a day, when all of them happen.
constexpr SunEvent kDayOrder[] = {SunEvent::AstronomicalDawn, SunEvent::NauticalDawn,
                                  SunEvent::CivilDawn,        SunEvent::MorningBlueHourEnd,
                                  SunEvent::Sunrise,          SunEvent::MorningGoldenHourEnd,
                                  SunEvent::SolarNoon,        SunEvent::EveningGoldenHourStart,
                                  SunEvent::Sunset,           SunEvent::EveningBlueHourStart,
                                  SunEvent::CivilDusk,        SunEvent::NauticalDusk,
                                  SunEvent::AstronomicalDusk};

// Altitude order of the morning crossings, low to high: a Sun that stays above one of them all
// day stays above every lower one, and one that stays below stays below every higher one.
constexpr SunEvent kRising[] = {SunEvent::AstronomicalDawn, SunEvent::NauticalDawn,
                                SunEvent::CivilDawn,        SunEvent::MorningGoldenHourStart,
                                SunEvent::Sunrise,          SunEvent::MorningGoldenHourEnd};

void CheckDay(const CSunDayEvents& day, double lat) {
    SCOPED_TRACE(testing::Message() << "lat " << lat << " " << day.date.year << "-"
                                    << day.date.month << "-" << day.date.day);
    ASSERT_TRUE(std::isfinite(day.noonElevation));
    ASSERT_TRUE(std::isfinite(day.sunriseAzimuth) && std::isfinite(day.sunsetAzimuth));
    const CSunEventResult* previous = nullptr;
    for (SunEvent event : kDayOrder) {
        const CSunEventResult& e = day[event];
        if (!e.HasTime()) {
            continue;
        }
        if (previous != nullptr) {
            EXPECT_LE(CivilSeconds(previous->time), CivilSeconds(e.time))
                << SunEventInfo(previous->event).label << " / " << SunEventInfo(event).label;
        }
        previous = &e;
    }
    for (std::size_t i = 0; i + 1 < std::size(kRising); ++i) {
        if (day[kRising[i + 1]].outcome == SolarOutcome::UpAllDay) {
            EXPECT_EQ(day[kRising[i]].outcome, SolarOutcome::UpAllDay);
        }
        if (day[kRising[i]].outcome == SolarOutcome::DownAllDay) {
            EXPECT_EQ(day[kRising[i + 1]].outcome, SolarOutcome::DownAllDay);
        }
    }
}

TEST(SunEvents, HighLatitudesThroughTheYear) {
    for (double lat = 65; lat <= 80; lat += 0.75) {
        for (double signedLat : {lat, -lat}) {
            for (const CSunDayEvents& day :
                 PreciseSunTable(CCivilDate{2008, 1, 1}, 366, signedLat, 147.72, 9, 0)) {
                CheckDay(day, signedLat);
                if (testing::Test::HasFailure()) {
                    return;
                }
            }
        }
    }
}

TEST(SunEvents, OrderAtTemperateLatitudes) {
    for (double lat : {-45.0, -20.0, 0.0, 13.44, 41.88, 55.0}) {
        for (const CSunDayEvents& day :
             PreciseSunTable(CCivilDate{2007, 1, 1}, 365, lat, -144.79, -10, 0)) {
            CheckDay(day, lat);
            for (SunEvent event : kDayOrder) {
                if (std::fabs(lat) < 45) {
                    EXPECT_TRUE(day[event].HasTime()) << SunEventInfo(event).label;
                }
            }
        }
    }
}

TEST(SunEvents, TextsOfDaysWithoutTheEvent) {
    const CSunDayEvents june = PreciseSunDay(CCivilDate{2007, 6, 21}, 70, 147.72, 9, 1);
    const CSunDayEvents december = PreciseSunDay(CCivilDate{2007, 12, 21}, 70, 147.72, 9, 0);
    const struct {
        const CSunDayEvents& day;
        SunEvent event;
        const char* text;
    } cases[] = {
        {june, SunEvent::Sunrise, "No sunrise: the Sun is up all day"},
        {june, SunEvent::CivilDawn, "No civil dawn: the Sun stays above -6 degrees all day"},
        {june, SunEvent::AstronomicalDusk,
         "No astronomical dusk: the Sun stays above -18 degrees all day"},
        {december, SunEvent::Sunset, "No sunset: the Sun is down all day"},
        {december, SunEvent::MorningGoldenHourEnd,
         "No morning golden hour end: the Sun stays below 6 degrees all day"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatSunEvent(c.day[c.event]), c.text);
    }
    // Civil dawn still happens at 70 degrees in midwinter.
    EXPECT_TRUE(december[SunEvent::CivilDawn].HasTime());
    EXPECT_EQ(FormatSunEvent(june[SunEvent::SolarNoon]).substr(0, 23), "Thursday, June 21, 2007");
}

TEST(SunEvents, TableRowsAreTheSingleDays) {
    const auto rows = PreciseSunTable(CCivilDate{2007, 12, 25}, 12, 41.88, 87.63, 6, 1);
    ASSERT_EQ(rows.size(), 12u);
    for (const CSunDayEvents& row : rows) {
        const CSunDayEvents single = PreciseSunDay(row.date, 41.88, 87.63, 6, 1);
        for (std::size_t i = 0; i < kSunEventCount; ++i) {
            ASSERT_TRUE(row.events[i].HasTime());
            // The samples of a table step by adding a day: the last bit may differ.
            EXPECT_LE(
                std::abs(CivilSeconds(row.events[i].time) - CivilSeconds(single.events[i].time)),
                1);
        }
    }
    EXPECT_EQ(rows.back().date, (CCivilDate{2008, 1, 5}));
}

TEST(SunEvents, RefusesWhatTheDefaultEngineRefuses) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_THROW(PreciseSunDay(CCivilDate{2007, 6, 21}, nan, 87.63, 6, 0), CSolarException);
    EXPECT_THROW(PreciseSunDay(CCivilDate{2007, 2, 30}, 41.88, 87.63, 6, 0), CSolarException);
    EXPECT_THROW(
        PreciseSunTable(CCivilDate{2007, 1, 1}, kMaxSolarTableDays + 1, 41.88, 87.63, 6, 0),
        CSolarException);
    EXPECT_TRUE(PreciseSunTable(CCivilDate{2007, 1, 1}, 0, 41.88, 87.63, 6, 0).empty());
}

}  // namespace
