// The texts of the main window's result fields, built from the engine's results.
//
// A time shows as the engine writes it ("Thursday, June 21, 2007,  05:15:47"). A day without
// a sunrise or sunset (beyond the polar circles) is too long for the field in the engine's
// words, so the field shows what a person wants to know, when the polar day or night ends,
// and its tooltip keeps the engine's text with that date added:
//
//     engine:  "No sunrise: the Sun is up all day (last sunrise Monday, May 11, 2026,  01:55:06)"
//     shown:   "Sun up all day; sets Jul 31"
//     tooltip: the engine's text, then "The Sun next sets on Friday, July 31, 2026."
//
// The tool prints the engine's text and never these forms.
#pragma once

#include <optional>
#include <string>

#include "LocalSolarTime.h"

struct CResultTexts {
    std::string full;     // the engine's text, which the window keeps as the result
    std::string shown;    // what the field shows
    std::string tooltip;  // what its tooltip says
};

// The texts of `result` on `date`. `spellEnds`: for a day without the event, the date of the
// crossing that ends the polar day (the next sunset) or night (the next sunrise), when known.
CResultTexts ResultTexts(const CSolarResult& result, const CCivilDate& date,
                         const std::optional<CCivilDate>& spellEnds);

// The clock time of a result on a date given by its text ("Thursday, June 21, 2007"):
// "04:40:59" on that date, "00:12:03 (Friday, June 22, 2007)" on another. A result without a
// time keeps its whole text.
std::string ClockOnDate(const CSolarResult& result, const std::string& date);
// "Thursday, June 21, 2007": a date as the result texts write it.
std::string DateText(const CCivilDate& date);
