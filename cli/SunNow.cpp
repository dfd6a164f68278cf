#include "SunNow.h"

#include <time.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>

#include "DayOnClock.h"
#include "PreciseSun.h"

namespace {

// A wait longer than this is looked at again: the wall clock may have been set meanwhile.
constexpr std::int64_t kLongestSleepSeconds = 60;

// How far ahead an event is looked for: beyond the polar circles the Sun can stay up or down
// for months.
constexpr int kSearchDays = 550;

CSolarResult EventOf(const CDayOnClock& day, SunEvent event) {
    switch (event) {
        case SunEvent::Sunrise:
            return day.sunrise;
        case SunEvent::Sunset:
            return day.sunset;
        case SunEvent::SolarNoon:
            return day.solarNoon;
        default:
            return ToSolarResult(day.precise[event]);
    }
}

}  // namespace

CCliSystem CCliSystem::Real() {
    CCliSystem system;
    system.now = [] {
        timespec clock{};
        clock_gettime(CLOCK_REALTIME, &clock);
        return static_cast<std::int64_t>(clock.tv_sec);
    };
    system.sleepUntil = [now = system.now](std::int64_t until) {
        // An absolute sleep on the wall clock ends when the clock reaches the instant, even
        // when the clock is set or the machine suspended meanwhile; the step bound covers
        // the rest.
        timespec when{};
        when.tv_sec = static_cast<time_t>(std::min(until, now() + kLongestSleepSeconds));
        while (clock_nanosleep(CLOCK_REALTIME, TIMER_ABSTIME, &when, nullptr) == EINTR) {
        }
    };
    return system;
}

bool IsDaylight(double altitude) {
    return altitude >= kSunAltitudeDegrees[SunAltitudeIndex(SunAltitude::Horizon)];
}

std::string SunStateLine(double altitude) {
    const char* state = "night";
    if (IsDaylight(altitude)) {
        state = "day";
    } else if (altitude >= kSunAltitudeDegrees[SunAltitudeIndex(SunAltitude::Civil)]) {
        state = "civil twilight";
    } else if (altitude >= kSunAltitudeDegrees[SunAltitudeIndex(SunAltitude::Nautical)]) {
        state = "nautical twilight";
    } else if (altitude >= kSunAltitudeDegrees[SunAltitudeIndex(SunAltitude::Astronomical)]) {
        state = "astronomical twilight";
    }
    char buffer[96];
    std::snprintf(buffer, sizeof buffer, "%s (the Sun %.1f degrees %s the horizon)\n", state,
                  std::fabs(altitude), altitude >= 0 ? "above" : "below");
    return buffer;
}

std::int64_t NextEventInstant(const CCliOptions& options, std::int64_t now, std::string& line) {
    const CWaitEvent& wait = *options.wait;
    const CClockChoice clock = ClockChoiceOf(options);
    const bool triple = wait.event == SunEvent::Sunrise || wait.event == SunEvent::Sunset ||
                        wait.event == SunEvent::SolarNoon;
    const SolarEngine engine =
        options.precise || !triple ? SolarEngine::Precise : SolarEngine::Series;
    const SunAltitudeMask altitudes = triple ? 0 : SunEventAltitudes(wait.event);
    // The day before too: an event read on yesterday's clock can fall after midnight.
    CCivilDate date = AddDays(*options.date, -1);
    for (int i = 0; i < kSearchDays && date.year <= kLastResultYear; ++i, date = AddDays(date, 1)) {
        const CDayOnClock day =
            SolarDayOnClock(clock, date, *options.latitude, *options.longitude, engine, altitudes);
        const CSolarResult result = EventOf(day, wait.event);
        if (!result.HasTime()) {
            continue;
        }
        const std::int64_t instant =
            CivilSeconds(result.time) - day.clock.utcOffsetSeconds + wait.minutes * 60;
        if (instant > now) {
            line =
                std::string(SunEventInfo(wait.event).label) + ": " + FormatSolarTime(result) + "\n";
            return instant;
        }
    }
    throw CCliError("--wait: no " + std::string(SunEventInfo(wait.event).noun) +
                    " at this place in the next " + std::to_string(kSearchDays) + " days");
}

void WaitUntil(std::int64_t target, const CCliSystem& system) {
    for (std::int64_t now = system.now(); now < target; now = system.now()) {
        system.sleepUntil(target);
    }
}
