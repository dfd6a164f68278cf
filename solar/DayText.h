#pragma once
// The text forms of a day, each with one writer: a date, a clock time, a UTC offset, a day
// length, an event's cell, a table or CSV row and a JSON day object. The window's exports and
// the tool's lines, tables, CSV, JSON and calendar files all write through it, so that one
// change of form reaches every output.
//
// CDayText builds a row in one reused buffer, without formatting calls or allocation per
// cell; a century of rows is written as fast as the bytes can be copied:
//
//     CDayText row;
//     row.Date(day.date);                  // "2007-06-21"
//     row.PadTo(0, 12);
//     row.Cell(day.sunrise, day.date);     // "05:15:47", "00:42:01 +1", "up all day"
//     row.Char('\n');
//     out.write(row.Data(), row.Size());
//
// The functions after the class give the same forms as strings, for the window's cells.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "DayOnClock.h"
#include "SolarTable.h"

class CDayText {
public:
    void Clear() noexcept { m_size = 0; }
    // Drops what was written after the first `size` characters.
    void Truncate(std::size_t size) noexcept { m_size = size < m_size ? size : m_size; }
    const char* Data() const noexcept { return m_data.get(); }
    std::size_t Size() const noexcept { return m_size; }
    std::string_view View() const noexcept { return {m_data.get(), m_size}; }
    std::string String() const { return std::string(m_data.get(), m_size); }

    void Char(char c) {
        Reserve(1);
        m_data[m_size++] = c;
    }
    void Text(std::string_view text) {
        if (text.empty()) {
            return;  // nothing to copy, and no buffer yet perhaps
        }
        Reserve(text.size());
        std::memcpy(m_data.get() + m_size, text.data(), text.size());
        m_size += text.size();
    }
    // Zero-padded decimal, a minus sign before a negative one.
    void Number(std::int64_t value, int width);
    // Spaces until what was written since `start` is `width` long (left-aligned cell).
    void PadTo(std::size_t start, std::size_t width);

    void Date(const CCivilDate& date);                      // "2007-06-21"
    void LongDate(const CCivilDate& date);                  // "Thursday, June 21, 2007"
    void Clock(std::int64_t hour, int minute, int second);  // "05:15:47"
    void Clock(const CCivilTime& time) { Clock(time.hour, time.minute, time.second); }
    void ClockMinutes(std::int64_t minutes);  // "05:15": minutes after 00:00
    void Offset(int utcOffsetSeconds);        // "-05:00", east positive
    void Outcome(SolarOutcome outcome);       // "up all day", "down all day"
    // "05:15:47", " +1" or " -1" after it when the event falls on the next or the previous
    // date of `rowDate`; the outcome for a day without the event.
    void Cell(SolarOutcome outcome, const CCivilTime& time, const CCivilDate& rowDate);
    void Cell(const CSolarResult& result, const CCivilDate& rowDate) {
        Cell(result.outcome, result.time, rowDate);
    }
    // "2007-06-21T05:15:47-05:00": the local time and the clock's offset east of UTC; the
    // outcome for a day without the event. The CSV cell and the JSON value (in quotes).
    void Stamp(SolarOutcome outcome, const CCivilTime& time, int utcOffsetSeconds);
    void Stamp(const CSolarResult& result, int utcOffsetSeconds) {
        Stamp(result.outcome, result.time, utcOffsetSeconds);
    }
    // "15:12:21", "-" before a negative one; hours past 24 as they come.
    void Duration(std::int64_t seconds);
    // Sunrise to sunset (DayLengthSeconds) as a duration: "24:00:00" for a day the Sun never
    // sets, "00:00:00" for one it never rises. Writes nothing and returns false when only one
    // of the two exists.
    bool DayLength(const CSolarResult& sunrise, const CSolarResult& sunset);

    // The plain table's (or with `csv` the CSV file's) row of the day's three events and its
    // length, with its line end.
    void DayRow(const CDayOnClock& day, bool csv);
    // The CSV row's cells without the line end: "2007-06-21,<sunrise>,<sunset>,<noon>,<length>".
    void CsvDay(const CCivilDate& date, const CSolarResult& sunrise, const CSolarResult& sunset,
                const CSolarResult& solarNoon, int utcOffsetSeconds);

    // A JSON day object, "  {" to "}" without separator or line end:
    //   {"date": "2007-06-21", "utc_offset": "-05:00", <fields>}
    // Each field is opened by JsonKey and its value written by one of the Json... writers.
    void JsonDayOpen(const CCivilDate& date, int utcOffsetSeconds);
    // `, "key": `; `key` is a name of ours, written as it is.
    void JsonKey(std::string_view key);
    // A stamp in quotes (an event with its offset, "up all day"), or null without `outcome`.
    void JsonStamp(std::optional<SolarOutcome> outcome, const CCivilTime& time,
                   int utcOffsetSeconds);
    // Text of ours (a stamp, a phase's name) in quotes; null when empty.
    void JsonText(std::string_view text);
    // A whole number, or null.
    void JsonNumber(std::optional<std::int64_t> value);
    void JsonDayClose() { Char('}'); }

private:
    // Room for `count` more characters.
    void Reserve(std::size_t count) {
        if (m_capacity - m_size < count) {
            Grow(count);
        }
    }
    void Grow(std::size_t count);
    // Two digits of 0 to 99, written without a check for room.
    void TwoDigits(int value) noexcept {
        m_data[m_size++] = static_cast<char>('0' + value / 10);
        m_data[m_size++] = static_cast<char>('0' + value % 10);
    }

    std::unique_ptr<char[]> m_data;
    std::size_t m_size = 0;
    std::size_t m_capacity = 0;
    // The last date and UTC offset written, with their texts: a row's cells mostly repeat them.
    CCivilDate m_lastDate{0, 0, 0};
    char m_lastDateText[10] = {};
    int m_lastOffset = 1;  // no offset written yet: 1 second is none a clock has
    char m_lastOffsetText[6] = {};
};

// The plain table's (or with `csv` the CSV file's) header line of CDayText::DayRow.
std::string_view DayTableHeader(bool csv);

// Seconds from sunrise to sunset; 86400 for a day the Sun never sets, 0 for one it never rises,
// nothing when only one of the two exists.
std::optional<std::int64_t> DayLengthSeconds(const CSolarResult& sunrise,
                                             const CSolarResult& sunset);

// CDayText's forms as strings: "2007-06-21", "05:15:47", "05:15", "-05:00", an event's cell, a
// duration (empty for nothing).
std::string IsoDate(const CCivilDate& date);
std::string ClockOf(const CCivilTime& time);
std::string ClockMinutesText(std::int64_t minutes);  // "05:15"
std::string OffsetText(int utcOffsetSeconds);
std::string EventCell(SolarOutcome outcome, const CCivilTime& time, const CCivilDate& day);
std::string DurationText(const std::optional<std::int64_t>& seconds);
