#pragma once
// --now and --wait: where the Sun stands at the place at this instant, and the next instant of
// one of its events there.
//
//     daybreak-cli --zip 78572 --now             civil twilight (the Sun 3.2 degrees below ...)
//     daybreak-cli --zip 78572 --wait sunset-30  Sunset: Monday, December 07, 2026,  17:42:01
//                                                (then sleeps until 17:12:01 and exits 0)
//
// Instants are seconds since 1970-01-01 00:00:00 UTC, so that a change of clocks, a suspend or
// midnight changes nothing: the wait sleeps in short steps and looks at the wall clock again
// after each one.

#include <cstdint>
#include <functional>
#include <string>

#include "CliOptions.h"

// The tool's view of time: the wall clock, and a sleep until an instant (or less: the caller
// looks at the clock again). Tests inject both.
struct CCliSystem {
    std::function<std::int64_t()> now;
    std::function<void(std::int64_t until)> sleepUntil;

    // The system's wall clock; the sleep is clock_nanosleep on CLOCK_REALTIME to an absolute
    // instant, at most a minute ahead.
    static CCliSystem Real();
};

// "day", "civil twilight", "nautical twilight", "astronomical twilight" or "night" by the
// altitude of the Sun's centre, with the altitude: the line --now prints.
std::string SunStateLine(double altitude);

// Whether the altitude is day (the Sun's upper edge above the horizon): --now's exit status 0.
bool IsDaylight(double altitude);

// The next instant after `now` of the event in `options.wait` at the place of `options`, its
// minutes added; the line naming the event's own time ("Sunset: Monday, ...") in `line`.
// Searches from the day before `options.date` for a year and a half (beyond the polar
// circles an event can be months away); throws CCliError when it never comes.
std::int64_t NextEventInstant(const CCliOptions& options, std::int64_t now, std::string& line);

// Sleeps until the wall clock reaches `target`.
void WaitUntil(std::int64_t target, const CCliSystem& system);
