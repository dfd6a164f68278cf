#include "YearExport.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "FileText.h"

namespace {

// The Moon's event as the Sun's are written; nothing on a date without it.
std::optional<SolarOutcome> MoonOutcomeOf(const CMoonEventResult& result) {
    switch (result.outcome) {
        case MoonOutcome::Time:
            return SolarOutcome::Time;
        case MoonOutcome::UpAllDay:
            return SolarOutcome::UpAllDay;
        case MoonOutcome::DownAllDay:
            return SolarOutcome::DownAllDay;
        case MoonOutcome::NoneThisDate:
            break;
    }
    return std::nullopt;
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
    CDayText year;
    year.Number(request.date.year, 4);
    stem += '-';
    stem += year.View();
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

std::string AlmanacJson(const std::vector<CAlmanacEntry>& entries) {
    CDayText text;
    text.Char('[');
    const char* separator = "\n";
    for (const CAlmanacEntry& entry : entries) {
        text.Text(separator);
        separator = ",\n";
        text.Text("  {\"event\": ");
        text.Text(JsonString(entry.key));
        text.Text(", \"time\": ");
        text.JsonStamp(SolarOutcome::Time, entry.time, entry.utcOffsetSeconds);
        text.Char('}');
    }
    text.Text(entries.empty() ? "]\n" : "\n]\n");
    return text.String();
}

void AppendYearCsvDay(CDayText& text, const CYearDay& day) {
    const int offset = day.utcOffsetSeconds;
    text.CsvDay(day.date, day.sunrise, day.sunset, day.solarNoon, offset);
    if (day.hasTwilights) {
        text.Char(',');
        text.Stamp(day.civilDawn.outcome, day.civilDawn.time, offset);
        text.Char(',');
        text.Stamp(day.civilDusk.outcome, day.civilDusk.time, offset);
    }
    text.Char('\n');
}

std::string YearCsv(const CYearTable& table) {
    const bool twilights = !table.days.empty() && table.days.front().hasTwilights;
    CDayText text;
    text.Text(DayTableHeader(true).substr(0, DayTableHeader(true).size() - 1));
    text.Text(twilights ? ",civil_dawn,civil_dusk\n" : "\n");
    for (const CYearDay& day : table.days) {
        AppendYearCsvDay(text, day);
    }
    return text.String();
}

void AppendYearJsonDay(CDayText& text, const CYearDay& day) {
    const int offset = day.utcOffsetSeconds;
    text.JsonDayOpen(day.date, offset);
    text.JsonKey("sunrise");
    text.JsonStamp(day.sunrise.outcome, day.sunrise.time, offset);
    text.JsonKey("sunset");
    text.JsonStamp(day.sunset.outcome, day.sunset.time, offset);
    text.JsonKey("solar_noon");
    text.JsonStamp(day.solarNoon.outcome, day.solarNoon.time, offset);
    text.JsonKey("day_length");
    text.JsonNumber(DayLengthSeconds(day));
    if (day.hasTwilights) {
        text.JsonKey("civil_dawn");
        text.JsonStamp(day.civilDawn.outcome, day.civilDawn.time, offset);
        text.JsonKey("civil_dusk");
        text.JsonStamp(day.civilDusk.outcome, day.civilDusk.time, offset);
    }
    if (day.hasMoon) {
        text.JsonKey("moonrise");
        text.JsonStamp(MoonOutcomeOf(day.moonrise), day.moonrise.time, offset);
        text.JsonKey("moonset");
        text.JsonStamp(MoonOutcomeOf(day.moonset), day.moonset.time, offset);
        text.JsonKey("moon_phase");
        text.JsonText(MoonPhaseName(day.moonPhase.phase));
        text.JsonKey("moon_illumination");
        text.Text(FormatMoonIllumination(day.moonPhase));
    }
    text.JsonDayClose();
}

std::string YearJson(const CYearTable& table) {
    CDayText text;
    text.Char('[');
    const char* separator = "\n";
    for (const CYearDay& day : table.days) {
        text.Text(separator);
        separator = ",\n";
        AppendYearJsonDay(text, day);
    }
    text.Text(table.days.empty() ? "]\n" : "\n]\n");
    return text.String();
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
