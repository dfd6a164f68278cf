#include "YearExport.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "FileText.h"

namespace {

std::string OutcomeText(SolarOutcome outcome) {
    return outcome == SolarOutcome::UpAllDay ? "up all day" : "down all day";
}

std::string Digits(long long value, int width) {
    // The common case by hand: a day's rows hold a dozen of these, and printf's cost was most
    // of a century's JSON file.
    static constexpr long long kLimit[] = {1, 10, 100, 1000, 10000, 100000};
    if (width >= 1 && width <= 5 && value >= 0 && value < kLimit[width]) {
        std::string text(static_cast<std::size_t>(width), '0');
        for (int i = width - 1; value > 0; --i, value /= 10) {
            text[static_cast<std::size_t>(i)] = static_cast<char>('0' + value % 10);
        }
        return text;
    }
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%0*lld", width, value);
    return buffer;
}

std::string LocalIso(const CCivilTime& time) {
    return IsoDate(time.date) + "T" + ClockOf(time);
}

// The event's local time with its UTC offset, or what the Sun does all day: one text for
// the CSV cells and the JSON values.
std::string EventStamp(SolarOutcome outcome, const CCivilTime& time, int utcOffset) {
    return outcome == SolarOutcome::Time ? LocalIso(time) + OffsetText(utcOffset)
                                         : OutcomeText(outcome);
}

std::string JsonValue(SolarOutcome outcome, const CCivilTime& time, int utcOffset) {
    return JsonString(EventStamp(outcome, time, utcOffset));
}

// The Moon's event as a JSON value: null on a date without it.
std::string MoonJsonValue(const CMoonEventResult& result, int utcOffset) {
    switch (result.outcome) {
        case MoonOutcome::Time:
            return JsonValue(SolarOutcome::Time, result.time, utcOffset);
        case MoonOutcome::UpAllDay:
            return JsonValue(SolarOutcome::UpAllDay, result.time, utcOffset);
        case MoonOutcome::DownAllDay:
            return JsonValue(SolarOutcome::DownAllDay, result.time, utcOffset);
        case MoonOutcome::NoneThisDate:
            break;
    }
    return "null";
}

std::string CsvValue(SolarOutcome outcome, const CCivilTime& time, int utcOffset) {
    return CsvField(EventStamp(outcome, time, utcOffset));
}

}  // namespace

std::string CoordinatesText(const CYearRequest& request) {
    // to_chars: printf would follow LC_NUMERIC, which the window sets from the user's locale.
    auto degrees = [](double value, char positive, char negative) {
        char buffer[64];
        const auto end = std::to_chars(buffer, buffer + sizeof buffer - 1, std::fabs(value),
                                       std::chars_format::fixed, 4)
                             .ptr;
        *end = value < 0 ? negative : positive;
        return std::string(buffer, end + 1);
    };
    return degrees(request.latitude, 'N', 'S') + " " + degrees(request.longitude, 'W', 'E');
}

std::string YearFileStem(const CYearRequest& request) {
    std::string stem = request.placeName.empty() ? CoordinatesText(request) : request.placeName;
    if (!request.placeName.empty() && !request.stateCode.empty()) {
        stem += "-" + request.stateCode;
    }
    stem += "-" + Digits(request.date.year, 4);
    for (char& c : stem) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte <= 0x20 || byte == 0x7F ||
            std::string_view("/\\:*?\"<>|").find(c) != std::string_view::npos) {
            c = '-';
        }
    }
    if (stem.front() == '.') {
        stem.front() = '_';
    }
    return stem;
}

std::string IsoDate(const CCivilDate& date) {
    return Digits(date.year, 4) + "-" + Digits(date.month, 2) + "-" + Digits(date.day, 2);
}

std::string ClockOf(const CCivilTime& time) {
    return Digits(time.hour, 2) + ":" + Digits(time.minute, 2) + ":" + Digits(time.second, 2);
}

std::string OffsetText(int utcOffsetSeconds) {
    const int magnitude = std::abs(utcOffsetSeconds);
    return (utcOffsetSeconds < 0 ? "-" : "+") + Digits(magnitude / 3600, 2) + ":" +
           Digits(magnitude / 60 % 60, 2);
}

std::string EventCell(SolarOutcome outcome, const CCivilTime& time, const CCivilDate& day) {
    if (outcome != SolarOutcome::Time) {
        return OutcomeText(outcome);
    }
    std::string text = ClockOf(time);
    const std::int64_t shift = DaysFromCivil(time.date) - DaysFromCivil(day);
    if (shift != 0) {
        text += (shift > 0 ? " +" : " -") + std::to_string(shift > 0 ? shift : -shift);
    }
    return text;
}

std::string DurationText(const std::optional<std::int64_t>& seconds) {
    if (!seconds) {
        return {};
    }
    const std::int64_t magnitude = *seconds < 0 ? -*seconds : *seconds;
    return (*seconds < 0 ? "-" : "") + Digits(magnitude / 3600, 2) + ":" +
           Digits(magnitude / 60 % 60, 2) + ":" + Digits(magnitude % 60, 2);
}

std::string AlmanacJson(const std::vector<CAlmanacEntry>& entries) {
    std::string text = "[";
    const char* separator = "\n";
    for (const CAlmanacEntry& entry : entries) {
        text += separator;
        separator = ",\n";
        text += "  {\"event\": " + JsonString(entry.key) +
                ", \"time\": " + JsonValue(SolarOutcome::Time, entry.time, entry.utcOffsetSeconds) +
                "}";
    }
    text += entries.empty() ? "]\n" : "\n]\n";
    return text;
}

std::string YearCsv(const CYearTable& table) {
    const bool twilights = !table.days.empty() && table.days.front().hasTwilights;
    std::string text = "date,sunrise,sunset,solar_noon,day_length";
    text += twilights ? ",civil_dawn,civil_dusk\n" : "\n";
    text.reserve(text.size() + table.days.size() * (twilights ? 120 : 80));
    for (const CYearDay& day : table.days) {
        const int offset = day.utcOffsetSeconds;
        text += CsvField(IsoDate(day.date)) + "," +
                CsvValue(day.sunrise.outcome, day.sunrise.time, offset) + "," +
                CsvValue(day.sunset.outcome, day.sunset.time, offset) + "," +
                CsvValue(day.solarNoon.outcome, day.solarNoon.time, offset) + "," +
                CsvField(DurationText(DayLengthSeconds(day)));
        if (twilights) {
            text += "," + CsvValue(day.civilDawn.outcome, day.civilDawn.time, offset) + "," +
                    CsvValue(day.civilDusk.outcome, day.civilDusk.time, offset);
        }
        text += "\n";
    }
    return text;
}

void AppendYearJsonDay(std::string& text, const CYearDay& day) {
    const int offset = day.utcOffsetSeconds;
    const auto length = DayLengthSeconds(day);
    text += "  {\"date\": " + JsonString(IsoDate(day.date)) +
            ", \"utc_offset\": " + JsonString(OffsetText(offset)) +
            ", \"sunrise\": " + JsonValue(day.sunrise.outcome, day.sunrise.time, offset) +
            ", \"sunset\": " + JsonValue(day.sunset.outcome, day.sunset.time, offset) +
            ", \"solar_noon\": " + JsonValue(day.solarNoon.outcome, day.solarNoon.time, offset) +
            ", \"day_length\": " + (length ? std::to_string(*length) : "null");
    if (day.hasTwilights) {
        text +=
            ", \"civil_dawn\": " + JsonValue(day.civilDawn.outcome, day.civilDawn.time, offset) +
            ", \"civil_dusk\": " + JsonValue(day.civilDusk.outcome, day.civilDusk.time, offset);
    }
    if (day.hasMoon) {
        text += ", \"moonrise\": " + MoonJsonValue(day.moonrise, offset) +
                ", \"moonset\": " + MoonJsonValue(day.moonset, offset) +
                ", \"moon_phase\": " + JsonString(MoonPhaseName(day.moonPhase.phase)) +
                ", \"moon_illumination\": " + FormatMoonIllumination(day.moonPhase);
    }
    text += "}";
}

std::string YearJson(const CYearTable& table) {
    std::string text = "[";
    text.reserve(table.days.size() * 240);
    const char* separator = "\n";
    for (const CYearDay& day : table.days) {
        text += separator;
        separator = ",\n";
        AppendYearJsonDay(text, day);
    }
    text += table.days.empty() ? "]\n" : "\n]\n";
    return text;
}

std::vector<std::vector<std::string>> ReadCsv(std::string_view text) {
    std::vector<std::vector<std::string>> rows;
    std::vector<std::string> row;
    std::string field;
    bool quoted = false;
    bool rowStarted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        rowStarted = true;
        if (quoted) {
            if (c != '"') {
                field += c;
            } else if (i + 1 < text.size() && text[i + 1] == '"') {
                field += '"';
                ++i;
            } else {
                quoted = false;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            row.push_back(std::move(field));
            field.clear();
        } else if (c == '\n' || (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) {
            i += c == '\r' ? 1 : 0;
            row.push_back(std::move(field));
            field.clear();
            rows.push_back(std::move(row));
            row.clear();
            rowStarted = false;
        } else {
            field += c;
        }
    }
    if (rowStarted) {
        row.push_back(std::move(field));
        rows.push_back(std::move(row));
    }
    return rows;
}
