#pragma once
// The Moon's principal phases and the equinoxes and solstices that fall in a year table's
// days, read on the table's own clock: the clock of the day each instant falls on (a zone's
// daylight-saving hour included when the days follow the zone).
//
//     CYearTable year = ComputeYear(request);               // Chicago, 2007
//     for (const CYearAlmanacEvent& e : YearAlmanac(year)) {
//         AlmanacEventLabel(e.event);                         // "Full Moon", ...
//         e.local;                                            // 2007-01-03 07:57:..
//     }

#include <vector>

#include "SeasonsAndPhases.h"
#include "YearTable.h"

struct CYearAlmanacEvent {
    AlmanacEvent event = AlmanacEvent::NewMoon;
    double julianDayUt = 0;
    CCivilTime local;          // on the clock of the day it falls on
    int utcOffsetSeconds = 0;  // that clock, east positive
    int dayIndex = 0;          // into table.days
    double dayFraction = 0;    // 0 to 1: how far into its day (local)

    bool IsSeason() const noexcept { return event >= AlmanacEvent::MarchEquinox; }
};

// In time order; none for an empty table.
std::vector<CYearAlmanacEvent> YearAlmanac(const CYearTable& table);
