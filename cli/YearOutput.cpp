#include "YearOutput.h"

#include <algorithm>
#include <ctime>

#include "CliOptions.h"
#include "EventOutput.h"
#include "YearExport.h"
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

std::string YearFileOutput(const CCliOptions& options, const CCivilDate& date) {
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
    const int days = options.days == 0 ? 1 : options.days;
    // Read on the clock the options choose; the precise engine's files add the twilights.
    const CYearTable table = ComputeDaysOnClock(request, ClockChoiceOf(options), date, days,
                                                options.precise, HasMoonEvent(options.events));
    if (options.format == CliFormat::Json) {
        return YearJson(table);
    }
    CIcsOptions ics;
    ics.stamp = std::time(nullptr);
    return YearIcs(table, ics);
}
