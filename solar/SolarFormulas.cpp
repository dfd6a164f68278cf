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

enum class Kind { Sunrise, Sunset };

CEventMinutes EventUtc(Kind kind, int n, double lat, double lon) {
    if (!std::isfinite(lat) || !std::isfinite(lon)) {
        ThrowNonFinite();
    }
    const CLatitudeTerms lt = LatitudeTerms(lat);
    auto eventAt = [&](const CDayTerms& t) {
        const double h = HourAngleDegrees(t.x);
        return kind == Kind::Sunrise ? SunriseFromTerms(lon, h, t.eqTime)
                                     : SunsetFromTerms(lon, h, t.eqTime);
    };

    // First estimate: sunrise with the day before n, sunset with day n.
    const std::int64_t d1 = kind == Kind::Sunrise ? std::int64_t{n} - 1 : std::int64_t{n};
    const CDayTerms first = DayTerms(d1, lt);
    std::int32_t carry = 0;
    if (Classify(first.x) == SolarCrossing::Crosses) {
        carry = DayCarry(eventAt(first));
    }

    const std::int64_t d2 = std::int64_t{n} - 1 - carry;
    const CDayTerms final = d2 == d1 ? first : DayTerms(d2, lt);
    const SolarCrossing crossing = Classify(final.x);
    if (crossing != SolarCrossing::Crosses) {
        return {crossing, 0};
    }
    return {crossing, eventAt(final)};
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
