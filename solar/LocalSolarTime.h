#pragma once
// Sunrise, sunset and solar noon in local clock time for a date and a place.
//
// The date counts only as a calendar date. The local clock time is the UTC event time minus
// the place's offset (hours, positive WEST of Greenwich: 6 for US Central, -3.5 for Iran), plus
// one hour when dst is non-zero (no daylight-saving calendar is applied). An event that falls
// before local midnight or after the next one carries to the previous or next date.
//
// Results are civil date-times, independent of the computer's own time zone. A sunrise or
// sunset on a day when the Sun does not cross the horizon has no time; beyond 66.4 degrees of
// latitude the nearest day that has the event is found and given with it.
//
//     CSolarResult r = LocalSunrise(CCivilDate{2007, 6, 21}, 41.88, 87.63, 6.0f, 1);
//     FormatSolarTime(r);   // "Thursday, June 21, 2007,  05:15:47"
//
// Errors throw CSolarException: an input that is not a finite number (or is too large to
// convert), and a date that cannot be read or lies outside the years 1900 to 9999.

#include <optional>
#include <string>

#include "CTime.h"
#include "CivilTime.h"
#include "SolarException.h"
#include "SolarFormulas.h"

enum class SolarEvent { Sunrise, Sunset, SolarNoon };

enum class SolarOutcome {
    Time,        // `time` holds the event's local date and clock time
    UpAllDay,    // no crossing: the Sun is above the horizon all day
    DownAllDay,  // no crossing: the Sun is below the horizon all day
};

// Where a polar-latitude search found the nearest day with the event, relative to the date.
enum class NearestEvent { None, Last, Next };

struct CSolarResult {
    SolarEvent event = SolarEvent::Sunrise;
    SolarOutcome outcome = SolarOutcome::Time;
    CCivilTime time;                            // when outcome is Time
    NearestEvent nearest = NearestEvent::None;  // set only when outcome is not Time
    CCivilTime nearestTime;                     // when nearest is not None

    bool HasTime() const noexcept { return outcome == SolarOutcome::Time; }
};

// Day of year of a date: 1 for 1 January. month 1 to 12 (0 adds no month), leap from
// IsLeapYear.
int DayOfYear(int month, int day, bool leap);

// Local date and clock time of an event `minutes` after 00:00 UTC of `date`. Hours, minutes
// and seconds are truncated, never rounded (05:15:47.9 is 05:15:47).
CCivilTime UtcMinutesToLocalTime(double minutes, const CCivilDate& date, float offset, int dst);

// The local calendar date of a calendar time in the computer's zone, checked as the engine
// needs it (readable, years 1900 to 9999).
CCivilDate LocalDateOf(const CTime& date);

CSolarResult LocalSunrise(const CCivilDate& date, double lat, double lon, float offset, int dst);
CSolarResult LocalSunset(const CCivilDate& date, double lat, double lon, float offset, int dst);
CSolarResult LocalSolarNoon(const CCivilDate& date, double lon, float offset, int dst);

CSolarResult LocalSunrise(const CTime& date, double lat, double lon, float offset, int dst);
CSolarResult LocalSunset(const CTime& date, double lat, double lon, float offset, int dst);
CSolarResult LocalSolarNoon(const CTime& date, double lon, float offset, int dst);

// The local date of the first sunrise or sunset (`event`) after `date`, within a year, from the
// default series: when a polar day or night ends (the next sunset ends the midnight Sun, the
// next sunrise the polar night). Nothing where there is none within the year (the poles) or
// beyond 9999.
std::optional<CCivilDate> NextCrossingDate(SolarEvent event, const CCivilDate& date, double lat,
                                           double lon, float offset, int dst);

// The result text: "Thursday, June 21, 2007,  05:15:47" (English names whatever the locale,
// two-digit day, two spaces before the time), or for a day without the event e.g.
// "No sunrise: the Sun is up all day (last sunrise Saturday, May 12, 2007,  01:56:10)".
std::string FormatSolarTime(const CCivilTime& time);
std::string FormatSolarTime(const CSolarResult& result);
