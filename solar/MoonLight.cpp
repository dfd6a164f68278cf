#include "MoonLight.h"

#include <charconv>
#include <cmath>
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
    const CSunEcliptic sun = SunApparentEclipticCoarse(julianDayUt);
    CMoonLight light;
    const double e = moon.longitude - sun.longitude;
    light.elongation = e - 360 * std::floor(e / 360);
    // The Moon's angular distance from the Sun, then the phase angle at the Moon.
    const double cosPsi = std::cos(moon.latitude * kDeg) * std::cos(light.elongation * kDeg);
    const double sinPsi = std::sqrt(std::max(0.0, 1 - cosPsi * cosPsi));
    const double sunKm = sun.distanceAu * kKmPerAu;
    const double phaseAngle = std::atan2(sunKm * sinPsi, moon.distanceKm - sunKm * cosPsi);
    light.fraction = (1 + std::cos(phaseAngle)) / 2;
    return light;
}

double MoonAgeDays(double julianDayUt) {
    const double elongation = MoonElongation(julianDayUt);
    double newMoon =
        MoonPhaseInstant(AlmanacEvent::NewMoon, julianDayUt - elongation / 360 * kSynodicMonth);
    if (newMoon > julianDayUt) {
        newMoon = MoonPhaseInstant(AlmanacEvent::NewMoon, newMoon - kSynodicMonth);
    }
    return julianDayUt - newMoon;
}

namespace {

double ClockStart(const CCivilDate& date, float offset, int dst) {
    return JulianDayUt(CCivilTime{date, 0, 0, 0}) +
           (static_cast<double>(offset) - (dst != 0 ? 1 : 0)) / 24;
}

// The date's phase from the elongation at its 00:00 and 24:00: it grows 10 to 15 degrees a
// day, so a date holds at most one quarter.
CMoonPhaseOfDate PhaseOf(double start, double atStart, double atEnd) {
    CMoonPhaseOfDate result;
    result.noon = MoonLightAt(start + 0.5);
    const double end = atStart + std::fmod(atEnd - atStart + 360, 360);
    const double quarterAtStart = std::floor(atStart / 90);
    const double quarterAtEnd = std::floor(end / 90);
    if (quarterAtEnd != quarterAtStart) {
        result.phase = static_cast<MoonPhase>(2 * (static_cast<int>(quarterAtEnd) % 4));
    } else {
        result.phase = static_cast<MoonPhase>(2 * (static_cast<int>(quarterAtStart) % 4) + 1);
    }
    return result;
}

}  // namespace

CMoonPhaseOfDate MoonPhaseOnDate(const CCivilDate& date, float offset, int dst) {
    CheckSolarDate(date);
    CheckSolarInputs(0, 0, offset);
    const double start = ClockStart(date, offset, dst);
    return PhaseOf(start, MoonElongation(start), MoonElongation(start + 1));
}

std::vector<CMoonPhaseOfDate> MoonPhaseTable(const CCivilDate& first, int days, float offset,
                                             int dst) {
    if (!CheckSolarTable(first, days, 0, 0, offset)) {
        return {};
    }
    std::vector<CMoonPhaseOfDate> rows;
    rows.reserve(static_cast<std::size_t>(days));
    double start = ClockStart(first, offset, dst);
    double atStart = MoonElongation(start);
    for (int i = 0; i < days; ++i) {
        const double atEnd = MoonElongation(start + 1);
        rows.push_back(PhaseOf(start, atStart, atEnd));
        start += 1;
        atStart = atEnd;
    }
    return rows;
}

std::string FormatMoonIllumination(const CMoonPhaseOfDate& phase) {
    // to_chars: printf would follow LC_NUMERIC, which the window sets from the user's locale.
    char buffer[32];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, phase.noon.fraction * 100,
                                   std::chars_format::fixed, 1)
                         .ptr;
    return std::string(buffer, end);
}

std::string FormatMoonPhase(const CMoonPhaseOfDate& phase) {
    return std::string(MoonPhaseName(phase.phase)) + ", " + FormatMoonIllumination(phase) + "% lit";
}
