#pragma once
// Building blocks shared by the single-day operations and the table, inline so that the
// compiler can share sine and cosine between the two series of one fractional year. Not part
// of the engine's public interface.

#include <cmath>
#include <cstdint>

#include "SolarException.h"
#include "SolarFormulas.h"

namespace solar::detail {

[[noreturn]] inline void ThrowNonFinite() {
    throw CSolarException(CSolarException::Cause::NonFiniteInput, kNonFiniteInputMessage);
}

// Truncation toward zero to a 32-bit integer, for a value that may be NaN, infinite or out of
// range: those are the caller's input errors, never a conversion.
inline std::int32_t TruncToInt32(double value) {
    if (!(value > -2147483649.0 && value < 2147483648.0)) {
        ThrowNonFinite();
    }
    return static_cast<std::int32_t>(value);
}

inline double EquationOfTimeInline(double gamma) {
    const double twoGamma = gamma + gamma;
    return 229.18 * (0.000075 + 0.001868 * std::cos(gamma) - 0.032077 * std::sin(gamma) -
                     0.014615 * std::cos(twoGamma) - 0.040849 * std::sin(twoGamma));
}

inline double SolarDeclinationInline(double gamma) {
    const double twoGamma = gamma + gamma;
    return 0.006918 - 0.399912 * std::cos(gamma) + 0.070257 * std::sin(gamma) -
           0.006758 * std::cos(twoGamma) + 0.000907 * std::sin(twoGamma);
}

// The latitude's part of the hour angle, computed once per place.
struct CLatitudeTerms {
    double cosLat;
    double tanLat;
};

inline CLatitudeTerms LatitudeTerms(double lat) {
    const double latRad = lat * kPi / 180;
    return {std::cos(latRad), std::tan(latRad)};
}

// One day index's equation of time and the argument of the hour angle's arc cosine.
struct CDayTerms {
    double eqTime;  // minutes
    double x;       // in [-1, 1] when the Sun crosses the zenith that day
};

inline CDayTerms DayTerms(std::int64_t d, const CLatitudeTerms& lt) {
    const double gamma = static_cast<double>(d) * kRadiansPerDay;
    const double delta = SolarDeclinationInline(gamma);
    const double x =
        std::cos(kZenith) / (lt.cosLat * std::cos(delta)) - lt.tanLat * std::tan(delta);
    if (std::isnan(x)) {
        ThrowNonFinite();  // only a latitude too large to convert to radians gets here
    }
    return {EquationOfTimeInline(gamma), x};
}

inline SolarCrossing Classify(double x) {
    if (x < -1) {
        return SolarCrossing::UpAllDay;
    }
    return x > 1 ? SolarCrossing::DownAllDay : SolarCrossing::Crosses;
}

inline double HourAngleDegrees(double x) {
    return std::acos(x) * 180 / kPi;
}

inline double SunriseFromTerms(double lon, double hourAngleDeg, double eqTime) {
    return 720 + 4 * (lon - hourAngleDeg) - eqTime;
}

inline double SunsetFromTerms(double lon, double hourAngleDeg, double eqTime) {
    return 720 + 4 * (lon + hourAngleDeg) - eqTime;
}

// The day carry of a first estimate: -1 when it falls on the next UTC day (1440 <= t < 2880),
// +1 on the previous one (-2880 < t <= -1440), otherwise 0; both divisions truncate.
inline std::int32_t DayCarry(double firstEstimate) {
    return TruncToInt32(firstEstimate / -60) / 24;
}

// Solar noon's day carry: 0 for every longitude from -180 up to but not including 180.
inline std::int32_t NoonCarry(double lon) {
    return TruncToInt32(lon / 15 + 12) / 24;
}

inline double SolarNoonFromEquation(double lon, double eqTime) {
    return 720 + 4 * lon - eqTime;
}

}  // namespace solar::detail
