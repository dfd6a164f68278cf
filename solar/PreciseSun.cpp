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
    return degrees - 360 * std::floor(degrees / 360);
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

// Sines of the event altitudes as seen from the Earth's centre.
const std::array<double, kSunAltitudeCount> kSinGeocentricAltitude = [] {
    std::array<double, kSunAltitudeCount> sines{};
    for (std::size_t a = 0; a < kSunAltitudeCount; ++a) {
        sines[a] = std::sin(GeocentricAltitude(kSunAltitudeDegrees[a]) * kDeg);
    }
    return sines;
}();

struct CLatitude {
    double sinLat;
    double cosLat;
};

}  // namespace

double DeltaTSeconds(double year) {
    return DeltaTFit(std::clamp(year, 1941.0, 2150.0));
}

CNutation NutationAndObliquity(double centuriesTt) {
    const double t = centuriesTt;
    const double meanLon = Wrap360(280.46646 + t * (36000.76983 + t * 0.0003032));
    const double node = (125.04 - 1934.136 * t) * kDeg;  // Moon's ascending node
    const double meanObliquity =
        23.439291111 - t * (0.013004167 + t * (0.00000016389 - t * 0.00000050361));
    return {-0.004778 * std::sin(node) - 0.000367 * std::sin(2 * meanLon * kDeg),
            meanObliquity + 0.00256 * std::cos(node)};
}

double GreenwichMeanSiderealDegrees(double julianDayUt) {
    // The whole turns of 360 degrees a day are taken off before multiplying, so the fraction
    // keeps its precision.
    const double daysUt = julianDayUt - kJ2000;
    const double tUt = daysUt / 36525;
    return 280.46061837 + 360 * (daysUt - std::floor(daysUt)) + 0.98564736629 * daysUt +
           tUt * tUt * 0.000387933;
}

double SunAltitudeAt(std::int64_t unixSeconds, double lat, double lon) {
    const double julianDay = kJulianDayOfEpoch + static_cast<double>(unixSeconds) / 86400;
    const CSunPosition sun = PreciseSunPosition(julianDay);
    // Apparent solar time at the place: UT, less 4 minutes a degree west, plus the equation of
    // time; the hour angle is its distance from noon, 15 degrees an hour.
    const double minutesUt = static_cast<double>(((unixSeconds % 86400) + 86400) % 86400) / 60;
    const double hourAngle = (minutesUt - 4 * lon + sun.eqTime - 720) / 4 * kDeg;
    const double cosDeclination = std::sqrt(1 - sun.sinDeclination * sun.sinDeclination);
    const double sinAltitude = std::sin(lat * kDeg) * sun.sinDeclination +
                               std::cos(lat * kDeg) * cosDeclination * std::cos(hourAngle);
    return std::asin(std::clamp(sinAltitude, -1.0, 1.0)) / kDeg;
}

CSunPosition PreciseSunPosition(double julianDayUt) {
    const double year = 2000 + (julianDayUt - kJ2000) / 365.25;
    const double jde = julianDayUt + DeltaTSeconds(year) / 86400;
    const double t = (jde - kJ2000) / 36525;  // Julian centuries of terrestrial time

    const double meanLon = Wrap360(280.46646 + t * (36000.76983 + t * 0.0003032));
    const double meanAnomaly = (357.52911 + t * (35999.05029 - t * 0.0001537)) * kDeg;
    // sin 2M and sin 3M from sin M and cos M: one sine-cosine pair instead of three sines.
    const double sinM = std::sin(meanAnomaly);
    const double cosM = std::cos(meanAnomaly);
    const double centre = (1.914602 - t * (0.004817 + t * 0.000014)) * sinM +
                          (0.019993 - t * 0.000101) * 2 * sinM * cosM +
                          0.000289 * sinM * (3 - 4 * sinM * sinM);
    const double node = (125.04 - 1934.136 * t) * kDeg;  // Moon's ascending node
    const double sinNode = std::sin(node);
    const CNutation nut = NutationAndObliquity(t);
    const double nutation = nut.longitude;
    // Apparent longitude: true longitude, aberration (-0.00569) and nutation.
    const double lambda = (meanLon + centre - 0.00569 - 0.00478 * sinNode) * kDeg;
    const double obliquity = nut.obliquity * kDeg;

    const double sinLambda = std::sin(lambda);
    const double cosObliquity = std::cos(obliquity);
    const double rightAscension =
        std::atan2(cosObliquity * sinLambda, std::cos(lambda)) / kDeg;  // degrees

    // Greenwich apparent sidereal time at the UT instant.
    const double apparentSidereal =
        GreenwichMeanSiderealDegrees(julianDayUt) + nutation * cosObliquity;

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
    m_noonJd = static_cast<double>(DaysFromCivil(date)) + kJulianDayOfEpoch + m_center / 1440;
    for (std::size_t i = 0; i < 3; ++i) {
        const CSunPosition p = PreciseSunPosition(m_noonJd + (static_cast<double>(i) - 1));
        m_sinDecl[i] = p.sinDeclination;
        m_eqTime[i] = p.eqTime;
    }
}

void CSunSamples::NextDay() {
    if (m_date.day < DaysInMonth(m_date.year, m_date.month)) {
        ++m_date.day;
    } else {
        m_date = AddDays(m_date, 1);
    }
    m_noonJd += 1;
    const CSunPosition p = PreciseSunPosition(m_noonJd + 1);
    m_sinDecl = {m_sinDecl[1], m_sinDecl[2], p.sinDeclination};
    m_eqTime = {m_eqTime[1], m_eqTime[2], p.eqTime};
}

double CSunSamples::Offset(double minutes) const noexcept {
    return (minutes - m_center) / 1440;
}

namespace {

// Quadratic through the values at -1, 0 and +1, and its slope.
double Interpolate(const std::array<double, 3>& v, double u) {
    return v[1] + u * ((v[2] - v[0]) / 2 + u * ((v[2] + v[0]) / 2 - v[1]));
}

double Slope(const std::array<double, 3>& v, double u) {
    return (v[2] - v[0]) / 2 + 2 * u * ((v[2] + v[0]) / 2 - v[1]);
}

}  // namespace

CSunSamples::CPlace CSunSamples::At(double minutes) const noexcept {
    const double u = Offset(minutes);
    return {Interpolate(m_sinDecl, u), Slope(m_sinDecl, u) / 1440, Interpolate(m_eqTime, u),
            Slope(m_eqTime, u) / 1440};
}

double CSunSamples::EqTime(double minutes) const noexcept {
    return Interpolate(m_eqTime, Offset(minutes));
}

namespace {

// The hour angle at which the Sun's centre stands at altitude sin `sinAlt`, for the Sun's
// place at one instant, with its rate of change per minute as the place moves.
struct CHourAngle {
    double x;        // its cosine; below -1: above the altitude all day, above 1: below it
    double degrees;  // 0 to 180 (the cosine clamped)
    double rate;     // degrees per minute; 0 where the crossing grazes (no Newton step)
};

CHourAngle HourAngleAt(double sinAlt, const CSunSamples::CPlace& place, const CLatitude& lat) {
    const double sinDecl = place.sinDecl;
    const double cosDecl2 = std::max(1e-24, 1 - sinDecl * sinDecl);
    const double cosDecl = std::sqrt(cosDecl2);
    const double denominator = lat.cosLat * cosDecl;
    const double numerator = sinAlt - lat.sinLat * sinDecl;
    if (std::fabs(denominator) < 1e-12) {  // at a pole the Sun keeps its altitude all day
        return {numerator > 0 ? 2.0 : -2.0, numerator > 0 ? 0.0 : 180.0, 0};
    }
    const double x = numerator / denominator;
    const double xc = std::clamp(x, -1.0, 1.0);
    const double sinHour = std::sqrt(1 - xc * xc);
    double rate = 0;
    if (sinHour > 0.05) {
        const double dxdSinDecl = -lat.sinLat / denominator + x * sinDecl / cosDecl2;
        rate = -dxdSinDecl * place.sinDeclRate / sinHour / kDeg;
    }
    return {x, std::acos(xc) / kDeg, rate};
}

// The next estimate of a crossing from the Sun's place at `minutes`: a Newton step on
// t = 720 + 4 (lon + side H(t)) - E(t), whose slope (the hour angle's and the equation of
// time's rates) the samples give; a plain step where the slope is not small.
double NextEstimate(double minutes, double lon, int side, const CHourAngle& h,
                    const CSunSamples::CPlace& place) {
    const double target = 720 + 4 * (lon + side * h.degrees) - place.eqTime;
    const double slope = 4 * side * h.rate - place.eqTimeRate;
    if (h.rate == 0 || std::fabs(slope) >= 0.5) {
        return target;
    }
    return minutes + (target - minutes) / (1 - slope);
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

struct CCrossingResult {
    CEventMinutes event;
    double sinDecl;  // the Sun's at the crossing (or at the last estimate)
};

// One crossing: `side` is -1 for the morning one, +1 for the evening one. The first estimate
// comes from the Sun's place at the transit (shared by both sides); from then on the hour
// angle is recomputed with the place at the latest estimate until the estimate moves less
// than a second. With the Newton steps the first estimate lands within a fraction of a second
// and the second pass confirms it. Out of range, the hour angle is clamped, so the estimate
// goes to midnight or to the transit, where the crossing would have to be.
CCrossingResult Crossing(const CSunSamples& samples, const CLatitude& lat, double lon,
                         double sinAlt, double transit, const CSunSamples::CPlace& transitPlace,
                         const CHourAngle& transitHour, int side) {
    double minutes = NextEstimate(transit, lon, side, transitHour, transitPlace);
    CHourAngle h = transitHour;
    double sinDecl = transitPlace.sinDecl;
    for (int i = 1; i < kMaxIterations; ++i) {
        const CSunSamples::CPlace place = samples.At(minutes);
        sinDecl = place.sinDecl;
        h = HourAngleAt(sinAlt, place, lat);
        const double next = NextEstimate(minutes, lon, side, h, place);
        const bool done = std::fabs(next - minutes) < kConvergedMinutes;
        minutes = next;
        if (done) {
            break;
        }
    }
    if (h.x < -1) {
        return {{SolarCrossing::UpAllDay, 0}, sinDecl};
    }
    if (h.x > 1) {
        return {{SolarCrossing::DownAllDay, 0}, sinDecl};
    }
    return {{SolarCrossing::Crosses, minutes}, sinDecl};
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
    const CSunSamples::CPlace transitPlace = samples.At(day.noon);
    const double geocentric = 90 - std::fabs(lat - std::asin(transitPlace.sinDecl) / kDeg);
    day.noonElevation = geocentric - kSolarParallaxDegrees * std::cos(geocentric * kDeg);
    for (std::size_t a = 0; a < kSunAltitudeCount; ++a) {
        if ((mask & (1u << a)) == 0) {
            continue;
        }
        const double sinAlt = kSinGeocentricAltitude[a];
        const CHourAngle transitHour = HourAngleAt(sinAlt, transitPlace, l);
        const CCrossingResult rise =
            Crossing(samples, l, lon, sinAlt, day.noon, transitPlace, transitHour, -1);
        const CCrossingResult set =
            Crossing(samples, l, lon, sinAlt, day.noon, transitPlace, transitHour, +1);
        day.crossings[a] = {rise.event, set.event};
        if (a == SunAltitudeIndex(SunAltitude::Horizon)) {
            day.sunriseAzimuth = EastAzimuth(sinAlt, rise.sinDecl, l);
            day.sunsetAzimuth = 360 - EastAzimuth(sinAlt, set.sinDecl, l);
        }
    }
    return day;
}

CPreciseDayUtc PreciseDayUtc(const CCivilDate& date, double lat, double lon, SunAltitudeMask mask) {
    CheckSolarDate(date);
    CheckSolarInputs(lat, lon, 0);
    return PreciseDayUtc(CSunSamples(date, lon), lat, mask);
}
