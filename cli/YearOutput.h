#pragma once
// The tool's --format json and --format ics: the days of --days (one without it) as the year
// window exports them, from the same routines. Without --precise the days are the CSV's rows;
// with it they come from the precise engine and carry civil dawn and dusk too. --events with
// the Moon's names adds the Moon's rise, set, phase and light.

#include <functional>
#include <iosfwd>
#include <string>

#include "CivilTime.h"

struct CCliOptions;

// Whether the format is one of these files rather than text or CSV.
bool UsesYearFileOutput(const CCliOptions& options);

// --format json or ics: the first and last day computed (a result out of the years 1900 to
// 9999 can only fall there, and is thrown now), then a writer that streams the days as they
// are computed.
std::function<void(std::ostream&)> YearStreamOutput(const CCliOptions& options,
                                                    const CCivilDate& date);
