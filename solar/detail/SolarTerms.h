#pragma once
// Building blocks shared by the single-day operations and the table, inline so that the
// compiler can share sine and cosine between the two series of one fractional year. Not part
// of the engine's public interface.

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>

#include "CivilTime.h"
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

// Sine and cosine of the fractional year and of twice it, shared by both series. Each is
// computed once: the math library may set errno, so the compiler does not merge repeated calls.
struct CYearTrig {
    double cosG, sinG, cos2G, sin2G;
};

inline CYearTrig YearTrig(double gamma) {
    const double twoGamma = gamma + gamma;
    return {std::cos(gamma), std::sin(gamma), std::cos(twoGamma), std::sin(twoGamma)};
}

inline double EquationOfTimeFrom(const CYearTrig& t) {
    return 229.18 * (0.000075 + 0.001868 * t.cosG - 0.032077 * t.sinG - 0.014615 * t.cos2G -
                     0.040849 * t.sin2G);
}

inline double SolarDeclinationFrom(const CYearTrig& t) {
    return 0.006918 - 0.399912 * t.cosG + 0.070257 * t.sinG - 0.006758 * t.cos2G +
           0.000907 * t.sin2G;
}

inline double EquationOfTimeInline(double gamma) {
    return EquationOfTimeFrom(YearTrig(gamma));
}

inline double SolarDeclinationInline(double gamma) {
    return SolarDeclinationFrom(YearTrig(gamma));
}

inline const double kCosZenith = std::cos(kZenith);

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
    const CYearTrig trig = YearTrig(static_cast<double>(d) * kRadiansPerDay);
    const double delta = SolarDeclinationFrom(trig);
    const double x = kCosZenith / (lt.cosLat * std::cos(delta)) - lt.tanLat * std::tan(delta);
    if (std::isnan(x)) {
        ThrowNonFinite();  // only a latitude too large to convert to radians gets here
    }
    return {EquationOfTimeFrom(trig), x};
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

enum class Kind { Sunrise, Sunset };

// One day index's terms, with the hour angle worked out the first time an event needs it.
struct CDayEntry {
    static constexpr std::int64_t kNone = std::numeric_limits<std::int64_t>::min();

    std::int64_t d = kNone;
    CDayTerms terms{};
    double hourAngleDeg = 0;
    bool hasHourAngle = false;
};

inline double HourAngleOf(CDayEntry& e) {
    if (!e.hasHourAngle) {
        e.hourAngleDeg = HourAngleDegrees(e.terms.x);
        e.hasHourAngle = true;
    }
    return e.hourAngleDeg;
}

// Day terms worked out as they are asked for, keeping the last one: the second pass of an
// event often needs the first pass's day index again.
class CComputedDay {
public:
    explicit CComputedDay(const CLatitudeTerms& lt) : m_lt(lt) {}

    CDayEntry& Day(std::int64_t d) {
        if (m_last.d != d) {
            m_last = CDayEntry{d, DayTerms(d, m_lt), 0, false};
        }
        return m_last;
    }

private:
    CLatitudeTerms m_lt;
    CDayEntry m_last;
};

// Sunrise or sunset of day n in two passes. The first estimate uses day index n - 1 for
// sunrise and n for sunset; its day carry picks the final day index n - 1 - carry. When the
// first estimate has no crossing the carry is 0, as for an estimate inside the day, and the
// final day index decides whether the event exists; when the final index is the first one,
// the first estimate is the result. `days` gives the terms of a day index through
// `CDayEntry& Day(std::int64_t d)`: a CComputedDay, or the table's cache.
template <typename Days>
CEventMinutes TwoPassEventUtc(Kind kind, int n, double lon, Days& days) {
    const auto eventAt = [kind, lon](CDayEntry& e) {
        const double h = HourAngleOf(e);
        return kind == Kind::Sunrise ? SunriseFromTerms(lon, h, e.terms.eqTime)
                                     : SunsetFromTerms(lon, h, e.terms.eqTime);
    };
    const std::int64_t d1 = kind == Kind::Sunrise ? std::int64_t{n} - 1 : std::int64_t{n};
    CEventMinutes first{Classify(days.Day(d1).terms.x), 0};
    std::int32_t carry = 0;
    if (first.crossing == SolarCrossing::Crosses) {
        first.minutes = eventAt(days.Day(d1));
        carry = DayCarry(first.minutes);
    }
    const std::int64_t d2 = std::int64_t{n} - 1 - carry;
    if (d2 == d1) {
        return first;
    }
    CDayEntry& final = days.Day(d2);
    const SolarCrossing crossing = Classify(final.terms.x);
    if (crossing != SolarCrossing::Crosses) {
        return {crossing, 0};
    }
    return {crossing, eventAt(final)};
}

// Solar noon's day carry: 0 for every longitude from -180 up to but not including 180.
inline std::int32_t NoonCarry(double lon) {
    return TruncToInt32(lon / 15 + 12) / 24;
}

inline double SolarNoonFromEquation(double lon, double eqTime) {
    return 720 + 4 * lon - eqTime;
}

// Local date and clock time of an event `minutes` after 00:00 UTC of `date`: local hours
// L = minutes / 60 - offset (+1 with dst), whole days carried into the date, then hours,
// minutes and seconds truncated toward zero.
inline CCivilTime LocalClockTime(double minutes, const CCivilDate& date, float offset, int dst) {
    double local = minutes / 60 - offset;
    if (dst != 0) {
        local = local + 1;
    }
    (void)TruncToInt32(local);  // rejects NaN, infinities and hours beyond a 32-bit count

    CCivilTime time;
    time.date = date;
    double hours = local;
    if (!(local >= 0 && local < 24)) {
        // Carry whole days so that the clock reads 00:00:00 to 23:59:59; the corrections catch
        // a quotient rounded across an integer (a value a hair below a multiple of 24 hours).
        double carry = std::floor(local / 24);
        hours = local - 24 * carry;
        if (hours < 0) {
            hours += 24;
            carry -= 1;
        }
        if (hours >= 24) {
            hours -= 24;
            carry += 1;
        }
        time.date = AddDays(date, static_cast<std::int64_t>(carry));
    }
    const int h = static_cast<int>(hours);
    const int m = static_cast<int>((hours - h) * 60);
    const int s = static_cast<int>(((hours - h) * 60 - m) * 60);
    time.hour = std::clamp(h, 0, 23);
    time.minute = std::clamp(m, 0, 59);
    time.second = std::clamp(s, 0, 59);
    return time;
}

}  // namespace solar::detail
