#include "EventOutput.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <optional>
#include <ostream>
#include <utility>

#include "CliCells.h"
#include "CliOptions.h"
#include "SunEvents.h"

namespace {

constexpr const char* kEventNames[] = {"sunrise",      "sunset", "noon", "civil",  "nautical",
                                       "astronomical", "golden", "blue", "azimuth"};

enum class Angle { SunriseAzimuth, SunsetAzimuth, NoonElevation };

// One line of the single-day output, one column of a table: an event's time or an angle.
struct CItem {
    std::optional<SunEvent> event;
    Angle angle = Angle::SunriseAzimuth;  // when event is empty
};

std::vector<CItem> ItemsOf(CliEvent event) {
    using enum SunEvent;
    switch (event) {
        case CliEvent::Sunrise:
            return {{Sunrise}};
        case CliEvent::Sunset:
            return {{Sunset}};
        case CliEvent::Noon:
            return {{SolarNoon}};
        case CliEvent::Civil:
            return {{CivilDawn}, {CivilDusk}};
        case CliEvent::Nautical:
            return {{NauticalDawn}, {NauticalDusk}};
        case CliEvent::Astronomical:
            return {{AstronomicalDawn}, {AstronomicalDusk}};
        case CliEvent::Golden:
            return {{MorningGoldenHourStart},
                    {MorningGoldenHourEnd},
                    {EveningGoldenHourStart},
                    {EveningGoldenHourEnd}};
        case CliEvent::Blue:
            return {{MorningBlueHourStart},
                    {MorningBlueHourEnd},
                    {EveningBlueHourStart},
                    {EveningBlueHourEnd}};
        case CliEvent::Azimuth:
            return {{std::nullopt, Angle::SunriseAzimuth},
                    {std::nullopt, Angle::SunsetAzimuth},
                    {std::nullopt, Angle::NoonElevation}};
    }
    return {};
}

bool IsDefaultSeriesEvent(SunEvent event) {
    return event == SunEvent::Sunrise || event == SunEvent::Sunset || event == SunEvent::SolarNoon;
}

// "Local Sunrise", "Civil Dawn", "Sunrise Azimuth".
std::string LineName(const CItem& item) {
    if (item.event) {
        const std::string label = SunEventInfo(*item.event).label;
        return IsDefaultSeriesEvent(*item.event) ? "Local " + label : label;
    }
    switch (item.angle) {
        case Angle::SunriseAzimuth:
            return "Sunrise Azimuth";
        case Angle::SunsetAzimuth:
            return "Sunset Azimuth";
        case Angle::NoonElevation:
            return "Solar Noon Elevation";
    }
    return {};
}

// "Civil dawn" in a table's header, "civil_dawn" in a CSV file's.
std::string ColumnTitle(const CItem& item, bool csv) {
    std::string name = LineName(item);
    if (name.rfind("Local ", 0) == 0) {
        name.erase(0, 6);
    }
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (csv || i > 0) {
            name[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(name[i])));
        }
        if (csv && name[i] == ' ') {
            name[i] = '_';
        }
    }
    return name;
}

// One date's results: the default series' three events when it supplies them, and the
// precise engine's day.
struct CDayResults {
    CSolarDay series;
    CSunDayEvents precise;
    CClockOnDate clock;
};

struct CPlan {
    std::vector<CItem> items;
    bool precise = false;           // the three events from the precise engine
    bool needSeries = false;        // the default series is asked for
    bool runPrecise = false;        // the precise engine is asked for
    SunAltitudeMask altitudes = 0;  // its crossings to compute
    bool dayLength = false;
};

bool FromSeries(const CPlan& plan, SunEvent event) {
    return !plan.precise && IsDefaultSeriesEvent(event);
}

CPlan MakePlan(const CCliOptions& options) {
    CPlan plan;
    plan.precise = options.precise;
    const std::vector<CliEvent> events =
        options.events.empty()
            ? std::vector<CliEvent>{CliEvent::Sunrise, CliEvent::Sunset, CliEvent::Noon}
            : options.events;
    bool rise = false;
    bool set = false;
    for (CliEvent event : events) {
        rise = rise || event == CliEvent::Sunrise;
        set = set || event == CliEvent::Sunset;
        for (const CItem& item : ItemsOf(event)) {
            plan.items.push_back(item);
            if (!item.event) {
                plan.runPrecise = true;
                plan.altitudes |= SunAltitudeBit(SunAltitude::Horizon);
            } else if (FromSeries(plan, *item.event)) {
                plan.needSeries = true;
            } else {
                plan.runPrecise = true;
                plan.altitudes |= SunEventAltitudes(*item.event);
            }
        }
    }
    plan.dayLength = rise && set;
    return plan;
}

CSolarResult SeriesResult(const CDayResults& day, SunEvent event) {
    return event == SunEvent::Sunrise  ? day.series.sunrise
           : event == SunEvent::Sunset ? day.series.sunset
                                       : day.series.solarNoon;
}

// The angle's value, or nothing when its crossing does not happen.
std::optional<double> AngleValue(const CSunDayEvents& day, Angle angle) {
    switch (angle) {
        case Angle::SunriseAzimuth:
            return day[SunEvent::Sunrise].HasTime() ? std::optional(day.sunriseAzimuth)
                                                    : std::nullopt;
        case Angle::SunsetAzimuth:
            return day[SunEvent::Sunset].HasTime() ? std::optional(day.sunsetAzimuth)
                                                   : std::nullopt;
        case Angle::NoonElevation:
            return day.noonElevation;
    }
    return std::nullopt;
}

std::string LineValue(const CPlan& plan, const CDayResults& day, const CItem& item) {
    if (!item.event) {
        const std::optional<double> value = AngleValue(day.precise, item.angle);
        if (value) {
            return FormatSunAngle(*value);
        }
        return item.angle == Angle::SunriseAzimuth ? "no sunrise" : "no sunset";
    }
    if (FromSeries(plan, *item.event)) {
        return FormatSolarTime(SeriesResult(day, *item.event));
    }
    return FormatSunEvent(day.precise[*item.event]);
}

// A table or CSV cell; `csv` picks the CSV form.
void WriteCell(CRowText& text, const CPlan& plan, const CDayResults& day, const CItem& item,
               bool csv) {
    if (!item.event) {
        const std::optional<double> value = AngleValue(day.precise, item.angle);
        if (value) {
            char buffer[32];
            const int length = std::snprintf(buffer, sizeof buffer, "%.1f", *value);
            text.Text(std::string_view(buffer, static_cast<std::size_t>(std::max(length, 0))));
        } else if (!csv) {
            text.Char('-');
        }
        return;
    }
    const CSolarResult result = FromSeries(plan, *item.event)
                                    ? SeriesResult(day, *item.event)
                                    : ToSolarResult(day.precise[*item.event]);
    if (!result.HasTime() && !IsDefaultSeriesEvent(*item.event)) {
        text.Text(result.outcome == SolarOutcome::UpAllDay ? "above all day" : "below all day");
    } else if (csv) {
        text.CsvCell(result, day.clock.utcOffsetSeconds);
    } else {
        text.Cell(result, day.series.date);
    }
}

// Sunrise and sunset as the day length takes them, from whichever engine shows them.
CSolarDay ShownDay(const CPlan& plan, const CDayResults& day) {
    if (!plan.precise) {
        return day.series;
    }
    CSolarDay shown;
    shown.date = day.series.date;
    shown.sunrise = ToSolarResult(day.precise[SunEvent::Sunrise]);
    shown.sunset = ToSolarResult(day.precise[SunEvent::Sunset]);
    return shown;
}

std::vector<CDayResults> Compute(const CPlan& plan, const CCliOptions& options,
                                 const CCivilDate& date, bool singleDay) {
    const double lat = *options.latitude;
    const double lon = *options.longitude;
    const int days = singleDay ? 1 : std::max(1, options.days);
    const CClockChoice clock = ClockChoiceOf(options);
    const std::vector<CClockRun> runs = clock.Runs(date, days, lon);

    std::vector<CDayResults> rows(static_cast<std::size_t>(days));
    if (plan.needSeries && singleDay) {
        // The window's calls, so that the lines are the plain ones (with a polar day's
        // nearest sunrise or sunset).
        const CClockRun& day = runs.front();
        const float offset = day.clock.offset;
        const int dst = day.clock.dst;
        rows[0].series = {date, LocalSunrise(day.engineFirst, lat, lon, offset, dst),
                          LocalSunset(day.engineFirst, lat, lon, offset, dst),
                          LocalSolarNoon(day.engineFirst, lon, offset, dst)};
    } else if (plan.needSeries) {
        const std::vector<CSolarDay> series = SolarTableOnClock(clock, date, days, lat, lon);
        for (std::size_t i = 0; i < rows.size(); ++i) {
            rows[i].series = series[i];
        }
    }
    std::size_t row = 0;
    for (const CClockRun& run : runs) {
        std::vector<CSunDayEvents> precise;
        if (plan.runPrecise) {
            precise = PreciseSunTable(run.engineFirst, run.days, lat, lon, run.clock.offset,
                                      run.clock.dst, plan.altitudes);
        }
        for (std::size_t i = 0; i < static_cast<std::size_t>(run.days); ++i, ++row) {
            if (plan.runPrecise) {
                rows[row].precise = precise[i];
            }
            rows[row].clock = run.clock;
        }
    }
    for (std::size_t i = 0; i < rows.size(); ++i) {
        rows[i].series.date = AddDays(date, static_cast<std::int64_t>(i));
    }
    return rows;
}

}  // namespace

std::vector<CliEvent> ParseEventList(std::string_view option, std::string_view text) {
    std::vector<CliEvent> events;
    std::string_view rest = text;
    while (true) {
        const std::size_t comma = rest.find(',');
        const std::string_view name = rest.substr(0, comma);
        const auto* found = std::find(std::begin(kEventNames), std::end(kEventNames), name);
        if (found == std::end(kEventNames)) {
            throw CCliError(std::string(option) + ": '" + std::string(name) +
                            "' is not an event (sunrise, sunset, noon, civil, nautical, "
                            "astronomical, golden, blue, azimuth)");
        }
        const auto event = static_cast<CliEvent>(found - std::begin(kEventNames));
        if (std::find(events.begin(), events.end(), event) == events.end()) {
            events.push_back(event);
        }
        if (comma == std::string_view::npos) {
            break;
        }
        rest.remove_prefix(comma + 1);
    }
    return events;
}

bool UsesEventOutput(const CCliOptions& options) {
    return options.precise || !options.events.empty();
}

CliOutputWriter EventOutput(const CCliOptions& options, const CCivilDate& date) {
    CPlan plan = MakePlan(options);
    const bool singleDay = options.days == 0 && options.format == CliFormat::Text;
    std::vector<CDayResults> rows = Compute(plan, options, date, singleDay);
    if (singleDay) {
        std::string text;
        for (const CItem& item : plan.items) {
            text += LineName(item) + ": " + LineValue(plan, rows[0], item) + "\n";
        }
        return [text = std::move(text)](std::ostream& out) { out << text; };
    }
    return [plan = std::move(plan), rows = std::move(rows),
            csv = options.format == CliFormat::Csv](std::ostream& out) {
        CRowText text;
        std::vector<std::size_t> widths;
        text.Text(csv ? "date" : "Date        ");
        for (const CItem& item : plan.items) {
            const std::string title = ColumnTitle(item, csv);
            widths.push_back(std::max<std::size_t>(14, title.size() + 2));
            const bool last = widths.size() == plan.items.size() && !plan.dayLength;
            const std::size_t start = text.Size();
            if (csv) {
                text.Char(',');
            }
            text.Text(title);
            if (!csv && !last) {
                text.PadTo(start, widths.back());
            }
        }
        text.Text(plan.dayLength ? (csv ? ",day_length\n" : "Day length\n") : "\n");
        out.write(text.Data(), static_cast<std::streamsize>(text.Size()));
        for (const CDayResults& row : rows) {
            if (!out) {
                return;
            }
            text.Clear();
            text.Date(row.series.date);
            if (!csv) {
                text.PadTo(0, 12);
            }
            for (std::size_t i = 0; i < plan.items.size(); ++i) {
                const bool last = i + 1 == plan.items.size() && !plan.dayLength;
                if (csv) {
                    text.Char(',');
                }
                const std::size_t start = text.Size();
                WriteCell(text, plan, row, plan.items[i], csv);
                if (!csv && !last) {
                    text.PadTo(start, widths[i]);
                }
            }
            if (plan.dayLength) {
                if (csv) {
                    text.Char(',');
                }
                if (!text.DayLength(ShownDay(plan, row)) && !csv) {
                    text.Char('-');
                }
            }
            text.Char('\n');
            out.write(text.Data(), static_cast<std::streamsize>(text.Size()));
        }
    };
}
