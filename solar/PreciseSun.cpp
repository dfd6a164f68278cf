#include "PreciseSun.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "SolarLocal.h"

namespace {

constexpr double kDeg = std::numbers::pi / 180;
constexpr double kJulianDayOfEpoch = 2440587.5;  // 1970-01-01 00:00 UT
constexpr double kJ2000 = 2451545.0;

// Reduces an angle in degrees to [0, 360).
double Wrap360(double degrees) {
    const double r = std::fmod(degrees, 360.0);
    return r < 0 ? r + 360 : r;
}

// Seconds of delta T from year fits; `t` counts years from the fit's epoch.
double DeltaTFit(double year) {
    if (year < 1961) {
        const double t = year - 1950;
        return 29.07 + 0.407 * t - t * t / 233 + t * t * t / 2547;
    }
    if (year < 1986) {
        const double t = year - 1975;
        return 45.45 + 1.067 * t - t * t / 260 - t * t * t / 718;
    }
    if (year < 2005) {
        const double t = year - 2000;
        return 63.86 + t * (0.3345 + t * (-0.060374 +
                                          t * (0.0017275 + t * (0.000651814 + t * 0.00002373599))));
    }
    if (year < 2050) {
        const double t = year - 2000;
        return 62.92 + 0.32217 * t + 0.005589 * t * t;
    }
    const double u = (year - 1820) / 100;
    return -20 + 32 * u * u - 0.5628 * (2150 - year);
}

// The most iterations an event takes: a crossing converges in two or three; the bound only
// stops a day at the edge of a polar season from alternating forever.
constexpr int kMaxIterations = 12;
constexpr double kConvergedMinutes = 1.0 / 60;  // one second

// The Sun's horizontal parallax (8.794 arc seconds at 1 au): seen from the Earth's surface it
// stands lower than from the centre by this times the cosine of its altitude. The altitudes of
// the events are the observer's.
constexpr double kSolarParallaxDegrees = 8.794 / 3600;

double GeocentricAltitude(double topocentricDegrees) {
    return topocentricDegrees + kSolarParallaxDegrees * std::cos(topocentricDegrees * kDeg);
}

struct CLatitude {
    double sinLat;
    double cosLat;
};

}  // namespace

double DeltaTSeconds(double year) {
    return DeltaTFit(std::clamp(year, 1941.0, 2150.0));
}

CSunPosition PreciseSunPosition(double julianDayUt) {
    const double year = 2000 + (julianDayUt - kJ2000) / 365.25;
    const double jde = julianDayUt + DeltaTSeconds(year) / 86400;
    const double t = (jde - kJ2000) / 36525;  // Julian centuries of terrestrial time

    const double meanLon = Wrap360(280.46646 + t * (36000.76983 + t * 0.0003032));
    const double meanAnomaly = (357.52911 + t * (35999.05029 - t * 0.0001537)) * kDeg;
    const double centre = (1.914602 - t * (0.004817 + t * 0.000014)) * std::sin(meanAnomaly) +
                          (0.019993 - t * 0.000101) * std::sin(2 * meanAnomaly) +
                          0.000289 * std::sin(3 * meanAnomaly);
    const double node = (125.04 - 1934.136 * t) * kDeg;  // Moon's ascending node
    const double sinNode = std::sin(node);
    // Nutation in longitude (degrees), its two largest terms.
    const double nutation = -0.004778 * sinNode - 0.000367 * std::sin(2 * meanLon * kDeg);
    // Apparent longitude: true longitude, aberration (-0.00569) and nutation.
    const double lambda = (meanLon + centre - 0.00569 - 0.00478 * sinNode) * kDeg;
    const double meanObliquity =
        23.439291111 - t * (0.013004167 + t * (0.00000016389 - t * 0.00000050361));
    const double obliquity = (meanObliquity + 0.00256 * std::cos(node)) * kDeg;

    const double sinLambda = std::sin(lambda);
    const double cosObliquity = std::cos(obliquity);
    const double rightAscension =
        std::atan2(cosObliquity * sinLambda, std::cos(lambda)) / kDeg;  // degrees

    // Greenwich apparent sidereal time at the UT instant; the whole turns of 360 degrees a day
    // are taken off before multiplying, so the fraction keeps its precision.
    const double daysUt = julianDayUt - kJ2000;
    const double tUt = daysUt / 36525;
    const double meanSidereal = 280.46061837 + 360 * (daysUt - std::floor(daysUt)) +
                                0.98564736629 * daysUt + tUt * tUt * 0.000387933;
    const double apparentSidereal = meanSidereal + nutation * cosObliquity;

    // Greenwich hour angle of the Sun against that of the mean Sun (180 degrees at 00:00 UT),
    // in minutes of time, wrapped into half a day either side.
    const double fractionOfDay = julianDayUt + 0.5 - std::floor(julianDayUt + 0.5);
    double eqDegrees = Wrap360(apparentSidereal - rightAscension - 180 - 360 * fractionOfDay);
    if (eqDegrees >= 180) {
        eqDegrees -= 360;
    }
    return {std::sin(obliquity) * sinLambda, 4 * eqDegrees};
}

CSunSamples::CSunSamples(const CCivilDate& date, double lon)
    : m_date(date), m_lon(lon), m_center(720 + 4 * lon) {
    const double noonJd =
        static_cast<double>(DaysFromCivil(date)) + kJulianDayOfEpoch + m_center / 1440;
    for (int i = 0; i < 3; ++i) {
        const CSunPosition p = PreciseSunPosition(noonJd + (i - 1));
        m_sinDecl[i] = p.sinDeclination;
        m_eqTime[i] = p.eqTime;
    }
}

void CSunSamples::NextDay() {
    m_date = AddDays(m_date, 1);
    const double noonJd =
        static_cast<double>(DaysFromCivil(m_date)) + kJulianDayOfEpoch + m_center / 1440 + 1;
    const CSunPosition p = PreciseSunPosition(noonJd);
    m_sinDecl = {m_sinDecl[1], m_sinDecl[2], p.sinDeclination};
    m_eqTime = {m_eqTime[1], m_eqTime[2], p.eqTime};
}

double CSunSamples::Offset(double minutes) const noexcept {
    return (minutes - m_center) / 1440;
}

namespace {

// Quadratic through the values at -1, 0 and +1.
double Interpolate(const std::array<double, 3>& v, double u) {
    return v[1] + u * ((v[2] - v[0]) / 2 + u * ((v[2] + v[0]) / 2 - v[1]));
}

}  // namespace

double CSunSamples::SinDeclination(double minutes) const noexcept {
    return Interpolate(m_sinDecl, Offset(minutes));
}

double CSunSamples::EqTime(double minutes) const noexcept {
    return Interpolate(m_eqTime, Offset(minutes));
}

namespace {

// Cosine of the hour angle at which the Sun's centre stands at altitude sin `sinAlt`.
// Below -1: above the altitude all day; above 1: below it all day.
double CosHourAngle(double sinAlt, double sinDecl, const CLatitude& lat) {
    const double cosDecl = std::sqrt(std::max(0.0, 1 - sinDecl * sinDecl));
    const double denominator = lat.cosLat * cosDecl;
    const double numerator = sinAlt - lat.sinLat * sinDecl;
    if (std::fabs(denominator) < 1e-12) {  // at a pole the Sun keeps its altitude all day
        return numerator > 0 ? 2 : -2;
    }
    return numerator / denominator;
}

double TransitMinutes(const CSunSamples& samples, double lon) {
    double minutes = 720 + 4 * lon - samples.EqTime(720 + 4 * lon);
    for (int i = 0; i < kMaxIterations; ++i) {
        const double next = 720 + 4 * lon - samples.EqTime(minutes);
        const bool done = std::fabs(next - minutes) < kConvergedMinutes;
        minutes = next;
        if (done) {
            break;
        }
    }
    return minutes;
}

// One crossing: `side` is -1 for the morning one, +1 for the evening one. Starting at the
// transit, the hour angle is recomputed with the Sun's place at the latest estimate.
CEventMinutes Crossing(const CSunSamples& samples, const CLatitude& lat, double lon, double sinAlt,
                       double transit, int side, double* sinDeclOut) {
    double minutes = transit;
    double x = 0;
    double sinDecl = 0;
    for (int i = 0; i < kMaxIterations; ++i) {
        sinDecl = samples.SinDeclination(minutes);
        x = CosHourAngle(sinAlt, sinDecl, lat);
        // Out of range, the estimate goes to the day's end (midnight) or to the transit, so
        // that the next pass looks at the Sun where the crossing would have to be.
        const double hourAngle = std::acos(std::clamp(x, -1.0, 1.0)) / kDeg;
        const double next = 720 + 4 * (lon + side * hourAngle) - samples.EqTime(minutes);
        const bool done = std::fabs(next - minutes) < kConvergedMinutes;
        minutes = next;
        if (done) {
            break;
        }
    }
    if (sinDeclOut != nullptr) {
        *sinDeclOut = sinDecl;
    }
    if (x < -1) {
        return {SolarCrossing::UpAllDay, 0};
    }
    if (x > 1) {
        return {SolarCrossing::DownAllDay, 0};
    }
    return {SolarCrossing::Crosses, minutes};
}

// Degrees clockwise from north of the Sun at altitude sin `sinAlt`, east of the meridian.
double EastAzimuth(double sinAlt, double sinDecl, const CLatitude& lat) {
    const double cosAlt = std::sqrt(std::max(0.0, 1 - sinAlt * sinAlt));
    const double denominator = lat.cosLat * cosAlt;
    if (std::fabs(denominator) < 1e-12) {
        return lat.sinLat > 0 ? 180 : 0;  // at a pole every direction is south (or north)
    }
    return std::acos(std::clamp((sinDecl - lat.sinLat * sinAlt) / denominator, -1.0, 1.0)) / kDeg;
}

}  // namespace

CPreciseDayUtc PreciseDayUtc(const CSunSamples& samples, double lat, SunAltitudeMask mask) {
    const double lon = samples.Lon();
    const CLatitude l{std::sin(lat * kDeg), std::cos(lat * kDeg)};
    CPreciseDayUtc day;
    day.noon = TransitMinutes(samples, lon);
    const double noonDecl = std::asin(samples.SinDeclination(day.noon)) / kDeg;
    const double geocentric = 90 - std::fabs(lat - noonDecl);
    day.noonElevation = geocentric - kSolarParallaxDegrees * std::cos(geocentric * kDeg);
    for (int a = 0; a < kSunAltitudeCount; ++a) {
        if ((mask & (1u << a)) == 0) {
            continue;
        }
        const double sinAlt = std::sin(GeocentricAltitude(kSunAltitudeDegrees[a]) * kDeg);
        const bool horizon = a == SunAltitudeIndex(SunAltitude::Horizon);
        double riseDecl = 0;
        double setDecl = 0;
        CSunCrossingPair& pair = day.crossings[a];
        pair.morning =
            Crossing(samples, l, lon, sinAlt, day.noon, -1, horizon ? &riseDecl : nullptr);
        pair.evening =
            Crossing(samples, l, lon, sinAlt, day.noon, +1, horizon ? &setDecl : nullptr);
        if (horizon) {
            day.sunriseAzimuth = EastAzimuth(sinAlt, riseDecl, l);
            day.sunsetAzimuth = 360 - EastAzimuth(sinAlt, setDecl, l);
        }
    }
    return day;
}

CPreciseDayUtc PreciseDayUtc(const CCivilDate& date, double lat, double lon, SunAltitudeMask mask) {
    CheckSolarDate(date);
    CheckSolarInputs(lat, lon, 0);
    return PreciseDayUtc(CSunSamples(date, lon), lat, mask);
}
