#include "NoonNote.h"

#include <cstdint>

#include "CivilTime.h"
#include "CliCells.h"
#include "LocalSolarTime.h"

namespace {

// Solar noon is within about 16 minutes of 12:00 local mean time; a clock an hour or so off
// the meridian and daylight saving move it another two hours at most where people live.
constexpr std::int64_t kMaxNoonShiftSeconds = 3 * 3600;

}  // namespace

std::string NoonNote(const CCliOptions& options, const CCivilDate& date) {
    const double lon = *options.longitude;
    const CClockRun day = ClockChoiceOf(options).Day(date, lon);
    const CSolarResult noon = LocalSolarNoon(day.engineFirst, lon, day.clock.offset, day.clock.dst);
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
