#include "NoonNote.h"

#include <cstdint>

#include "CivilTime.h"
#include "CliCells.h"
#include "DayOnClock.h"
#include "EventOutput.h"

namespace {

// Solar noon is within about 16 minutes of 12:00 local mean time; a clock an hour or so off
// the meridian and daylight saving move it another two hours at most where people live.
constexpr std::int64_t kMaxNoonShiftSeconds = 3 * 3600;

}  // namespace

std::string NoonNote(const CCliOptions& options, const CCivilDate& date) {
    // Noon from the engine that gave the times printed, read on the same clock.
    const CSolarResult noon = SolarDayOnClock(ClockChoiceOf(options), date, *options.latitude,
                                              *options.longitude, CliEngine(options))
                                  .solarNoon;
    if (!noon.HasTime()) {
        return {};
    }
    const std::int64_t shift = CivilSeconds(noon.time) - CivilSeconds({date, 12, 0, 0});
    if (shift >= -kMaxNoonShiftSeconds && shift <= kMaxNoonShiftSeconds) {
        return {};
    }
    CRowText clock;
    clock.Clock(noon.time.hour, noon.time.minute, noon.time.second);
    return "daybreak-cli: solar noon falls at " + std::string(clock.Data(), clock.Size()) +
           ", more than three hours from 12:00: check the sign of --lon and --offset: west is "
           "positive here\n";
}
