#pragma once
// A date's moonrise, moonset and upper transit on a clock, from the Moon engine
// (MoonPosition.h).
//
// Moonrise and moonset are the instants the Moon's upper limb stands at the horizon with the
// standard 34 arc minutes of refraction, seen from the ground: the centre's topocentric
// altitude is -(34' + semidiameter), the semidiameter of that instant. The event of a date is
// the first one between 00:00 and 24:00 on the date's clock (the UTC time minus `offset` hours
// WEST of Greenwich, plus an hour when dst is non-zero, as for the Sun). The lunar day is
// about 24 h 50 min long, so about once a month a date has no moonrise (or no moonset, or no
// transit); at high latitudes the Moon may stay up or down the whole date.
//
//     CMoonDay day = MoonDay(CCivilDate{2024, 6, 21}, 41.88, 87.63, 6.0f, 1);
//     FormatMoonEvent(day[MoonEvent::Moonrise]);  // "Friday, June 21, 2024,  20:51:.."
//
// The Moon's place is evaluated every 12 hours and interpolated between (a cubic through four
// places: well under an arc second); a table reuses three of the five places from day to day.

#include <array>
#include <string>
#include <vector>

#include "CivilTime.h"

enum class MoonEvent { Moonrise, Moonset, Transit };
inline constexpr std::size_t kMoonEventCount = 3;

enum class MoonOutcome {
    Time,          // the event happens on the date
    NoneThisDate,  // it happens on the dates around, not on this one
    UpAllDay,      // no moonrise or moonset: the upper limb stays above the horizon all date
    DownAllDay,    // ... below it all date
};

struct CMoonEventResult {
    MoonEvent event = MoonEvent::Moonrise;
    MoonOutcome outcome = MoonOutcome::NoneThisDate;
    double minutesUtc = 0;  // after 00:00 UTC of the date, when outcome is Time
    CCivilTime time;        // local date and clock time (truncated to the second) likewise

    bool HasTime() const noexcept { return outcome == MoonOutcome::Time; }
};

struct CMoonDay {
    CCivilDate date;
    std::array<CMoonEventResult, kMoonEventCount> events{};  // indexed by MoonEvent
    double riseAzimuth = 0;      // degrees clockwise from north, when moonrise has a time
    double setAzimuth = 0;       // likewise for moonset
    double transitAltitude = 0;  // degrees, topocentric, no refraction, when transit has a time

    const CMoonEventResult& operator[](MoonEvent event) const noexcept {
        return events[static_cast<std::size_t>(event)];
    }
};

// One date's events. Throws CSolarException for a date outside 1900-9999 or an input that is
// not a finite number, as PreciseSunDay does.
CMoonDay MoonDay(const CCivilDate& date, double lat, double lon, float offset, int dst);

// `days` rows from `first` on (0 or fewer gives none), each as MoonDay gives it.
std::vector<CMoonDay> MoonTable(const CCivilDate& first, int days, double lat, double lon,
                                float offset, int dst);

// "Friday, June 21, 2024,  20:51:09" as for the Sun's events, or "No moonrise on this date",
// "No moonrise: the Moon is up all day", "No moonset: the Moon is down all day",
// "No moon transit on this date".
std::string FormatMoonEvent(const CMoonEventResult& result);

// "Moonrise", "Moonset", "Moon Transit": a line's name.
const char* MoonEventLabel(MoonEvent event) noexcept;
