#include "YearOutput.h"

#include <algorithm>
#include <ctime>
#include <ostream>

#include "CliOptions.h"
#include "DayText.h"
#include "EventOutput.h"
#include "YearExport.h"
#include "YearIcs.h"
#include "YearTable.h"
#include "ZoneClock.h"

bool UsesYearFileOutput(const CCliOptions& options) {
    // JSON with events beyond the default three and the Moon's has their fields instead.
    const bool ownEvents =
        std::any_of(options.events.begin(), options.events.end(), [](CliEvent event) {
            return event != CliEvent::Sunrise && event != CliEvent::Sunset &&
                   event != CliEvent::Noon && !HasMoonEvent({event});
        });
    return (options.format == CliFormat::Json && !ownEvents) || options.format == CliFormat::Ics;
}

namespace {

CYearRequest RequestOf(const CCliOptions& options, const CCivilDate& date) {
    CYearRequest request;
    request.latitude = *options.latitude;
    request.longitude = *options.longitude;
    request.offset = options.offset.value_or(0.0f);  // with --tz the zone may give it
    request.dst = options.dst ? 1 : 0;
    request.precise = options.precise;
    request.date = date;
    if (options.zone) {
        request.zoneName = options.zone->Name();
        // A calendar names the zone only when its times are the zone's own clock, not one
        // whose offset or daylight-saving hour the options fix.
        request.fromDate = !options.offset && !options.dst && !options.noDst;
    }
    return request;
}

// Writes each day's object as it comes.
class CJsonDays final : public CYearDaySink {
public:
    explicit CJsonDays(std::ostream& out) : m_out(out) {}

    void Add(const CYearDay& day) override {
        if (!m_out) {
            return;
        }
        m_text.Text(m_separator);
        m_separator = ",\n";
        AppendYearJsonDay(m_text, day);
        // Days go out a few hundred at a time: a write per day costs more than the day's text.
        if (m_text.Size() >= kFlushSize) {
            Flush();
        }
    }

    void Finish() {
        m_text.Text("\n]\n");
        Flush();
    }

private:
    static constexpr std::size_t kFlushSize = 64 * 1024;

    void Flush() {
        m_out.write(m_text.Data(), static_cast<std::streamsize>(m_text.Size()));
        m_text.Clear();
    }

    std::ostream& m_out;
    CDayText m_text;
    const char* m_separator = "[\n";
};

// Takes nothing: the days are computed for their checks alone.
class CNoDays final : public CYearDaySink {
public:
    void Add(const CYearDay&) override {}
};

}  // namespace

std::function<void(std::ostream&)> YearStreamOutput(const CCliOptions& options,
                                                    const CCivilDate& date) {
    const CYearRequest request = RequestOf(options, date);
    const CClockChoice clock = ClockChoiceOf(options);
    const int days = options.days == 0 ? 1 : options.days;
    const bool moon = HasMoonEvent(options.events);
    CNoDays none;
    StreamDaysOnClock(request, clock, date, 1, options.precise, moon, none);
    if (days > 1) {
        StreamDaysOnClock(request, clock, AddDays(date, days - 1), 1, options.precise, moon, none);
    }
    if (options.format == CliFormat::Ics) {
        // The calendar names the zone as the table would; its clocks, one per change.
        const std::string zoneName =
            request.fromDate && clock.GetZone() != nullptr ? clock.GetZone()->Name() : "";
        std::vector<int> offsets;
        for (const CClockRun& run : clock.Runs(date, days, request.longitude)) {
            offsets.push_back(run.clock.utcOffsetSeconds);
        }
        return [request, clock, date, days, moon, zoneName, offsets,
                precise = options.precise](std::ostream& out) {
            CIcsOptions ics;
            ics.stamp = std::time(nullptr);
            CYearIcsStream stream(request, zoneName, offsets, ics, [&out](std::string_view text) {
                out.write(text.data(), static_cast<std::streamsize>(text.size()));
            });
            StreamDaysOnClock(request, clock, date, days, precise, moon, stream);
            stream.Finish();
        };
    }
    return [request, clock, date, days, moon, precise = options.precise](std::ostream& out) {
        CJsonDays json(out);
        StreamDaysOnClock(request, clock, date, days, precise, moon, json);
        json.Finish();
    };
}
