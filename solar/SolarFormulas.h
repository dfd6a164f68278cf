#pragma once
// Times of sunrise, sunset and solar noon in minutes after 00:00 UTC for a day of the year,
// from the general solar position approximation: a fractional year, series for the equation
// of time and the declination, and the hour angle at a zenith of 90.833 degrees.
//
// Units and signs:
//   n      day of year, 1 = 1 January, 365 or 366 = 31 December
//   lat    degrees, north positive
//   lon    degrees, WEST positive (87.63 for 87.63 W; a place east of Greenwich is negative)
//   result minutes after 00:00 UTC of day n; may be negative or 1440 and more
//
// Degree/radian conversions use pi = 3.1415926, not the full-precision value, and every
// conversion of a double to an integer truncates toward zero: the results must match, to the
// second, the published tables computed this way.
//
//     double t = SunriseMinutesUtc(172, 41.88, 87.63);   // 615.79...: 10:15:47 UTC

#include <cstdint>

namespace solar {

inline constexpr double kPi = 3.1415926;
inline constexpr double kRadiansPerDay = 0.01721420602739726;  // 2 * kPi / 365
inline constexpr double kZenith = 1.585334892421111;           // 90.833 degrees in radians

}  // namespace solar

// Equation of time in minutes; gamma is the fractional year in radians.
double EquationOfTime(double gamma);

// Solar declination in radians (series to the second harmonic); gamma in radians.
double SolarDeclination(double gamma);

// Whether the Sun crosses the 90.833-degree zenith on a day, and when.
enum class SolarCrossing {
    Crosses,     // `minutes` holds the event time
    UpAllDay,    // the Sun stays above the zenith all day (arc cosine argument below -1)
    DownAllDay,  // the Sun stays below it all day (argument above 1)
};

struct CEventMinutes {
    SolarCrossing crossing = SolarCrossing::Crosses;
    double minutes = 0;  // minutes after 00:00 UTC of day n; meaningful only when Crosses
};

// Sunrise and sunset, first estimated and then recomputed with the fractional year of the day
// on which the estimate falls in UTC. When the first estimate has no crossing the second pass
// uses the same day as an estimate inside the day would; the second pass decides whether the
// event exists. Throws CSolarException when an input is not a finite number or is too large to
// convert.
CEventMinutes SunriseEventUtc(int n, double lat, double lon);
CEventMinutes SunsetEventUtc(int n, double lat, double lon);

// The same as plain minutes: NaN on a day without the event.
double SunriseMinutesUtc(int n, double lat, double lon);
double SunsetMinutesUtc(int n, double lat, double lon);

// Solar noon; latitude plays no part. Never without a value for finite input.
double SolarNoonMinutesUtc(int n, double lon);
