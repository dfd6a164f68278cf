#include "SeasonsAndPhases.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "MoonPosition.h"
#include "SunLongitude.h"

namespace {

constexpr double kDeg = std::numbers::pi / 180;
constexpr double kJulianDayOfEpoch = 2440587.5;              // 1970-01-01 00:00 UT
constexpr double kSynodicMonth = 29.530588861;               // days
constexpr double kMeanNewMoon2000 = 2451550.09766;           // 2000-01-06, the mean new moon
constexpr double kMeanElongationRate = 360 / kSynodicMonth;  // degrees per day
constexpr double kConvergedDays = 0.01 / 86400;
constexpr int kMaxIterations = 20;

double Wrap180(double degrees) {
    return degrees - 360 * std::floor((degrees + 180) / 360);
}

double QuarterDegrees(AlmanacEvent event) {
    return 90 * (static_cast<int>(event) % 4);
}

}  // namespace

const char* AlmanacEventLabel(AlmanacEvent event) noexcept {
    static constexpr const char* kLabels[] = {
        "New Moon",      "First Quarter", "Full Moon",         "Last Quarter",
        "March Equinox", "June Solstice", "September Equinox", "December Solstice"};
    return kLabels[static_cast<std::size_t>(event)];
}

const char* AlmanacEventKey(AlmanacEvent event) noexcept {
    static constexpr const char* kKeys[] = {
        "new_moon",      "first_quarter", "full_moon",         "last_quarter",
        "march_equinox", "june_solstice", "september_equinox", "december_solstice"};
    return kKeys[static_cast<std::size_t>(event)];
}

double MoonElongation(double julianDayUt) {
    // Nutation moves both longitudes alike: the difference is taken without it.
    const CMoonPosition moon = MoonPosition(julianDayUt);
    const double e = moon.longitude - moon.nutation - SunMeanEquinoxEcliptic(julianDayUt).longitude;
    return e - 360 * std::floor(e / 360);
}

double MoonPhaseInstant(AlmanacEvent phase, double near) {
    // Secant steps on the elongation, which grows 10 to 15 degrees a day.
    const double target = QuarterDegrees(phase);
    double t0 = near;
    double d0 = Wrap180(target - MoonElongation(t0));
    double t1 = t0 + d0 / kMeanElongationRate;
    for (int i = 0; i < kMaxIterations; ++i) {
        const double d1 = Wrap180(target - MoonElongation(t1));
        const double rate = d0 != d1 ? (d0 - d1) / (t1 - t0) : kMeanElongationRate;
        const double next = t1 + d1 / (rate > 1 ? rate : kMeanElongationRate);
        t0 = t1;
        d0 = d1;
        t1 = next;
        if (std::fabs(t1 - t0) < kConvergedDays) {
            break;
        }
    }
    return t1;
}

std::vector<CAlmanacEvent> MoonPhasesBetween(double first, double last) {
    std::vector<CAlmanacEvent> phases;
    if (!(last > first) || !std::isfinite(first) || !std::isfinite(last) ||
        last - first > 400 * 366.0) {
        return phases;
    }
    // The mean phases from a quarter of a month before `first`; the true ones lie within
    // about 14 hours of them.
    double quarter = std::floor((first - kMeanNewMoon2000) / kSynodicMonth * 4) - 1;
    for (;; quarter += 1) {
        const double mean = kMeanNewMoon2000 + quarter * kSynodicMonth / 4;
        if (mean > last + 2) {
            break;
        }
        const auto event =
            static_cast<AlmanacEvent>(static_cast<int>(quarter - 4 * std::floor(quarter / 4)));
        const double t = MoonPhaseInstant(event, mean);
        if (t >= first && t < last) {
            phases.push_back({event, t});
        }
    }
    return phases;
}

std::array<CAlmanacEvent, 4> SeasonsOfYear(int year) {
    std::array<CAlmanacEvent, 4> seasons{};
    for (int q = 0; q < 4; ++q) {
        const double target = 90.0 * q;
        double t = JulianDayUt(CCivilTime{{year, 3 + 3 * q, 21}, 0, 0, 0});
        for (int i = 0; i < kMaxIterations; ++i) {
            // 58 days per radian: the inverse of the Sun's mean motion, so each step gains
            // about two orders of magnitude.
            const double step =
                58 * std::sin(Wrap180(target - SunApparentEcliptic(t).longitude) * kDeg);
            t += step;
            if (std::fabs(step) < kConvergedDays) {
                break;
            }
        }
        seasons[static_cast<std::size_t>(q)] = {static_cast<AlmanacEvent>(4 + q), t};
    }
    return seasons;
}

std::vector<CAlmanacEvent> AlmanacBetween(double first, double last) {
    std::vector<CAlmanacEvent> events = MoonPhasesBetween(first, last);
    if (events.empty() && !(last > first && last - first <= 400 * 366.0)) {
        return events;
    }
    const int firstYear = CivilTimeOfJulianDay(first, 0).date.year;
    const int lastYear = CivilTimeOfJulianDay(last, 0).date.year;
    for (int year = firstYear; year <= lastYear; ++year) {
        for (const CAlmanacEvent& season : SeasonsOfYear(year)) {
            if (season.julianDayUt >= first && season.julianDayUt < last) {
                events.push_back(season);
            }
        }
    }
    std::sort(events.begin(), events.end(), [](const CAlmanacEvent& a, const CAlmanacEvent& b) {
        return a.julianDayUt < b.julianDayUt;
    });
    return events;
}

double JulianDayUt(const CCivilTime& utc) noexcept {
    return static_cast<double>(DaysFromCivil(utc.date)) + kJulianDayOfEpoch +
           (utc.hour * 3600 + utc.minute * 60 + utc.second) / 86400.0;
}

CCivilTime CivilTimeOfJulianDay(double julianDayUt, int utcOffsetSeconds) noexcept {
    const double seconds = (julianDayUt - kJulianDayOfEpoch) * 86400 + utcOffsetSeconds;
    if (!(std::fabs(seconds) < 1e14)) {  // NaN or beyond any calendar year: no conversion
        return {};
    }
    const double whole = std::floor(seconds);
    const double days = std::floor(whole / 86400);
    const auto inDay = static_cast<int>(whole - days * 86400);
    CCivilTime time;
    time.date = CivilFromDays(static_cast<std::int64_t>(days));
    time.hour = inDay / 3600;
    time.minute = inDay / 60 % 60;
    time.second = inDay % 60;
    return time;
}

CClockReading ReadOnDatesClock(double julianDayUt,
                               const std::function<int(const CCivilDate&)>& offsetOn) {
    CClockReading reading;
    reading.utcOffsetSeconds = offsetOn(CivilTimeOfJulianDay(julianDayUt, 0).date);
    reading.local = CivilTimeOfJulianDay(julianDayUt, reading.utcOffsetSeconds);
    const int local = offsetOn(reading.local.date);
    if (local != reading.utcOffsetSeconds) {
        reading.utcOffsetSeconds = local;
        reading.local = CivilTimeOfJulianDay(julianDayUt, local);
    }
    return reading;
}
