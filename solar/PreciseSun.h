#pragma once
// The precise solar engine: the Sun's apparent position from the full low-precision algorithm
// of the astronomical almanacs, and the times at which it crosses any altitude, each iterated
// at the event's own instant until it moves less than a second.
//
// Position (for an instant in UT; the theory runs in terrestrial time, UT + delta T):
//   Julian centuries from J2000.0; the Sun's geometric mean longitude and mean anomaly; the
//   equation of centre; the apparent longitude with nutation and aberration; the true
//   obliquity; declination and right ascension; the Greenwich apparent sidereal time, and from
//   it the equation of time.
//
// Events of a civil date belong to the solar day around that date's solar noon (the transit):
// a morning crossing lies within 12 hours before the transit, an evening one within 12 hours
// after it. Times are minutes after 00:00 UTC of the date, like the default series'; the
// longitude is WEST positive as everywhere in the engine.
//
//     CPreciseDayUtc day = PreciseDayUtc(CCivilDate{2007, 6, 21}, 41.88, 87.63, kAllSunAltitudes);
//     day.crossings[SunAltitudeIndex(SunAltitude::Horizon)].morning.minutes;   // about 615.6

#include <array>
#include <cstdint>

#include "CivilTime.h"
#include "SolarFormulas.h"

// The altitudes of the Sun's centre that the events are defined by (degrees, geometric: the
// refraction at the horizon and the Sun's semidiameter are in the -0.833 of sunrise and sunset).
enum class SunAltitude {
    Horizon,       // -0.833: sunrise and sunset
    Civil,         // -6: civil dawn and dusk; blue hour's outer edge
    Nautical,      // -12
    Astronomical,  // -18
    GoldenLow,     // -4: golden hour's lower edge, blue hour's upper one
    GoldenHigh,    // +6: golden hour's upper edge
};

inline constexpr std::size_t kSunAltitudeCount = 6;
inline constexpr std::array<double, kSunAltitudeCount> kSunAltitudeDegrees = {-0.833, -6, -12,
                                                                              -18,    -4, 6};

constexpr std::size_t SunAltitudeIndex(SunAltitude altitude) noexcept {
    return static_cast<std::size_t>(altitude);
}

// A set of altitudes to compute, one bit per SunAltitude.
using SunAltitudeMask = unsigned;
constexpr SunAltitudeMask SunAltitudeBit(SunAltitude altitude) noexcept {
    return 1u << SunAltitudeIndex(altitude);
}
inline constexpr SunAltitudeMask kAllSunAltitudes = (1u << kSunAltitudeCount) - 1;

// The Sun's apparent place at one instant.
struct CSunPosition {
    double sinDeclination;
    double eqTime;  // minutes: apparent minus mean solar time
};

// Full evaluation of the theory at a Julian day in UT. Pure; about a dozen trigonometric calls.
CSunPosition PreciseSunPosition(double julianDayUt);

// The altitude of the Sun's centre in degrees (geometric, as kSunAltitudeDegrees takes it) at
// an instant, seconds since 1970-01-01 00:00:00 UTC, for a latitude (north positive) and a
// longitude (WEST positive).
double SunAltitudeAt(std::int64_t unixSeconds, double lat, double lon);

// Delta T (TT - UT) in seconds for a decimal year: polynomial fits to the observed values from
// 1941 on and to the long-term parabola after 2050; held at the ends of that span outside it.
double DeltaTSeconds(double year);

// Nutation in longitude and the true obliquity of the ecliptic (degrees) for Julian centuries
// of terrestrial time from J2000.0: the two largest terms of the nutation series, within about
// half an arc second. The Moon's engine applies the same to its places.
struct CNutation {
    double longitude;
    double obliquity;
};
CNutation NutationAndObliquity(double centuriesTt);

// Greenwich mean sidereal time in degrees (not reduced to a turn) at a Julian day in UT.
double GreenwichMeanSiderealDegrees(double julianDayUt);

// The morning and evening crossing of one altitude. `crossing` says which way a day without
// the event goes: UpAllDay when the Sun stays above the altitude, DownAllDay below.
struct CSunCrossingPair {
    CEventMinutes morning;
    CEventMinutes evening;
};

struct CPreciseDayUtc {
    double noon = 0;           // transit, minutes after 00:00 UTC of the date
    double noonElevation = 0;  // degrees, geometric, at the transit
    std::array<CSunCrossingPair, kSunAltitudeCount> crossings{};  // those in the mask
    // Degrees clockwise from north at the horizon crossings; meaningful when they exist.
    double sunriseAzimuth = 0;
    double sunsetAzimuth = 0;
};

// The Sun's place sampled a day apart around one date's mean solar noon, from which the
// place at any instant of that solar day is interpolated (quadratically: the error is below a
// millionth of a degree, far under the theory's own). Stepping to the next date reuses two of
// the three samples, so a run of days costs one full evaluation per day.
class CSunSamples {
public:
    CSunSamples(const CCivilDate& date, double lon);

    const CCivilDate& Date() const noexcept { return m_date; }
    double Lon() const noexcept { return m_lon; }
    void NextDay();

    // The place `minutes` after 00:00 UTC of the date (within about a day of the mean noon),
    // with its rates of change per minute.
    struct CPlace {
        double sinDecl, sinDeclRate;
        double eqTime, eqTimeRate;  // minutes, minutes per minute
    };
    CPlace At(double minutes) const noexcept;
    double EqTime(double minutes) const noexcept;

private:
    double Offset(double minutes) const noexcept;  // days from the middle sample

    CCivilDate m_date;
    double m_lon;
    double m_center;                    // mean solar noon, minutes after 00:00 UTC of the date
    double m_noonJd = 0;                // the same as a Julian day in UT
    std::array<double, 3> m_sinDecl{};  // at center - 1 day, center, center + 1 day
    std::array<double, 3> m_eqTime{};
};

// The events of the samples' date for a latitude. Altitudes outside the mask are left empty.
// Never NaN for finite input: a day without a crossing says which way it goes.
CPreciseDayUtc PreciseDayUtc(const CSunSamples& samples, double lat, SunAltitudeMask mask);

// The same for one date. Throws CSolarException as the single-day operations do.
CPreciseDayUtc PreciseDayUtc(const CCivilDate& date, double lat, double lon, SunAltitudeMask mask);
