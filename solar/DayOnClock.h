#pragma once
// A date's results read on a clock, from either engine, with their years checked: the one way
// a day is computed for every output, the window's fields, day details and year as well as the
// tool's lines, tables and calendar files.
//
// Sunrise, sunset and solar noon come from the engine chosen; the precise engine's other
// crossings (twilights, golden and blue hours) are added for the altitudes asked for. Every
// result the day holds must fall in the years 1900 to 9999 (ResultYears.h): a far-off offset
// or longitude that carries one out of them is refused as CSolarException, so no output shows
// a year the program cannot take back in.
//
//     const CClockChoice clock = CClockChoice::Fixed(6.0f, 1);
//     CDayOnClock day = SolarDayOnClock(clock, CCivilDate{2007, 6, 21}, 41.88, 87.63,
//                                       SolarEngine::Series);
//     FormatSolarTime(day.sunrise);   // "Thursday, June 21, 2007,  05:15:47"
//
// A table of days (SolarDaysOnClock) gives each row as the single day gives it, except that a
// day without a crossing carries no nearest day (as in SolarTable.h); its rows stream to a
// sink, so that a century costs no more room than the caller keeps.
//
// With `moon`, the day carries the Moon's rise, set and transit (MoonEvents.h) and its phase and
// light (MoonLight.h) read on the same clock as the Sun's events of that date, year-checked
// with them.

#include "LocalSolarTime.h"
#include "MoonEvents.h"
#include "MoonLight.h"
#include "SunEvents.h"
#include "ZoneClock.h"

enum class SolarEngine {
    Series,   // the default series: sunrise, sunset and noon as the window has always shown them
    Precise,  // the precise engine
};

struct CDayOnClock {
    CCivilDate date;     // the date asked for
    CClockOnDate clock;  // the clock its results are read on
    CSolarResult sunrise;
    CSolarResult sunset;
    CSolarResult solarNoon;
    // The precise engine's events of `altitudes` (and noon); empty when the altitudes are 0.
    CSunDayEvents precise;
    SunAltitudeMask altitudes = 0;
    // The Moon on the date's clock, when asked for.
    bool hasMoon = false;
    CMoonDay moon;
    CMoonPhaseOfDate moonPhase;

    // Whether the precise engine computed that event (noon whenever it ran).
    bool HasPreciseEvent(SunEvent event) const noexcept;
};

// Whether the day's solar noon falls more than three hours from 12:00 on its clock: the sign
// of a typed longitude or offset is then most likely the other way round (both are west
// positive here), since noon lies within about 16 minutes of 12:00 local mean time and a
// clock an hour or two off its meridian, with daylight saving, moves it two hours at most
// where people live.
bool IsNoonFarFromMidday(const CDayOnClock& day) noexcept;

// Throws CSolarException(BadDate) unless every result `day` holds lies in 1900 to 9999.
void CheckDayYears(const CDayOnClock& day);

// One date. `altitudes` names the precise engine's crossings wanted besides the engine's three
// events (the horizon is always computed for the precise engine). Throws CSolarException for
// inputs the engines refuse and for a result outside the years 1900 to 9999.
CDayOnClock SolarDayOnClock(const CClockChoice& clock, const CCivilDate& date, double lat,
                            double lon, SolarEngine engine, SunAltitudeMask altitudes = 0,
                            bool moon = false);

// Takes the rows of SolarDaysOnClock one at a time, in date order.
class CDayOnClockSink {
public:
    virtual void Add(const CDayOnClock& day) = 0;

protected:
    ~CDayOnClockSink() = default;
};

// `days` rows from `first` on (0 or fewer gives none), each checked as the single day is
// before the sink sees it; the checks of the inputs come before the first row. Throws as
// SolarDayOnClock does, and for more than kMaxSolarTableDays days.
void SolarDaysOnClock(const CClockChoice& clock, const CCivilDate& first, int days, double lat,
                      double lon, SolarEngine engine, SunAltitudeMask altitudes,
                      CDayOnClockSink& sink, bool moon = false);
