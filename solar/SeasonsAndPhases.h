#pragma once
// The instants of the Moon's principal phases and of the equinoxes and solstices: when the
// Moon's apparent ecliptic longitude exceeds the Sun's by 0, 90, 180 or 270 degrees (new moon,
// first quarter, full moon, last quarter), and when the Sun's apparent longitude is 0, 90, 180
// or 270 degrees (the March equinox, the June solstice, the September equinox, the December
// solstice). Each is solved from the two theories (MoonPosition.h, SunLongitude.h) to a
// fraction of a second of their own error; instants are Julian days in UT.
//
//     std::vector<CAlmanacEvent> year = AlmanacBetween(JulianDayUt({{2026, 1, 1}}),
//                                                      JulianDayUt({{2027, 1, 1}}));
//     AlmanacEventLabel(year[0].event);  // "Full Moon" (3 January 2026)

#include <array>
#include <functional>
#include <vector>

#include "CivilTime.h"

enum class AlmanacEvent {
    NewMoon,
    FirstQuarter,
    FullMoon,
    LastQuarter,
    MarchEquinox,
    JuneSolstice,
    SeptemberEquinox,
    DecemberSolstice,
};

struct CAlmanacEvent {
    AlmanacEvent event = AlmanacEvent::NewMoon;
    double julianDayUt = 0;
};

// "Full Moon", "March Equinox": a line's name.
const char* AlmanacEventLabel(AlmanacEvent event) noexcept;
// "full_moon", "march_equinox": a column's value.
const char* AlmanacEventKey(AlmanacEvent event) noexcept;

// The Moon's apparent longitude minus the Sun's, degrees 0 to 360 (0: new, 180: full).
double MoonElongation(double julianDayUt);

// The instant of a principal phase (NewMoon to LastQuarter) nearest `near`, which must lie
// within about a week of it.
double MoonPhaseInstant(AlmanacEvent phase, double near);

// The principal phases with instants in [first, last), in time order.
std::vector<CAlmanacEvent> MoonPhasesBetween(double first, double last);

// The equinoxes and solstices of a year (in UT), in time order.
std::array<CAlmanacEvent, 4> SeasonsOfYear(int year);

// Phases, equinoxes and solstices with instants in [first, last), in time order: what an
// almanac of a year lists, given the year's ends on its clock.
std::vector<CAlmanacEvent> AlmanacBetween(double first, double last);

// Julian day of a UTC date and time, and back to the date and clock time (truncated to the
// second) at an east-positive offset from UTC in seconds (1970-01-01 00:00 for an instant that
// is not a number or lies millions of years away).
double JulianDayUt(const CCivilTime& utc) noexcept;
CCivilTime CivilTimeOfJulianDay(double julianDayUt, int utcOffsetSeconds) noexcept;

// An instant read on the clock of the date it falls on, as a day's events are: first on the
// clock of its UTC date, then, when that reading lands on a date whose clock differs (a change
// of clocks, an offset that crosses midnight), on that date's. `offsetOn` gives a date's
// offset east of UTC in seconds.
struct CClockReading {
    CCivilTime local;
    int utcOffsetSeconds = 0;
};
CClockReading ReadOnDatesClock(double julianDayUt,
                               const std::function<int(const CCivilDate&)>& offsetOn);
