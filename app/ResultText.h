// The form in which a result field of the main window shows a result text.
//
// A time ("Thursday, June 21, 2007,  05:15:47") shows as it is. A day without the event that
// names the nearest day with it is too long for the field in the engine's words, so the field
// shows the same facts in fewer characters; the field's tooltip keeps the engine's text:
//
//     "No sunrise: the Sun is down all day (next sunrise Sunday, January 24, 2027,  13:06:29)"
//     shows as "Sun down all day; next sunrise Jan 24, 2027 13:06:29"
//
// Any other text (empty, a day without the event and no nearest day, a city or county name)
// shows as it is. The tool prints the engine's text and never this form.
#pragma once

#include <string>

#include "LocalSolarTime.h"

std::string CompactResultText(const std::string& text);

// The clock time of a result on a date given by its text ("Thursday, June 21, 2007"):
// "04:40:59" on that date, "00:12:03 (Friday, June 22, 2007)" on another. A result without a
// time keeps its whole text.
std::string ClockOnDate(const CSolarResult& result, const std::string& date);
// "Thursday, June 21, 2007": a date as the result texts write it.
std::string DateText(const CCivilDate& date);
