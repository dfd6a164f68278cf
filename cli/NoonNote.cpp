#include "NoonNote.h"

#include "DayOnClock.h"
#include "DayText.h"
#include "EventOutput.h"

std::string NoonNote(const CCliOptions& options, const CCivilDate& date) {
    // Noon from the engine that gave the times printed, read on the same clock.
    const CDayOnClock day = SolarDayOnClock(ClockChoiceOf(options), date, *options.latitude,
                                            *options.longitude, CliEngine(options));
    if (!IsNoonFarFromMidday(day)) {
        return {};
    }
    const CCivilTime& noon = day.solarNoon.time;
    return "daybreak-cli: solar noon falls at " + ClockOf(noon) +
           ", more than three hours from 12:00: check the sign of --lon and --offset: west is "
           "positive here\n";
}
