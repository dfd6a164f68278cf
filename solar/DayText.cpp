#include "DayText.h"

#include <algorithm>
#include <utility>

#include "CivilTime.h"
#include "MonthInfo.h"

void CDayText::Grow(std::size_t count) {
    const std::size_t capacity = std::max({std::size_t{256}, 2 * m_capacity, m_size + count});
    auto data = std::make_unique_for_overwrite<char[]>(capacity);
    if (m_size > 0) {
        std::memcpy(data.get(), m_data.get(), m_size);
    }
    m_data = std::move(data);
    m_capacity = capacity;
}

void CDayText::Number(std::int64_t value, int width) {
    Reserve(24 + static_cast<std::size_t>(std::max(width, 0)));
    // The magnitude unsigned: the lowest value has none as a signed number.
    std::uint64_t magnitude = static_cast<std::uint64_t>(value);
    if (value < 0) {
        m_data[m_size++] = '-';
        magnitude = 0 - magnitude;
    }
    char digits[20];
    int count = 0;
    do {
        digits[count++] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude > 0 && count < 20);
    for (int pad = count; pad < width; ++pad) {
        m_data[m_size++] = '0';
    }
    while (count > 0) {
        m_data[m_size++] = digits[--count];
    }
}

void CDayText::PadTo(std::size_t start, std::size_t width) {
    const std::size_t written = m_size - start;
    if (written < width) {
        Reserve(width - written);
        std::memset(m_data.get() + m_size, ' ', width - written);
        m_size += width - written;
    }
}

void CDayText::Date(const CCivilDate& date) {
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

void CDayText::LongDate(const CCivilDate& date) {
    static constexpr std::string_view kWeekdays[7] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                                      "Thursday", "Friday", "Saturday"};
    Text(kWeekdays[Weekday(date)]);
    Text(", ");
    Text(g_Months[std::clamp(date.month, 1, 12) - 1].m_strName);
    Char(' ');
    Number(date.day, 2);
    Text(", ");
    Number(date.year, 4);
}

void CDayText::Clock(std::int64_t hour, int minute, int second) {
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

void CDayText::ClockMinutes(std::int64_t minutes) {
    Number(minutes / 60, 2);
    Char(':');
    Number(minutes % 60, 2);
}

void CDayText::Offset(int utcOffsetSeconds) {
    if (utcOffsetSeconds == m_lastOffset) {
        Text(std::string_view(m_lastOffsetText, sizeof m_lastOffsetText));
        return;
    }
    const std::size_t start = m_size;
    const std::int64_t magnitude =
        utcOffsetSeconds < 0 ? -static_cast<std::int64_t>(utcOffsetSeconds) : utcOffsetSeconds;
    Char(utcOffsetSeconds < 0 ? '-' : '+');
    Number(magnitude / 3600, 2);
    Char(':');
    Number(magnitude / 60 % 60, 2);
    if (m_size - start == sizeof m_lastOffsetText) {
        std::memcpy(m_lastOffsetText, m_data.get() + start, sizeof m_lastOffsetText);
        m_lastOffset = utcOffsetSeconds;
    }
}

void CDayText::Outcome(SolarOutcome outcome) {
    Text(outcome == SolarOutcome::UpAllDay ? "up all day" : "down all day");
}

void CDayText::Cell(SolarOutcome outcome, const CCivilTime& time, const CCivilDate& rowDate) {
    if (outcome != SolarOutcome::Time) {
        Outcome(outcome);
        return;
    }
    Clock(time);
    const std::int64_t shift =
        time.date == rowDate ? 0 : DaysFromCivil(time.date) - DaysFromCivil(rowDate);
    if (shift != 0) {
        Text(shift > 0 ? " +" : " -");
        Number(shift > 0 ? shift : -shift, 1);
    }
}

void CDayText::Stamp(SolarOutcome outcome, const CCivilTime& time, int utcOffsetSeconds) {
    if (outcome != SolarOutcome::Time) {
        Outcome(outcome);
        return;
    }
    Date(time.date);
    Char('T');
    Clock(time);
    Offset(utcOffsetSeconds);
}

void CDayText::Duration(std::int64_t seconds) {
    if (seconds < 0) {
        Char('-');
        seconds = -seconds;
    }
    Clock(seconds / 3600, static_cast<int>(seconds / 60 % 60), static_cast<int>(seconds % 60));
}

bool CDayText::DayLength(const CSolarResult& sunrise, const CSolarResult& sunset) {
    const std::optional<std::int64_t> seconds = DayLengthSeconds(sunrise, sunset);
    if (seconds) {
        Duration(*seconds);
    }
    return seconds.has_value();
}

void CDayText::CsvDay(const CCivilDate& date, const CSolarResult& sunrise,
                      const CSolarResult& sunset, const CSolarResult& solarNoon,
                      int utcOffsetSeconds) {
    Date(date);
    for (const CSolarResult* result : {&sunrise, &sunset, &solarNoon}) {
        Char(',');
        Stamp(*result, utcOffsetSeconds);
    }
    Char(',');
    DayLength(sunrise, sunset);
}

void CDayText::DayRow(const CDayOnClock& day, bool csv) {
    if (csv) {
        CsvDay(day.date, day.sunrise, day.sunset, day.solarNoon, day.clock.utcOffsetSeconds);
        Char('\n');
        return;
    }
    const std::size_t rowStart = m_size;
    Date(day.date);
    PadTo(rowStart, 12);
    for (const CSolarResult* result : {&day.sunrise, &day.sunset, &day.solarNoon}) {
        const std::size_t start = m_size;
        Cell(*result, day.date);
        PadTo(start, 14);
    }
    if (!DayLength(day.sunrise, day.sunset)) {
        Char('-');
    }
    Char('\n');
}

void CDayText::JsonDayOpen(const CCivilDate& date, int utcOffsetSeconds) {
    Text("  {\"date\": \"");
    Date(date);
    Text("\", \"utc_offset\": \"");
    Offset(utcOffsetSeconds);
    Char('"');
}

void CDayText::JsonKey(std::string_view key) {
    Text(", \"");
    Text(key);
    Text("\": ");
}

void CDayText::JsonStamp(std::optional<SolarOutcome> outcome, const CCivilTime& time,
                         int utcOffsetSeconds) {
    if (!outcome) {
        Text("null");
        return;
    }
    Char('"');
    Stamp(*outcome, time, utcOffsetSeconds);
    Char('"');
}

void CDayText::JsonText(std::string_view text) {
    if (text.empty()) {
        Text("null");
        return;
    }
    Char('"');
    Text(text);
    Char('"');
}

void CDayText::JsonNumber(std::optional<std::int64_t> value) {
    if (value) {
        Number(*value, 1);
    } else {
        Text("null");
    }
}

std::string_view DayTableHeader(bool csv) {
    return csv ? "date,sunrise,sunset,solar_noon,day_length\n"
               : "Date        Sunrise       Sunset        Solar noon    Day length\n";
}

std::optional<std::int64_t> DayLengthSeconds(const CSolarResult& sunrise,
                                             const CSolarResult& sunset) {
    if (sunrise.HasTime() && sunset.HasTime()) {
        const CCivilTime& from = sunrise.time;
        const CCivilTime& to = sunset.time;
        // Most days rise and set on one date: no day count needed.
        if (from.date != to.date) {
            return CivilSeconds(to) - CivilSeconds(from);
        }
        return (to.hour - from.hour) * 3600 + (to.minute - from.minute) * 60 + to.second -
               from.second;
    }
    if (!sunrise.HasTime() && !sunset.HasTime() && sunrise.outcome == sunset.outcome) {
        return sunrise.outcome == SolarOutcome::UpAllDay ? 86400 : 0;
    }
    return std::nullopt;
}

std::string IsoDate(const CCivilDate& date) {
    CDayText text;
    text.Date(date);
    return text.String();
}

std::string ClockOf(const CCivilTime& time) {
    CDayText text;
    text.Clock(time);
    return text.String();
}

std::string ClockMinutesText(std::int64_t minutes) {
    CDayText text;
    text.ClockMinutes(minutes);
    return text.String();
}

std::string OffsetText(int utcOffsetSeconds) {
    CDayText text;
    text.Offset(utcOffsetSeconds);
    return text.String();
}

std::string EventCell(SolarOutcome outcome, const CCivilTime& time, const CCivilDate& day) {
    CDayText text;
    text.Cell(outcome, time, day);
    return text.String();
}

std::string DurationText(const std::optional<std::int64_t>& seconds) {
    if (!seconds) {
        return {};
    }
    CDayText text;
    text.Duration(*seconds);
    return text.String();
}
