#pragma once
// The year's days as files: CSV, JSON and iCalendar (RFC 5545). One routine per format, used by
// both the year window's "Export..." and daybreak-cli's --format, so the two write the same
// content.
//
// CSV: a header line, then one line a day: date, sunrise, sunset, solar noon (local ISO
// date-times with their UTC offset), day length HH:MM:SS; with twilights, civil dawn and civil dusk
// after them. A day without a crossing says "up all day" or "down all day".
//
// JSON: an array of day objects:
//   {"date": "2007-06-21", "utc_offset": "-05:00",
//    "sunrise": "2007-06-21T05:15:47-05:00", "sunset": ..., "solar_noon": ...,
//    "day_length": 54741, "civil_dawn": ..., "civil_dusk": ...}
// where an event without a crossing is the text "up all day" or "down all day" and day_length
// is in seconds (86400 and 0 for the polar cases, null when only one of the two exists). Days
// with the Moon add "moonrise" and "moonset" (a time, "up all day", "down all day", or null on
// a date without the event), "moon_phase" ("Waxing Gibbous") and "moon_illumination" (72.8,
// the percentage lit at 12:00).
//
// iCalendar: one event a day for sunrise and one for sunset (and for moonrise and moonset on
// days with the Moon), or one all-day event a day summing the day up, and with
// CIcsOptions::almanac the Moon's phases and the seasons; times in the place's zone (its
// time-zone name, or a fixed offset "UTC-05:00" described in the file) or in UTC, as they are
// for a zone that is UTC itself
// ("UTC", "GMT", "Etc/UTC"). Every text value goes through FileText.h's writer of its format.

#include <ctime>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "YearTable.h"

std::string YearCsv(const CYearTable& table);
std::string YearJson(const CYearTable& table);
// One day's object of YearJson, "  {...}" without separator or line end, appended to `text`:
// for writers that stream the array a day at a time.
void AppendYearJsonDay(CDayText& text, const CYearDay& day);
// One day's row of YearCsv with its line end.
void AppendYearCsvDay(CDayText& text, const CYearDay& day);

struct CIcsOptions {
    bool dailySummary = false;  // one all-day event a day instead of sunrise and sunset events
    bool utc = false;           // times in UTC instead of the place's zone
    std::time_t stamp = 0;      // the file's creation time (DTSTAMP), seconds since 1970 UTC
    // Also an event at the instant of each of the Moon's principal phases and of each equinox
    // and solstice in the days (YearAlmanac.h), on the calendar's clock.
    bool almanac = false;
    // For CYearIcsStream in a calendar of many places: the place's id, carried by each event's
    // UID and summary ("Sunrise (home)"), and whether the stream writes the events alone,
    // without the calendar's head and end line.
    std::string placeId;
    bool eventsOnly = false;
};

// Throws CYearExportError when the calendar library cannot build the file.
std::string YearIcs(const CYearTable& table, const CIcsOptions& options);

// One of a year's principal phases of the Moon, equinoxes and solstices (daybreak-cli's
// --almanac), read on a clock.
struct CAlmanacEntry {
    const char* key = "";    // "full_moon": the CSV's and JSON's name
    const char* label = "";  // "Full Moon": the line's and the calendar's name
    CCivilTime time;         // local
    int utcOffsetSeconds = 0;
};

// [{"event": "full_moon", "time": "2026-01-03T10:02:45+00:00"}, ...]
std::string AlmanacJson(const std::vector<CAlmanacEntry>& entries);

// One event for each entry at its instant, on `zoneName`'s clock when it names one (as
// CYearTable::zoneName does), else at the entries' one offset, else in UTC. Throws
// CYearExportError as YearIcs does.
std::string AlmanacIcs(const std::vector<CAlmanacEntry>& entries, const std::string& zoneName,
                       const CIcsOptions& options);

class CYearExportError : public CMessageException {
public:
    using CMessageException::CMessageException;
};

// The rows of a CSV text (RFC 4180: fields in double quotes may hold commas, line breaks and
// doubled quotes; lines end in LF or CRLF). Any bytes are read; an unterminated quote runs to
// the end of the text.
std::vector<std::vector<std::string>> ReadCsv(std::string_view text);

// The place as text, the same in every locale: "41.8800N 87.6300W" (longitude west positive).
std::string CoordinatesText(const CYearRequest& request);

// A file name for the year's export, without extension: "Chicago-IL-2007", or the coordinates
// and the year for a typed place ("41.8800N-87.6300W-2007"). Blanks and the characters file
// systems or shells take specially become '-'; the name never starts with a dot.
std::string YearFileStem(const CYearRequest& request);
