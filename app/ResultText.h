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

std::string CompactResultText(const std::string& text);
