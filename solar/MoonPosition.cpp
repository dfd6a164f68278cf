#include "MoonPosition.h"

#include <array>
#include <cmath>
#include <numbers>

#include "PreciseSun.h"
#include "SunLongitude.h"

namespace {

constexpr double kDeg = std::numbers::pi / 180;
constexpr double kJ2000 = 2451545.0;

double Wrap360(double degrees) {
    return degrees - 360 * std::floor(degrees / 360);
}

// A term's multiples of the mean elongation D, the Sun's mean anomaly M, the Moon's mean
// anomaly M' and its argument of latitude F, and its coefficients: longitude (1e-6 degree)
// and distance (1e-3 km) for the first table, latitude (1e-6 degree) for the second.
struct CLunarTerm {
    signed char d, m, mp, f;
    double sine, cosine;
};

constexpr CLunarTerm kLongitudeDistance[] = {
    {0, 0, 1, 0, 6288774, -20905355},
    {2, 0, -1, 0, 1274027, -3699111},
    {2, 0, 0, 0, 658314, -2955968},
    {0, 0, 2, 0, 213618, -569925},
    {0, 1, 0, 0, -185116, 48888},
    {0, 0, 0, 2, -114332, -3149},
    {2, 0, -2, 0, 58793, 246158},
    {2, -1, -1, 0, 57066, -152138},
    {2, 0, 1, 0, 53322, -170733},
    {2, -1, 0, 0, 45758, -204586},
    {0, 1, -1, 0, -40923, -129620},
    {1, 0, 0, 0, -34720, 108743},
    {0, 1, 1, 0, -30383, 104755},
    {2, 0, 0, -2, 15327, 10321},
    {0, 0, 1, 2, -12528, 0},
    {0, 0, 1, -2, 10980, 79661},
    {4, 0, -1, 0, 10675, -34782},
    {0, 0, 3, 0, 10034, -23210},
    {4, 0, -2, 0, 8548, -21636},
    {2, 1, -1, 0, -7888, 24208},
    {2, 1, 0, 0, -6766, 30824},
    {1, 0, -1, 0, -5163, -8379},
    {1, 1, 0, 0, 4987, -16675},
    {2, -1, 1, 0, 4036, -12831},
    {2, 0, 2, 0, 3994, -10445},
    {4, 0, 0, 0, 3861, -11650},
    {2, 0, -3, 0, 3665, 14403},
    {0, 1, -2, 0, -2689, -7003},
    {2, 0, -1, 2, -2602, 0},
    {2, -1, -2, 0, 2390, 10056},
    {1, 0, 1, 0, -2348, 6322},
    {2, -2, 0, 0, 2236, -9884},
    {0, 1, 2, 0, -2120, 5751},
    {0, 2, 0, 0, -2069, 0},
    {2, -2, -1, 0, 2048, -4950},
    {2, 0, 1, -2, -1773, 4130},
    {2, 0, 0, 2, -1595, 0},
    {4, -1, -1, 0, 1215, -3958},
    {0, 0, 2, 2, -1110, 0},
    {3, 0, -1, 0, -892, 3258},
    {2, 1, 1, 0, -810, 2616},
    {4, -1, -2, 0, 759, -1897},
    {0, 2, -1, 0, -713, -2117},
    {2, 2, -1, 0, -700, 2354},
    {2, 1, -2, 0, 691, 0},
    {2, -1, 0, -2, 596, 0},
    {4, 0, 1, 0, 549, -1423},
    {0, 0, 4, 0, 537, -1117},
    {4, -1, 0, 0, 520, -1571},
    {1, 0, -2, 0, -487, -1739},
    {2, 1, 0, -2, -399, 0},
    {0, 0, 2, -2, -381, -4421},
    {1, 1, 1, 0, 351, 0},
    {3, 0, -2, 0, -340, 0},
    {4, 0, -3, 0, 330, 0},
    {2, -1, 2, 0, 327, 0},
    {0, 2, 1, 0, -323, 1165},
    {1, 1, -1, 0, 299, 0},
    {2, 0, 3, 0, 294, 0},
    {2, 0, -1, -2, 0, 8752},
};

constexpr CLunarTerm kLatitude[] = {
    {0, 0, 0, 1, 5128122, 0}, {0, 0, 1, 1, 280602, 0},  {0, 0, 1, -1, 277693, 0},
    {2, 0, 0, -1, 173237, 0}, {2, 0, -1, 1, 55413, 0},  {2, 0, -1, -1, 46271, 0},
    {2, 0, 0, 1, 32573, 0},   {0, 0, 2, 1, 17198, 0},   {2, 0, 1, -1, 9266, 0},
    {0, 0, 2, -1, 8822, 0},   {2, -1, 0, -1, 8216, 0},  {2, 0, -2, -1, 4324, 0},
    {2, 0, 1, 1, 4200, 0},    {2, 1, 0, -1, -3359, 0},  {2, -1, -1, 1, 2463, 0},
    {2, -1, 0, 1, 2211, 0},   {2, -1, -1, -1, 2065, 0}, {0, 1, -1, -1, -1870, 0},
    {4, 0, -1, -1, 1828, 0},  {0, 1, 0, 1, -1794, 0},   {0, 0, 0, 3, -1749, 0},
    {0, 1, -1, 1, -1565, 0},  {1, 0, 0, 1, -1491, 0},   {0, 1, 1, 1, -1475, 0},
    {0, 1, 1, -1, -1410, 0},  {0, 1, 0, -1, -1344, 0},  {1, 0, 0, -1, -1335, 0},
    {0, 0, 3, 1, 1107, 0},    {4, 0, 0, -1, 1021, 0},   {4, 0, -1, 1, 833, 0},
    {0, 0, 1, -3, 777, 0},    {4, 0, -2, 1, 671, 0},    {2, 0, 0, -3, 607, 0},
    {2, 0, 2, -1, 596, 0},    {2, -1, 1, -1, 491, 0},   {2, 0, -2, 1, -451, 0},
    {0, 0, 3, -1, 439, 0},    {2, 0, 2, 1, 422, 0},     {2, 0, -3, -1, 421, 0},
    {2, 1, -1, 1, -366, 0},   {2, 1, 0, 1, -351, 0},    {4, 0, 0, 1, 331, 0},
    {2, -1, 1, 1, 315, 0},    {2, -2, 0, -1, 302, 0},   {0, 0, 1, 3, -283, 0},
    {2, 1, 1, -1, -229, 0},   {1, 1, 0, -1, 223, 0},    {1, 1, 0, 1, 223, 0},
    {0, 1, -2, -1, -220, 0},  {2, 1, -1, -1, -220, 0},  {1, 0, 1, 1, -185, 0},
    {2, -1, -2, -1, 181, 0},  {0, 1, 2, 1, -177, 0},    {4, 0, -2, -1, 176, 0},
    {4, -1, -1, -1, 166, 0},  {1, 0, 1, -1, -164, 0},   {4, 0, 1, -1, 132, 0},
    {1, 0, -1, -1, -119, 0},  {4, -1, 0, -1, 115, 0},   {2, -2, 0, 1, 107, 0},
};

// Cosines and sines of -4 to +4 times an angle, from one cosine-sine pair: the terms' arguments
// are sums of these, so a term costs a few multiplications instead of a sine.
struct CMultiples {
    std::array<double, 9> c{}, s{};

    explicit CMultiples(double radians) {
        c[4] = 1;
        s[4] = 0;
        c[5] = std::cos(radians);
        s[5] = std::sin(radians);
        for (std::size_t k = 6; k < 9; ++k) {
            c[k] = c[k - 1] * c[5] - s[k - 1] * s[5];
            s[k] = s[k - 1] * c[5] + c[k - 1] * s[5];
        }
        for (std::size_t k = 0; k < 4; ++k) {
            c[k] = c[8 - k];
            s[k] = -s[8 - k];
        }
    }
};

struct CArgument {
    double cos, sin;
};

CArgument Combine(const CMultiples& d, const CMultiples& m, const CMultiples& mp,
                  const CMultiples& f, const CLunarTerm& term) {
    const auto i = [](signed char k) { return static_cast<std::size_t>(k + 4); };
    // (cos a + i sin a)(cos b + i sin b) four times over.
    double c = d.c[i(term.d)] * m.c[i(term.m)] - d.s[i(term.d)] * m.s[i(term.m)];
    double s = d.s[i(term.d)] * m.c[i(term.m)] + d.c[i(term.d)] * m.s[i(term.m)];
    double c2 = c * mp.c[i(term.mp)] - s * mp.s[i(term.mp)];
    double s2 = s * mp.c[i(term.mp)] + c * mp.s[i(term.mp)];
    return {c2 * f.c[i(term.f)] - s2 * f.s[i(term.f)], s2 * f.c[i(term.f)] + c2 * f.s[i(term.f)]};
}

// Terms with the Sun's mean anomaly carry the decreasing eccentricity of the Earth's orbit.
double EccentricityFactor(signed char m, double e) {
    return m == 0 ? 1 : (m == 1 || m == -1) ? e : e * e;
}

}  // namespace

CMoonPosition MoonPositionTt(double julianDayTt) {
    const double t = (julianDayTt - kJ2000) / 36525;
    const double lp = Wrap360(
        218.3164477 + t * (481267.88123421 + t * (-0.0015786 + t * (1 / 538841.0 - t / 65194000))));
    const double d =
        297.8501921 + t * (445267.1114034 + t * (-0.0018819 + t * (1 / 545868.0 - t / 113065000)));
    const double m = 357.5291092 + t * (35999.0502909 + t * (-0.0001536 + t / 24490000));
    const double mp =
        134.9633964 + t * (477198.8675055 + t * (0.0087414 + t * (1 / 69699.0 - t / 14712000)));
    const double f =
        93.2720950 + t * (483202.0175233 + t * (-0.0036539 + t * (-1 / 3526000.0 + t / 863310000)));
    const double a1 = (119.75 + 131.849 * t) * kDeg;
    const double a2 = (53.09 + 479264.290 * t) * kDeg;
    const double a3 = (313.45 + 481266.484 * t) * kDeg;
    const double e = 1 - t * (0.002516 + t * 0.0000074);

    const CMultiples md(Wrap360(d) * kDeg), mm(Wrap360(m) * kDeg), mmp(Wrap360(mp) * kDeg),
        mf(Wrap360(f) * kDeg);
    double sumL = 0, sumR = 0, sumB = 0;
    for (const CLunarTerm& term : kLongitudeDistance) {
        const CArgument arg = Combine(md, mm, mmp, mf, term);
        const double factor = EccentricityFactor(term.m, e);
        sumL += factor * term.sine * arg.sin;
        sumR += factor * term.cosine * arg.cos;
    }
    for (const CLunarTerm& term : kLatitude) {
        sumB += EccentricityFactor(term.m, e) * term.sine * Combine(md, mm, mmp, mf, term).sin;
    }
    const double lpr = lp * kDeg, fr = Wrap360(f) * kDeg, mpr = Wrap360(mp) * kDeg;
    sumL += 3958 * std::sin(a1) + 1962 * std::sin(lpr - fr) + 318 * std::sin(a2);
    sumB += -2235 * std::sin(lpr) + 382 * std::sin(a3) + 175 * std::sin(a1 - fr) +
            175 * std::sin(a1 + fr) + 127 * std::sin(lpr - mpr) - 115 * std::sin(lpr + mpr);

    const CNutation nut = NutationAndObliquity(t);
    CMoonPosition p{};
    p.longitude = Wrap360(lp + sumL / 1e6 + nut.longitude);
    p.latitude = sumB / 1e6;
    p.distanceKm = 385000.56 + sumR / 1000;
    p.nutation = nut.longitude;
    p.obliquity = nut.obliquity;

    const double lambda = p.longitude * kDeg, beta = p.latitude * kDeg;
    const double eps = nut.obliquity * kDeg;
    const double sinEps = std::sin(eps), cosEps = std::cos(eps);
    const double sinL = std::sin(lambda), cosL = std::cos(lambda);
    const double sinB = std::sin(beta), cosB = std::cos(beta);
    p.rightAscension =
        Wrap360(std::atan2(sinL * cosEps * cosB - sinB * sinEps, cosL * cosB) / kDeg);
    p.declination = std::asin(sinB * cosEps + cosB * sinEps * sinL) / kDeg;
    return p;
}

CMoonPosition MoonPosition(double julianDayUt) {
    return MoonPositionTt(TerrestrialJulianDay(julianDayUt));
}

CObserver::CObserver(double latitude, double longitude) : lat(latitude), lon(longitude) {
    constexpr double kEquatorKm = 6378.137;
    constexpr double kAxisRatio = 1 - 1 / 298.257223563;
    const double phi = latitude * kDeg;
    sinLat = std::sin(phi);
    cosLat = std::cos(phi);
    const double u = std::atan2(kAxisRatio * sinLat, cosLat);  // reduced latitude
    rhoSin = kEquatorKm * kAxisRatio * std::sin(u);
    rhoCos = kEquatorKm * std::cos(u);
}

CMoonHorizontal MoonHorizontal(const CObserver& observer, double hourAngle, double declination,
                               double distanceKm) {
    // The Moon's place in a frame turning with the Earth (x toward the observer's meridian on
    // the equator, z to the north pole), less the observer's.
    const double h = hourAngle * kDeg, dec = declination * kDeg;
    const double cosDec = std::cos(dec);
    const double x = distanceKm * cosDec * std::cos(h) - observer.rhoCos;
    const double y = -distanceKm * cosDec * std::sin(h);  // toward the east
    const double z = distanceKm * std::sin(dec) - observer.rhoSin;
    const double r = std::sqrt(x * x + y * y + z * z);
    const double up = observer.cosLat * x + observer.sinLat * z;
    const double north = -observer.sinLat * x + observer.cosLat * z;
    CMoonHorizontal result{};
    result.altitude = std::asin(up / r) / kDeg;
    result.azimuth = Wrap360(std::atan2(y, north) / kDeg);
    result.distanceKm = r;
    return result;
}

double ApparentSiderealDegrees(double julianDayUt, const CMoonPosition& moon) {
    return GreenwichMeanSiderealDegrees(julianDayUt) +
           moon.nutation * std::cos(moon.obliquity * kDeg);
}

CMoonHorizontal MoonHorizontalAt(const CObserver& observer, double julianDayUt) {
    const CMoonPosition moon = MoonPosition(julianDayUt);
    const double hourAngle =
        ApparentSiderealDegrees(julianDayUt, moon) - observer.lon - moon.rightAscension;
    return MoonHorizontal(observer, hourAngle, moon.declination, moon.distanceKm);
}
