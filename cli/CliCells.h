#pragma once
// The tool's tables and CSV files are written a row at a time: each row is put together in one
// reused buffer by the small writers below, then handed to the output stream whole.
//
//     CRowText row;
//     row.Clear();
//     row.Date(day.date);                // "2007-06-21"
//     row.PadTo(0, 12);
//     row.Cell(day.sunrise, day.date);   // "05:15:47", "00:42:01 +1", "up all day"
//     row.Char('\n');
//     out.write(row.Data(), row.Size());

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "DayOnClock.h"
#include "SolarTable.h"

class CRowText {
public:
    CRowText() { Reserve(512); }

    void Clear() noexcept { m_size = 0; }
    const char* Data() const noexcept { return m_data.get(); }
    std::size_t Size() const noexcept { return m_size; }

    void Char(char c) {
        Reserve(1);
        m_data[m_size++] = c;
    }
    void Text(std::string_view text) {
        Reserve(text.size());
        std::memcpy(m_data.get() + m_size, text.data(), text.size());
        m_size += text.size();
    }
    // Zero-padded decimal, a minus sign before a negative one.
    void Number(std::int64_t value, int width);
    // Spaces until what was written since `start` is `width` long (left-aligned cell).
    void PadTo(std::size_t start, std::size_t width);

    void Date(const CCivilDate& date);                                 // "2007-06-21"
    void Clock(std::int64_t hour, int minute, int second);             // "05:15:47"
    void Outcome(const CSolarResult& result);                          // "up all day"
    void Cell(const CSolarResult& result, const CCivilDate& rowDate);  // "00:42:01 +1"
    // "2007-06-21T05:15:47-05:00": the local time and the clock's offset east of UTC.
    void CsvCell(const CSolarResult& result, int utcOffsetSeconds);
    // Time from sunrise to sunset, "15:12:21"; "24:00:00" for a day the Sun never sets,
    // "00:00:00" for one it never rises. Writes nothing and returns false when only one of
    // the two exists.
    bool DayLength(const CSolarDay& day);

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

// The plain table's (or with `csv` the CSV file's) header line, and one day's row of it
// appended to `text` with its line end: the tool's tables of one place and of many share them.
std::string_view DayTableHeader(bool csv);
void AppendDayRow(CRowText& text, const CDayOnClock& row, bool csv);
