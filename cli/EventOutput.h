#pragma once
// The tool's output with --precise or --events: the chosen events of one date as lines, or as
// the columns of a table or CSV file of days.
//
//     daybreak-cli --precise --events sunrise,sunset,civil --lat 41.88 --lon 87.63 ...
//     Local Sunrise: Thursday, June 21, 2007,  05:15:...
//     Local Sunset: ...
//     Civil Dawn: ...
//     Civil Dusk: ...
//
// Without --precise, sunrise, sunset and solar noon come from the default series exactly as
// the plain lines give them; the other events of the Sun exist only in the precise engine. The
// Moon's come from the Moon engine, on the same clock:
//
//     Moonrise: Friday, June 21, 2024,  20:51:..       (or "No moonrise on this date")
//     Moon: Full Moon, 99.7% lit                        (the light at 12:00 on the clock)

#include <functional>
#include <iosfwd>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "CivilTime.h"
#include "DayOnClock.h"

struct CCliOptions;

// The names --events takes, in the order of this enumeration when listed in the help.
enum class CliEvent {
    Sunrise,
    Sunset,
    Noon,
    Civil,
    Nautical,
    Astronomical,
    Golden,
    Blue,
    Azimuth,
    Moonrise,
    Moonset,
    Moon,  // the Moon's phase and illuminated fraction
};

// Whether the list names one of the Moon's events.
bool HasMoonEvent(const std::vector<CliEvent>& events);

// "sunrise,sunset,civil": each name once, in the order given. Throws CCliError naming the
// option for an empty list or an unknown name.
std::vector<CliEvent> ParseEventList(std::string_view option, std::string_view text);

// Whether the options ask for this output rather than the plain three lines or table.
bool UsesEventOutput(const CCliOptions& options);

// The engine whose sunrise, sunset and solar noon the options show: the precise engine with
// --precise or for events the default series does not have.
SolarEngine CliEngine(const CCliOptions& options);

// Writes the tool's output once everything in it has been computed.
using CliOutputWriter = std::function<void(std::ostream&)>;

class CDayText;

// The lines, or the columns of a table, CSV file or JSON array, that --precise and --events
// ask for, written a day at a time: one place's output and each place's of --places.
class CEventColumns {
public:
    explicit CEventColumns(const CCliOptions& options);
    ~CEventColumns();

    // What the days must be computed with (SolarDayOnClock's arguments).
    SolarEngine Engine() const noexcept;
    SunAltitudeMask Altitudes() const noexcept;
    bool Moon() const noexcept;

    // The day's lines ("Local Sunrise: Thursday, ...\n"), appended to `text`.
    void Lines(std::string& text, const CDayOnClock& day) const;
    // The table's (or with `csv` the CSV file's) header line and a day's row, with line ends.
    void Header(CDayText& text, bool csv) const;
    void Row(CDayText& text, const CDayOnClock& day, bool csv) const;
    // The day's JSON object, "  {...}" (DayText.h).
    void JsonDay(CDayText& text, const CDayOnClock& day) const;

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

// Computes the whole output for the date and returns its writer. Throws CSolarException as the
// engines do, before anything is written.
CliOutputWriter EventOutput(const CCliOptions& options, const CCivilDate& date);
