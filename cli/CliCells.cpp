#include "CliCells.h"

#include <algorithm>
#include <utility>

namespace {

// `to` less `from`, in seconds; most events of a row fall on one date.
std::int64_t SecondsBetween(const CCivilTime& from, const CCivilTime& to) {
    if (from.date != to.date) {
        return CivilSeconds(to) - CivilSeconds(from);
    }
    return (to.hour - from.hour) * 3600 + (to.minute - from.minute) * 60 + to.second - from.second;
}

}  // namespace

void CRowText::Grow(std::size_t count) {
    const std::size_t capacity = std::max(2 * m_capacity, m_size + count);
    auto data = std::make_unique_for_overwrite<char[]>(capacity);
    if (m_size > 0) {
        std::memcpy(data.get(), m_data.get(), m_size);
    }
    m_data = std::move(data);
    m_capacity = capacity;
}

void CRowText::Number(std::int64_t value, int width) {
    Reserve(24 + static_cast<std::size_t>(std::max(width, 0)));
    if (value < 0) {
        m_data[m_size++] = '-';
        value = -value;
    }
    char digits[20];
    int count = 0;
    do {
        digits[count++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value > 0 && count < 20);
    for (int pad = count; pad < width; ++pad) {
        m_data[m_size++] = '0';
    }
    while (count > 0) {
        m_data[m_size++] = digits[--count];
    }
}

void CRowText::PadTo(std::size_t start, std::size_t width) {
    const std::size_t written = m_size - start;
    if (written < width) {
        Reserve(width - written);
        std::memset(m_data.get() + m_size, ' ', width - written);
        m_size += width - written;
    }
}

void CRowText::Date(const CCivilDate& date) {
    if (date.year < 1000 || date.year > 9999 || date.month < 0 || date.month > 99 || date.day < 0 ||
        date.day > 99) {
        Number(date.year, 4);
        Char('-');
        Number(date.month, 2);
        Char('-');
        Number(date.day, 2);
        return;
    }
    Reserve(10);
    if (date != m_lastDate) {
        const std::size_t start = m_size;
        TwoDigits(date.year / 100);
        TwoDigits(date.year % 100);
        m_data[m_size++] = '-';
        TwoDigits(date.month);
        m_data[m_size++] = '-';
        TwoDigits(date.day);
        std::memcpy(m_lastDateText, m_data.get() + start, sizeof m_lastDateText);
        m_lastDate = date;
        return;
    }
    std::memcpy(m_data.get() + m_size, m_lastDateText, sizeof m_lastDateText);
    m_size += sizeof m_lastDateText;
}

void CRowText::Clock(std::int64_t hour, int minute, int second) {
    if (hour < 0 || hour > 99 || minute < 0 || minute > 99 || second < 0 || second > 99) {
        Number(hour, 2);
        Char(':');
        Number(minute, 2);
        Char(':');
        Number(second, 2);
        return;
    }
    Reserve(8);
    TwoDigits(static_cast<int>(hour));
    m_data[m_size++] = ':';
    TwoDigits(minute);
    m_data[m_size++] = ':';
    TwoDigits(second);
}

void CRowText::Outcome(const CSolarResult& result) {
    Text(result.outcome == SolarOutcome::UpAllDay ? "up all day" : "down all day");
}

void CRowText::Cell(const CSolarResult& result, const CCivilDate& rowDate) {
    if (!result.HasTime()) {
        Outcome(result);
        return;
    }
    Clock(result.time.hour, result.time.minute, result.time.second);
    const std::int64_t shift =
        result.time.date == rowDate ? 0 : DaysFromCivil(result.time.date) - DaysFromCivil(rowDate);
    if (shift != 0) {
        Text(shift > 0 ? " +" : " -");
        Number(shift > 0 ? shift : -shift, 1);
    }
}

void CRowText::CsvCell(const CSolarResult& result, int utcOffsetSeconds) {
    if (!result.HasTime()) {
        Outcome(result);
        return;
    }
    Date(result.time.date);
    Char('T');
    Clock(result.time.hour, result.time.minute, result.time.second);
    if (utcOffsetSeconds != m_lastOffset) {
        const std::size_t start = m_size;
        const int magnitude = utcOffsetSeconds < 0 ? -utcOffsetSeconds : utcOffsetSeconds;
        Char(utcOffsetSeconds < 0 ? '-' : '+');
        Number(magnitude / 3600, 2);
        Char(':');
        Number(magnitude / 60 % 60, 2);
        if (m_size - start == sizeof m_lastOffsetText) {
            std::memcpy(m_lastOffsetText, m_data.get() + start, sizeof m_lastOffsetText);
            m_lastOffset = utcOffsetSeconds;
        }
        return;
    }
    Text(std::string_view(m_lastOffsetText, sizeof m_lastOffsetText));
}

bool CRowText::DayLength(const CSolarDay& day) {
    if (day.sunrise.HasTime() && day.sunset.HasTime()) {
        std::int64_t seconds = SecondsBetween(day.sunrise.time, day.sunset.time);
        if (seconds < 0) {
            Char('-');
            seconds = -seconds;
        }
        Clock(seconds / 3600, static_cast<int>(seconds / 60 % 60), static_cast<int>(seconds % 60));
        return true;
    }
    if (!day.sunrise.HasTime() && !day.sunset.HasTime() &&
        day.sunrise.outcome == day.sunset.outcome) {
        Text(day.sunrise.outcome == SolarOutcome::UpAllDay ? "24:00:00" : "00:00:00");
        return true;
    }
    return false;
}

std::string_view DayTableHeader(bool csv) {
    return csv ? "date,sunrise,sunset,solar_noon,day_length\n"
               : "Date        Sunrise       Sunset        Solar noon    Day length\n";
}

void AppendDayRow(CRowText& text, const CDayOnClock& row, bool csv) {
    const CSolarDay day{row.date, row.sunrise, row.sunset, row.solarNoon};
    const std::size_t rowStart = text.Size();
    text.Date(day.date);
    if (csv) {
        for (const CSolarResult* result : {&day.sunrise, &day.sunset, &day.solarNoon}) {
            text.Char(',');
            text.CsvCell(*result, row.clock.utcOffsetSeconds);
        }
        text.Char(',');
        text.DayLength(day);
    } else {
        text.PadTo(rowStart, 12);
        for (const CSolarResult* result : {&day.sunrise, &day.sunset, &day.solarNoon}) {
            const std::size_t start = text.Size();
            text.Cell(*result, day.date);
            text.PadTo(start, 14);
        }
        if (!text.DayLength(day)) {
            text.Char('-');
        }
    }
    text.Char('\n');
}
