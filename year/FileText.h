#pragma once
// Text in the exported files. Each format has one writer of text, used for every text value
// the window's exports and daybreak-cli's files carry, so that a name read from an archive
// (which may hold any byte, ESC and BEL included) can neither break the file's syntax nor reach
// a terminal or a calendar program as a control character.
//
// Control characters are C0 (0x00-0x1F), DEL and C1 (U+0080-U+009F, two bytes in UTF-8). Text
// is UTF-8; other bytes pass as they are.
//
//     CsvField("Chicago")          Chicago
//     CsvField("Winston, \"WS\"")  "Winston, ""WS"""
//     JsonString("a\x1b")          "a\u001b"
//     CalendarText("a\x07\nb")     a\xEF\xBF\xBD\nb  (U+FFFD for BEL; the line break stays)

#include <string>
#include <string_view>

// The text as a CSV field (RFC 4180): as it is, or in double quotes with its quotes doubled
// when it holds a comma, a quote or a line break; other control characters become U+FFFD.
std::string CsvField(std::string_view text);

// The text as a JSON string, quotes included: \" and \\, and \u00XX for every control
// character.
std::string JsonString(std::string_view text);

// The text as an iCalendar TEXT value (RFC 5545 3.3.11) before its escaping: control
// characters but the line feed become U+FFFD, since TEXT may not hold them. libical then
// writes the escapes (\\, \;, \, and \n for a line feed) as it writes the file.
std::string CalendarText(std::string_view text);
