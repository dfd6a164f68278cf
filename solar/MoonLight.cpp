#include "MoonLight.h"

#include <cmath>
#include <cstdio>
#include <numbers>

#include "MoonPosition.h"
#include "SeasonsAndPhases.h"
#include "SolarLocal.h"
#include "SunLongitude.h"

namespace {

constexpr double kDeg = std::numbers::pi / 180;
constexpr double kKmPerAu = 149597870.7;
constexpr double kSynodicMonth = 29.530588861;

}  // namespace

const char* MoonPhaseName(MoonPhase phase) noexcept {
    static constexpr const char* kNames[] = {"New Moon",       "Waxing Crescent", "First Quarter",
                                             "Waxing Gibbous", "Full Moon",       "Waning Gibbous",
                                             "Last Quarter",   "Waning Crescent"};
    return kNames[static_cast<std::size_t>(phase)];
}

CMoonLight MoonLightAt(double julianDayUt) {
    const CMoonPosition moon = MoonPosition(julianDayUt);
    const CSunEcliptic sun = SunApparentEcliptic(julianDayUt);
    CMoonLight light;
    const double e = moon.longitude - sun.longitude;
    light.elongation = e - 360 * std::floor(e / 360);
    // The Moon's angular distance from the Sun, then the phase angle at the Moon.
    const double cosPsi = std::cos(moon.latitude * kDeg) * std::cos(light.elongation * kDeg);
    const double sinPsi = std::sqrt(std::max(0.0, 1 - cosPsi * cosPsi));
    const double sunKm = sun.distanceAu * kKmPerAu;
    const double phaseAngle = std::atan2(sunKm * sinPsi, moon.distanceKm - sunKm * cosPsi);
    light.fraction = (1 + std::cos(phaseAngle)) / 2;
    double newMoon = MoonPhaseInstant(AlmanacEvent::NewMoon,
                                      julianDayUt - light.elongation / 360 * kSynodicMonth);
    if (newMoon > julianDayUt) {
        newMoon = MoonPhaseInstant(AlmanacEvent::NewMoon, newMoon - kSynodicMonth);
    }
    light.ageDays = julianDayUt - newMoon;
    return light;
}

CMoonPhaseOfDate MoonPhaseOnDate(const CCivilDate& date, float offset, int dst) {
    CheckSolarDate(date);
    CheckSolarInputs(0, 0, offset);
    const double start = JulianDayUt(CCivilTime{date, 0, 0, 0}) +
                         (static_cast<double>(offset) - (dst != 0 ? 1 : 0)) / 24;
    CMoonPhaseOfDate result;
    result.noon = MoonLightAt(start + 0.5);
    // The elongation grows 10 to 15 degrees a day: the date holds at most one quarter.
    const double atStart = MoonElongation(start);
    const double atEnd = atStart + std::fmod(MoonElongation(start + 1) - atStart + 360, 360);
    const double quarterAtStart = std::floor(atStart / 90);
    const double quarterAtEnd = std::floor(atEnd / 90);
    const int stretch = static_cast<int>(quarterAtStart) % 4;
    if (quarterAtEnd != quarterAtStart) {
        result.phase = static_cast<MoonPhase>(2 * (static_cast<int>(quarterAtEnd) % 4));
    } else {
        result.phase = static_cast<MoonPhase>(2 * stretch + 1);
    }
    return result;
}

std::string FormatMoonPhase(const CMoonPhaseOfDate& phase) {
    char buffer[64];
    const int written = std::snprintf(buffer, sizeof buffer, "%s, %.1f%% lit",
                                      MoonPhaseName(phase.phase), phase.noon.fraction * 100);
    if (written <= 0 || written >= static_cast<int>(sizeof buffer)) {
        return {};
    }
    return std::string(buffer, static_cast<std::size_t>(written));
}
