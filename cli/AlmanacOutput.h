#pragma once
// The tool's --almanac YEAR: the year's principal phases of the Moon and its equinoxes and
// solstices in time order, read on the clock the options choose (a fixed offset, or a zone's
// clock by the date, as the days' events are read):
//
//     daybreak-cli --almanac 2026 --offset 0
//     Full Moon: Saturday, January 3, 2026,  10:02:..
//     Last Quarter: Saturday, January 10, 2026,  15:48:..
//     ...
//
// As CSV, the header "event,time" and rows such as "full_moon,2026-01-03T10:02:..+00:00"; as
// JSON and iCalendar, through the year files' writers (YearExport.h).

#include <string>
#include <vector>

#include "YearExport.h"
#include "ZoneClock.h"

struct CCliOptions;

// The year's instants from the first to the last second of `year` on `clock`, each read on
// the clock of its own date. Throws CSolarException for a year outside 1900 to 9999.
std::vector<CAlmanacEntry> AlmanacOnClock(int year, const CClockChoice& clock);

// The whole output of options.almanac in the options' format.
std::string AlmanacOutput(const CCliOptions& options);
