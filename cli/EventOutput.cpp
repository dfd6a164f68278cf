#include "EventOutput.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <optional>
#include <ostream>
#include <utility>

#include "CliOptions.h"
#include "DayOnClock.h"
#include "DayText.h"
#include "FileText.h"
#include "SolarTable.h"
#include "SunEvents.h"
#include "YearExport.h"

namespace {

constexpr const char* kEventNames[] = {"sunrise",  "sunset",       "noon",    "civil",
                                       "nautical", "astronomical", "golden",  "blue",
                                       "azimuth",  "moonrise",     "moonset", "moon"};

enum class Angle { SunriseAzimuth, SunsetAzimuth, NoonElevation };

// The Moon's columns; `moon` is one line but two columns.
enum class MoonItem { None, Rise, Set, Phase, Illumination };

// One line of the single-day output, one column of a table: an event's time, an angle or one
// of the Moon's values.
struct CItem {
    std::optional<SunEvent> event;
    Angle angle = Angle::SunriseAzimuth;  // when event is empty and moon is None
    MoonItem moon = MoonItem::None;
};

CItem MoonColumn(MoonItem moon) {
    CItem item;
    item.moon = moon;
    return item;
}

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
        case CliEvent::Moonrise:
            return {MoonColumn(MoonItem::Rise)};
        case CliEvent::Moonset:
            return {MoonColumn(MoonItem::Set)};
        case CliEvent::Moon:
            return {MoonColumn(MoonItem::Phase), MoonColumn(MoonItem::Illumination)};
    }
    return {};
}

bool IsDefaultSeriesEvent(SunEvent event) {
    return event == SunEvent::Sunrise || event == SunEvent::Sunset || event == SunEvent::SolarNoon;
}

// "Moonrise", "Moonset", "Moon phase", "Moon illumination": the Moon's line and column names.
const char* MoonName(MoonItem item) {
    switch (item) {
        case MoonItem::Rise:
            return "Moonrise";
        case MoonItem::Set:
            return "Moonset";
        case MoonItem::Phase:
            return "Moon phase";
        case MoonItem::Illumination:
        case MoonItem::None:
            break;
    }
    return "Moon illumination";
}

// "Local Sunrise", "Civil Dawn", "Sunrise Azimuth", "Moonrise".
std::string LineName(const CItem& item) {
    if (item.moon != MoonItem::None) {
        return MoonName(item.moon);
    }
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

struct CPlan {
    std::vector<CItem> items;
    SolarEngine engine = SolarEngine::Series;  // the engine of sunrise, sunset and noon
    SunAltitudeMask altitudes = 0;             // the precise engine's crossings to compute
    bool dayLength = false;
    bool moon = false;  // the Moon engine's day too
};

CPlan MakePlan(const CCliOptions& options) {
    CPlan plan;
    const std::vector<CliEvent> events =
        options.events.empty()
            ? std::vector<CliEvent>{CliEvent::Sunrise, CliEvent::Sunset, CliEvent::Noon}
            : options.events;
    bool rise = false;
    bool set = false;
    bool triple = false;  // one of the three events the default series has
    bool sun = false;     // any of the Sun's events or angles
    for (CliEvent event : events) {
        rise = rise || event == CliEvent::Sunrise;
        set = set || event == CliEvent::Sunset;
        for (const CItem& item : ItemsOf(event)) {
            plan.items.push_back(item);
            if (item.moon != MoonItem::None) {
                plan.moon = true;
                continue;
            }
            sun = true;
            if (!item.event) {
                plan.altitudes |= SunAltitudeBit(SunAltitude::Horizon);
            } else if (IsDefaultSeriesEvent(*item.event)) {
                triple = true;
            } else {
                plan.altitudes |= SunEventAltitudes(*item.event);
            }
        }
    }
    // Without one of the three, the precise engine alone is asked for (the Moon alone asks
    // nothing of either, and the series costs least).
    plan.engine = options.precise || (sun && !triple) ? SolarEngine::Precise : SolarEngine::Series;
    plan.dayLength = rise && set;
    return plan;
}

CSolarResult TripleResult(const CDayOnClock& day, SunEvent event) {
    return event == SunEvent::Sunrise  ? day.sunrise
           : event == SunEvent::Sunset ? day.sunset
                                       : day.solarNoon;
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

const CMoonEventResult& MoonResult(const CDayOnClock& day, MoonItem item) {
    return day.moon[item == MoonItem::Rise ? MoonEvent::Moonrise : MoonEvent::Moonset];
}

// The Moon's event as the Sun's cells write one; outcome Time only.
CSolarResult MoonCellResult(const CMoonEventResult& result) {
    CSolarResult cell;
    cell.outcome = SolarOutcome::Time;
    cell.time = result.time;
    return cell;
}

std::string LineValue(const CDayOnClock& day, const CItem& item) {
    if (!item.event) {
        const std::optional<double> value = AngleValue(day.precise, item.angle);
        if (value) {
            return FormatSunAngle(*value);
        }
        return item.angle == Angle::SunriseAzimuth ? "no sunrise" : "no sunset";
    }
    if (IsDefaultSeriesEvent(*item.event)) {
        return FormatSolarTime(TripleResult(day, *item.event));
    }
    return FormatSunEvent(day.precise[*item.event]);
}

// A line's text; empty for a column that has no line of its own.
std::string Line(const CDayOnClock& day, const CItem& item) {
    switch (item.moon) {
        case MoonItem::None:
            return LineName(item) + ": " + LineValue(day, item) + "\n";
        case MoonItem::Rise:
        case MoonItem::Set:
            return LineName(item) + ": " + FormatMoonEvent(MoonResult(day, item.moon)) + "\n";
        case MoonItem::Phase:
            return "Moon: " + FormatMoonPhase(day.moonPhase) + "\n";
        case MoonItem::Illumination:
            break;  // on the phase's line
    }
    return {};
}

// The Moon's cell: a time, "up all day" or "down all day"; a date without the event has "-" in
// a table and nothing in a CSV file, as an angle that does not happen.
void WriteMoonCell(CDayText& text, const CDayOnClock& day, MoonItem item, bool csv) {
    if (item == MoonItem::Phase) {
        text.Text(MoonPhaseName(day.moonPhase.phase));
        return;
    }
    if (item == MoonItem::Illumination) {
        text.Text(FormatMoonIllumination(day.moonPhase));
        return;
    }
    const CMoonEventResult& result = MoonResult(day, item);
    switch (result.outcome) {
        case MoonOutcome::Time:
            if (csv) {
                text.Stamp(MoonCellResult(result), day.clock.utcOffsetSeconds);
            } else {
                text.Cell(MoonCellResult(result), day.date);
            }
            return;
        case MoonOutcome::UpAllDay:
            text.Text("up all day");
            return;
        case MoonOutcome::DownAllDay:
            text.Text("down all day");
            return;
        case MoonOutcome::NoneThisDate:
            break;
    }
    if (!csv) {
        text.Char('-');
    }
}

// A table or CSV cell; `csv` picks the CSV form.
void WriteCell(CDayText& text, const CDayOnClock& day, const CItem& item, bool csv) {
    if (item.moon != MoonItem::None) {
        WriteMoonCell(text, day, item.moon, csv);
        return;
    }
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
    const CSolarResult result = IsDefaultSeriesEvent(*item.event)
                                    ? TripleResult(day, *item.event)
                                    : ToSolarResult(day.precise[*item.event]);
    if (csv) {
        text.Stamp(result, day.clock.utcOffsetSeconds);
    } else {
        text.Cell(result, day.date);
    }
}

// A JSON value of the cell: its CSV text as a string (an ISO time with its offset, "up all
// day", a phase's name), a number for an angle or the percentage lit, null for an empty cell.
void WriteJsonCell(CDayText& json, const CDayOnClock& day, const CItem& item) {
    const bool number =
        !item.event && (item.moon == MoonItem::None || item.moon == MoonItem::Illumination);
    const std::size_t start = json.Size();
    if (!number) {
        json.Char('"');
    }
    const std::size_t cell = json.Size();
    WriteCell(json, day, item, true);
    if (json.Size() == cell) {
        json.Truncate(start);
        json.Text("null");
    } else if (!number) {
        json.Char('"');
    }
}

// Hands each row to a function as it is computed.
class CRowSink final : public CDayOnClockSink {
public:
    explicit CRowSink(const std::function<void(const CDayOnClock&)>& take) : m_take(take) {}
    void Add(const CDayOnClock& day) override { m_take(day); }

private:
    const std::function<void(const CDayOnClock&)>& m_take;
};

}  // namespace

std::vector<CliEvent> ParseEventList(std::string_view option, std::string_view text) {
    std::vector<CliEvent> events;
    std::string_view rest = text;
    while (true) {
        const std::size_t comma = rest.find(',');
        const std::string_view name = rest.substr(0, comma);
        const auto* found = std::find(std::begin(kEventNames), std::end(kEventNames), name);
        if (found == std::end(kEventNames)) {
            throw CCliError(std::string(option) + ": '" + PrintableArgument(name) +
                            "' is not an event (sunrise, sunset, noon, civil, nautical, "
                            "astronomical, golden, blue, azimuth, moonrise, moonset, moon)");
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

bool HasMoonEvent(const std::vector<CliEvent>& events) {
    return std::any_of(events.begin(), events.end(), [](CliEvent event) {
        return event == CliEvent::Moonrise || event == CliEvent::Moonset || event == CliEvent::Moon;
    });
}

bool UsesEventOutput(const CCliOptions& options) {
    return options.precise || !options.events.empty();
}

SolarEngine CliEngine(const CCliOptions& options) {
    if (options.precise) {
        return SolarEngine::Precise;
    }
    return UsesEventOutput(options) ? MakePlan(options).engine : SolarEngine::Series;
}

struct CEventColumns::Impl {
    CPlan plan;
    std::vector<std::string> keys;    // the JSON fields' names, as the CSV columns'
    std::vector<std::size_t> widths;  // the table's columns
};

CEventColumns::CEventColumns(const CCliOptions& options) : m_impl(std::make_unique<Impl>()) {
    m_impl->plan = MakePlan(options);
    for (const CItem& item : m_impl->plan.items) {
        m_impl->keys.push_back(ColumnTitle(item, true));
        // The longest phase name is 15 characters.
        const std::size_t least = item.moon == MoonItem::Phase ? 17 : 14;
        m_impl->widths.push_back(std::max<std::size_t>(least, ColumnTitle(item, false).size() + 2));
    }
}

CEventColumns::~CEventColumns() = default;

SolarEngine CEventColumns::Engine() const noexcept {
    return m_impl->plan.engine;
}

SunAltitudeMask CEventColumns::Altitudes() const noexcept {
    return m_impl->plan.altitudes;
}

bool CEventColumns::Moon() const noexcept {
    return m_impl->plan.moon;
}

void CEventColumns::Lines(std::string& text, const CDayOnClock& day) const {
    for (const CItem& item : m_impl->plan.items) {
        text += Line(day, item);
    }
}

void CEventColumns::Header(CDayText& text, bool csv) const {
    const CPlan& plan = m_impl->plan;
    text.Text(csv ? "date" : "Date        ");
    for (std::size_t i = 0; i < plan.items.size(); ++i) {
        const bool last = i + 1 == plan.items.size() && !plan.dayLength;
        const std::size_t start = text.Size();
        if (csv) {
            text.Char(',');
        }
        text.Text(ColumnTitle(plan.items[i], csv));
        if (!csv && !last) {
            text.PadTo(start, m_impl->widths[i]);
        }
    }
    text.Text(plan.dayLength ? (csv ? ",day_length\n" : "Day length\n") : "\n");
}

void CEventColumns::Row(CDayText& text, const CDayOnClock& row, bool csv) const {
    const CPlan& plan = m_impl->plan;
    const std::size_t rowStart = text.Size();
    text.Date(row.date);
    if (!csv) {
        text.PadTo(rowStart, 12);
    }
    for (std::size_t i = 0; i < plan.items.size(); ++i) {
        const bool last = i + 1 == plan.items.size() && !plan.dayLength;
        if (csv) {
            text.Char(',');
        }
        const std::size_t start = text.Size();
        WriteCell(text, row, plan.items[i], csv);
        if (!csv && !last) {
            text.PadTo(start, m_impl->widths[i]);
        }
    }
    if (plan.dayLength) {
        if (csv) {
            text.Char(',');
        }
        if (!text.DayLength(row.sunrise, row.sunset) && !csv) {
            text.Char('-');
        }
    }
    text.Char('\n');
}

void CEventColumns::JsonDay(CDayText& json, const CDayOnClock& row) const {
    const CPlan& plan = m_impl->plan;
    json.JsonDayOpen(row.date, row.clock.utcOffsetSeconds);
    for (std::size_t i = 0; i < plan.items.size(); ++i) {
        json.JsonKey(m_impl->keys[i]);
        WriteJsonCell(json, row, plan.items[i]);
    }
    if (plan.dayLength) {
        json.JsonKey("day_length");
        json.JsonNumber(DayLengthSeconds(row.sunrise, row.sunset));
    }
    json.JsonDayClose();
}

CliOutputWriter EventOutput(const CCliOptions& options, const CCivilDate& date) {
    auto columns = std::make_shared<const CEventColumns>(options);
    const double lat = *options.latitude;
    const double lon = *options.longitude;
    const CClockChoice clock = ClockChoiceOf(options);
    const SolarEngine engine = columns->Engine();
    const SunAltitudeMask altitudes = columns->Altitudes();
    const bool moon = columns->Moon();
    if (options.days == 0 && options.format == CliFormat::Text) {
        const CDayOnClock day = SolarDayOnClock(clock, date, lat, lon, engine, altitudes, moon);
        std::string text;
        columns->Lines(text, day);
        return [text = std::move(text)](std::ostream& out) { out << text; };
    }
    // Rows stream to the output as they are computed. A result can leave the years 1900 to
    // 9999 only on the first or the last date, so those two are computed (and refused) before
    // anything is written.
    const int days = std::max(1, options.days);
    SolarDayOnClock(clock, date, lat, lon, engine, altitudes, moon);
    if (days > 1) {
        SolarDayOnClock(clock, AddDays(date, days - 1), lat, lon, engine, altitudes, moon);
    }
    const CliFormat format = options.format;
    return [columns, clock, date, days, lat, lon, format](std::ostream& out) {
        CDayText text;
        // Rows go out a few hundred at a time: a write per row costs more than its text.
        const auto flush = [&out, &text] {
            out.write(text.Data(), static_cast<std::streamsize>(text.Size()));
            text.Clear();
        };
        const char* separator = "[\n";
        if (format != CliFormat::Json) {
            columns->Header(text, format == CliFormat::Csv);
            flush();
        }
        const std::function<void(const CDayOnClock&)> take = [&](const CDayOnClock& row) {
            if (!out) {
                return;
            }
            if (format == CliFormat::Json) {
                // The objects of the day files (YearExport.h) with the chosen events as their
                // fields, named as the CSV columns are.
                text.Text(separator);
                separator = ",\n";
                columns->JsonDay(text, row);
            } else {
                columns->Row(text, row, format == CliFormat::Csv);
            }
            if (text.Size() >= 64 * 1024) {
                flush();
            }
        };
        CRowSink sink(take);
        SolarDaysOnClock(clock, date, days, lat, lon, columns->Engine(), columns->Altitudes(), sink,
                         columns->Moon());
        if (format == CliFormat::Json) {
            text.Text("\n]\n");
        }
        if (out) {
            flush();
        }
    };
}
