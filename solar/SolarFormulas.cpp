#include "SolarFormulas.h"

#include <limits>

#include "SolarTerms.h"

using namespace solar::detail;

double EquationOfTime(double gamma) {
    return EquationOfTimeInline(gamma);
}

double SolarDeclination(double gamma) {
    return SolarDeclinationInline(gamma);
}

namespace {

CEventMinutes EventUtc(Kind kind, int n, double lat, double lon) {
    if (!std::isfinite(lat) || !std::isfinite(lon)) {
        ThrowNonFinite();
    }
    CComputedDay days(LatitudeTerms(lat));
    return TwoPassEventUtc(kind, n, lon, days);
}

double MinutesOrNaN(const CEventMinutes& e) {
    return e.crossing == SolarCrossing::Crosses ? e.minutes
                                                : std::numeric_limits<double>::quiet_NaN();
}

}  // namespace

CEventMinutes SunriseEventUtc(int n, double lat, double lon) {
    return EventUtc(Kind::Sunrise, n, lat, lon);
}

CEventMinutes SunsetEventUtc(int n, double lat, double lon) {
    return EventUtc(Kind::Sunset, n, lat, lon);
}

double SunriseMinutesUtc(int n, double lat, double lon) {
    return MinutesOrNaN(SunriseEventUtc(n, lat, lon));
}

double SunsetMinutesUtc(int n, double lat, double lon) {
    return MinutesOrNaN(SunsetEventUtc(n, lat, lon));
}

double SolarNoonMinutesUtc(int n, double lon) {
    if (!std::isfinite(lon)) {
        ThrowNonFinite();
    }
    const std::int64_t d = std::int64_t{n} - 1 + NoonCarry(lon);
    return SolarNoonFromEquation(
        lon, EquationOfTimeInline(static_cast<double>(d) * solar::kRadiansPerDay));
}
