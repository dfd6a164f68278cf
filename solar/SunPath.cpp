#include "SunPath.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr double kDeg = std::numbers::pi / 180.0;

double Normalized180(double degrees) {
    double d = std::fmod(degrees, 360.0);
    if (d > 180) {
        d -= 360;
    } else if (d <= -180) {
        d += 360;
    }
    return d;
}

}  // namespace

CSunSky SunSkyFromPlace(double sinDeclination, double eqTime, double minutesUtc, double lat,
                        double lon) {
    const double sinDecl = std::clamp(sinDeclination, -1.0, 1.0);
    const double cosDecl = std::sqrt(1 - sinDecl * sinDecl);
    // True solar time at the place is 12:00 when the Sun crosses its meridian.
    const double hourAngle = ((minutesUtc + eqTime - 4 * lon) / 4 - 180) * kDeg;
    const double phi = lat * kDeg;
    const double sinElevation =
        std::sin(phi) * sinDecl + std::cos(phi) * cosDecl * std::cos(hourAngle);
    CSunSky sky;
    sky.elevation = std::asin(std::clamp(sinElevation, -1.0, 1.0)) / kDeg;
    // Measured from the south towards the west, then turned to north-based.
    const double fromSouth =
        std::atan2(std::sin(hourAngle) * cosDecl,
                   std::cos(hourAngle) * std::sin(phi) * cosDecl - sinDecl * std::cos(phi));
    sky.azimuth = std::fmod(fromSouth / kDeg + 180 + 360, 360.0);
    return sky;
}

CSunSky SunSkyAt(double julianDayUt, double lat, double lon) {
    const CSunPosition place = PreciseSunPosition(julianDayUt);
    const double dayStart = std::floor(julianDayUt - 0.5) + 0.5;
    return SunSkyFromPlace(place.sinDeclination, place.eqTime, (julianDayUt - dayStart) * 1440, lat,
                           lon);
}

CSubsolarPoint SubsolarPoint(double julianDayUt) {
    const CSunPosition place = PreciseSunPosition(julianDayUt);
    const double dayStart = std::floor(julianDayUt - 0.5) + 0.5;
    const double minutesUtc = (julianDayUt - dayStart) * 1440;
    CSubsolarPoint point;
    point.latitude = std::asin(std::clamp(place.sinDeclination, -1.0, 1.0)) / kDeg;
    // The meridian whose true solar time is 12:00.
    point.longitudeEast = Normalized180((720 - minutesUtc - place.eqTime) / 4);
    return point;
}

std::vector<CSunSky> SunDayCurve(const CCivilDate& date, int utcOffsetSeconds, double lat,
                                 double lon, int count) {
    count = std::max(count, 2);
    std::vector<CSunSky> curve;
    curve.reserve(static_cast<std::size_t>(count));
    const CSunSamples samples(date, lon);
    const double start = -utcOffsetSeconds / 60.0;  // the clock's 00:00 in UTC minutes
    for (int i = 0; i < count; ++i) {
        const double minutes = start + 1440.0 * i / (count - 1);
        const CSunSamples::CPlace place = samples.At(minutes);
        curve.push_back(SunSkyFromPlace(place.sinDecl, place.eqTime, minutes, lat, lon));
    }
    return curve;
}
