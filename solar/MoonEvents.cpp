#include "MoonEvents.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>
#include <utility>

#include "LocalSolarTime.h"
#include "MoonPosition.h"
#include "PreciseSun.h"
#include "SolarLocal.h"

namespace {

constexpr double kDeg = std::numbers::pi / 180;
constexpr double kJulianDayOfEpoch = 2440587.5;  // 1970-01-01 00:00 UT
constexpr double kRefractionDegrees = 34.0 / 60;
constexpr double kSiderealDegreesPerDay = 360.98564736629;
constexpr double kConvergedDays = 0.01 / 86400;  // a hundredth of a second
constexpr int kMaxIterations = 30;

double Wrap180(double degrees) {
    return degrees - 360 * std::floor((degrees + 180) / 360);
}

// The Moon's geocentric place at five instants half a day apart, from half a day before a
// date's 00:00 to 12 hours after its 24:00, interpolated by a cubic through the four nearest.
class CMoonSamples {
public:
    explicit CMoonSamples(double windowStart) : m_first(windowStart - 0.5) {
        for (std::size_t k = 0; k < kCount; ++k) {
            Set(k, MoonPosition(m_first + 0.5 * static_cast<double>(k)));
        }
    }

    double WindowStart() const noexcept { return m_first + 0.5; }

    // Moves the window a day on: three places are kept, two computed.
    void NextDay() {
        for (std::size_t k = 0; k + 2 < kCount; ++k) {
            m_ra[k] = m_ra[k + 2];
            m_dec[k] = m_dec[k + 2];
            m_dist[k] = m_dist[k + 2];
            m_eqEquinoxes[k] = m_eqEquinoxes[k + 2];
        }
        m_first += 1;
        if (m_ra[0] >= 360) {
            for (std::size_t k = 0; k + 2 < kCount; ++k) {
                m_ra[k] -= 360;
            }
        }
        Set(kCount - 2, MoonPosition(m_first + 1.5));
        Set(kCount - 1, MoonPosition(m_first + 2.0));
    }

    struct CPlace {
        double ra, dec, dist;
    };

    CPlace At(double jd) const noexcept {
        const double x = (jd - m_first) / 0.5;
        const std::size_t base = x < 2 ? 0 : 1;  // nodes base .. base + 3
        const double u = x - static_cast<double>(base) - 1;
        const double w0 = -u * (u - 1) * (u - 2) / 6;
        const double w1 = (u + 1) * (u - 1) * (u - 2) / 2;
        const double w2 = -(u + 1) * u * (u - 2) / 2;
        const double w3 = (u + 1) * u * (u - 1) / 6;
        const auto mix = [&](const std::array<double, kCount>& v) {
            return w0 * v[base] + w1 * v[base + 1] + w2 * v[base + 2] + w3 * v[base + 3];
        };
        return {mix(m_ra), mix(m_dec), mix(m_dist)};
    }

    // Right ascension's mean rate over the samples, degrees per day.
    double RaRate() const noexcept { return (m_ra[kCount - 1] - m_ra[0]) / 2; }
    // Nutation's share of the sidereal time at the middle of the window (it changes by less
    // than 0.01 s of time over a day).
    double EquationOfEquinoxes() const noexcept { return m_eqEquinoxes[2]; }

private:
    static constexpr std::size_t kCount = 5;

    void Set(std::size_t k, const CMoonPosition& p) {
        double ra = p.rightAscension;
        if (k > 0) {  // continuous across 360 degrees
            ra = m_ra[k - 1] + Wrap180(ra - m_ra[k - 1]);
        }
        m_ra[k] = ra;
        m_dec[k] = p.declination;
        m_dist[k] = p.distanceKm;
        m_eqEquinoxes[k] = p.nutation * std::cos(p.obliquity * kDeg);
    }

    double m_first;
    std::array<double, kCount> m_ra{}, m_dec{}, m_dist{};
    std::array<double, kCount> m_eqEquinoxes{};
};

// The Moon seen from one place over one date's window.
class CMoonSky {
public:
    CMoonSky(const CMoonSamples& samples, const CObserver& observer)
        : m_samples(samples), m_observer(observer) {}

    double HourAngle(double jd, const CMoonSamples::CPlace& place) const {
        return GreenwichMeanSiderealDegrees(jd) + m_samples.EquationOfEquinoxes() - m_observer.lon -
               place.ra;
    }

    // The upper limb's altitude above -34': zero at moonrise and moonset. `slope` receives an
    // estimate of its rate in degrees per day.
    double Limb(double jd, double* slope = nullptr, CMoonHorizontal* horizontal = nullptr) const {
        const CMoonSamples::CPlace place = m_samples.At(jd);
        const double h = HourAngle(jd, place);
        const CMoonHorizontal hor = MoonHorizontal(m_observer, h, place.dec, place.dist);
        if (slope != nullptr) {
            const double cosAlt = std::max(1e-6, std::cos(hor.altitude * kDeg));
            *slope = -m_observer.cosLat * std::cos(place.dec * kDeg) * std::sin(h * kDeg) / cosAlt *
                     (kSiderealDegreesPerDay - m_samples.RaRate());
        }
        if (horizontal != nullptr) {
            *horizontal = hor;
        }
        return hor.altitude + kRefractionDegrees + std::asin(kMoonRadiusKm / hor.distanceKm) / kDeg;
    }

    // The instant in [start, start + 1) at which the hour angle is `target` degrees, if any:
    // the lunar day is longer than a day, so there is at most one.
    std::optional<double> Culmination(double target) const {
        const double start = m_samples.WindowStart();
        const double rate = kSiderealDegreesPerDay - m_samples.RaRate();
        double jd = start;
        double step = (target - HourAngle(start, m_samples.At(start)));
        step -= 360 * std::floor(step / 360);
        jd += step / rate;
        for (int i = 0; i < kMaxIterations; ++i) {
            const double dt = Wrap180(target - HourAngle(jd, m_samples.At(jd))) / rate;
            jd += dt;
            if (std::fabs(dt) < kConvergedDays) {
                break;
            }
        }
        if (jd < start || jd >= start + 1) {
            return std::nullopt;
        }
        return jd;
    }

    // The crossing between a and b, where the limb's altitude changes sign: Newton steps kept
    // inside the bracket, a bisection where one would leave it.
    double Crossing(double a, double ga, double b, double gb) const {
        double jd = a - ga * (b - a) / (gb - ga);
        for (int i = 0; i < kMaxIterations; ++i) {
            double slope = 0;
            const double g = Limb(jd, &slope);
            if ((g < 0) == (ga < 0)) {
                a = jd;
                ga = g;
            } else {
                b = jd;
                gb = g;
            }
            double next = slope != 0 ? jd - g / slope : (a + b) / 2;
            if (!(next > a && next < b)) {
                next = (a + b) / 2;
            }
            const bool done = std::fabs(next - jd) < kConvergedDays;
            jd = next;
            if (done || b - a < kConvergedDays) {
                break;
            }
        }
        return jd;
    }

private:
    const CMoonSamples& m_samples;
    const CObserver& m_observer;
};

CMoonEventResult LocalEvent(MoonEvent event, MoonOutcome outcome, double jd, double midnight,
                            const CCivilDate& date, float offset, int dst) {
    CMoonEventResult result;
    result.event = event;
    result.outcome = outcome;
    if (outcome == MoonOutcome::Time) {
        result.minutesUtc = (jd - midnight) * 1440;
        result.time = UtcMinutesToLocalTime(result.minutesUtc, date, offset, dst);
    }
    return result;
}

double WindowStart(const CCivilDate& date, float offset, int dst) {
    const double hours = static_cast<double>(offset) - (dst != 0 ? 1 : 0);
    return static_cast<double>(DaysFromCivil(date)) + kJulianDayOfEpoch + hours / 24;
}

CMoonDay Day(const CMoonSamples& samples, const CObserver& observer, const CCivilDate& date,
             float offset, int dst) {
    const CMoonSky sky(samples, observer);
    const double start = samples.WindowStart();
    const double midnight = static_cast<double>(DaysFromCivil(date)) + kJulianDayOfEpoch;

    // Between the window's ends and the culminations in it the altitude rises or falls
    // throughout, so each stretch holds at most one crossing.
    std::array<double, 4> points{start, 0, 0, 0};
    std::size_t count = 1;
    const std::optional<double> upper = sky.Culmination(0);
    const std::optional<double> lower = sky.Culmination(180);
    for (const std::optional<double>& c : {upper, lower}) {
        if (c) {
            points[count++] = *c;
        }
    }
    if (count == 3 && points[1] > points[2]) {
        std::swap(points[1], points[2]);
    }
    points[count++] = start + 1;

    CMoonDay day;
    day.date = date;
    std::optional<double> rise, set;
    double previous = sky.Limb(points[0]);
    const bool upAtStart = previous >= 0;
    for (std::size_t i = 1; i < count; ++i) {
        const double g = sky.Limb(points[i]);
        if (previous < 0 && g >= 0 && !rise) {
            rise = sky.Crossing(points[i - 1], previous, points[i], g);
        } else if (previous >= 0 && g < 0 && !set) {
            set = sky.Crossing(points[i - 1], previous, points[i], g);
        }
        previous = g;
    }

    const MoonOutcome none = rise || set ? MoonOutcome::NoneThisDate
                             : upAtStart ? MoonOutcome::UpAllDay
                                         : MoonOutcome::DownAllDay;
    day.events[0] = LocalEvent(MoonEvent::Moonrise, rise ? MoonOutcome::Time : none,
                               rise.value_or(0), midnight, date, offset, dst);
    day.events[1] = LocalEvent(MoonEvent::Moonset, set ? MoonOutcome::Time : none, set.value_or(0),
                               midnight, date, offset, dst);
    day.events[2] =
        LocalEvent(MoonEvent::Transit, upper ? MoonOutcome::Time : MoonOutcome::NoneThisDate,
                   upper.value_or(0), midnight, date, offset, dst);
    CMoonHorizontal hor{};
    if (rise) {
        sky.Limb(*rise, nullptr, &hor);
        day.riseAzimuth = hor.azimuth;
    }
    if (set) {
        sky.Limb(*set, nullptr, &hor);
        day.setAzimuth = hor.azimuth;
    }
    if (upper) {
        sky.Limb(*upper, nullptr, &hor);
        day.transitAltitude = hor.altitude;
    }
    return day;
}

}  // namespace

CMoonDay MoonDay(const CCivilDate& date, double lat, double lon, float offset, int dst) {
    CheckSolarDate(date);
    CheckSolarInputs(lat, lon, offset);
    const CMoonSamples samples(WindowStart(date, offset, dst));
    return Day(samples, CObserver(lat, lon), date, offset, dst);
}

std::vector<CMoonDay> MoonTable(const CCivilDate& first, int days, double lat, double lon,
                                float offset, int dst) {
    if (!CheckSolarTable(first, days, lat, lon, offset)) {
        return {};
    }
    std::vector<CMoonDay> rows;
    rows.reserve(static_cast<std::size_t>(days));
    const CObserver observer(lat, lon);
    CMoonSamples samples(WindowStart(first, offset, dst));
    CCivilDate date = first;
    for (int i = 0; i < days; ++i) {
        if (i > 0) {
            samples.NextDay();
            date = AddDays(date, 1);
        }
        rows.push_back(Day(samples, observer, date, offset, dst));
    }
    return rows;
}

const char* MoonEventLabel(MoonEvent event) noexcept {
    switch (event) {
        case MoonEvent::Moonrise:
            return "Moonrise";
        case MoonEvent::Moonset:
            return "Moonset";
        case MoonEvent::Transit:
            break;
    }
    return "Moon Transit";
}

std::string FormatMoonEvent(const CMoonEventResult& result) {
    const std::string noun = result.event == MoonEvent::Moonrise  ? "moonrise"
                             : result.event == MoonEvent::Moonset ? "moonset"
                                                                  : "moon transit";
    switch (result.outcome) {
        case MoonOutcome::Time:
            return FormatSolarTime(result.time);
        case MoonOutcome::NoneThisDate:
            return "No " + noun + " on this date";
        case MoonOutcome::UpAllDay:
            return "No " + noun + ": the Moon is up all day";
        case MoonOutcome::DownAllDay:
            break;
    }
    return "No " + noun + ": the Moon is down all day";
}
