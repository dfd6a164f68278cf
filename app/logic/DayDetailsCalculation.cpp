#include "DayDetailsCalculation.h"

#include <cmath>
#include <string>

#include "DayOnClock.h"
#include "LocalSolarTime.h"
#include "ResultText.h"
#include "SeasonsAndPhases.h"
#include "SunEvents.h"
#include "SunPath.h"
#include "YearExport.h"
#include "YearTable.h"

namespace {

// Five minutes a sample: the curve is smooth at any width the window takes.
constexpr int kCurveSamples = 24 * 12 + 1;

// Minutes after 00:00 of `date` on the clock.
std::optional<double> MinutesOnDate(const CSolarResult& result, const CCivilDate& date) {
    if (!result.HasTime()) {
        return std::nullopt;
    }
    return static_cast<double>(CivilSeconds(result.time) - CivilSeconds(CCivilTime{date})) / 60.0;
}

CSolarResult AtTime(const CCivilTime& time) {
    CSolarResult result;
    result.outcome = SolarOutcome::Time;
    result.time = time;
    return result;
}

double JulianDayOnClock(const CDayOnClock& day, double minutes) {
    return JulianDayUt(CCivilTime{day.date}) +
           (minutes * 60 - day.clock.utcOffsetSeconds) / 86400.0;
}

// The day length, its change from the day before and, on today's date, the wait for the Sun's
// next rise or set.
std::string ChartHeading(const CDayOnClock& day, const CDayOnClock& before,
                         const CDayOnClock& after, const CSunDayChart& chart) {
    const auto length = DayLengthSeconds(day.sunrise, day.sunset);
    std::string heading = "Day length " + (length ? DurationText(length) : std::string("unknown"));
    const auto previous = DayLengthSeconds(before.sunrise, before.sunset);
    if (length && previous) {
        const std::int64_t change = *length - *previous;
        heading += " (" + std::string(change < 0 ? "" : "+") + DurationText(change) +
                   " from the day before)";
    }
    const std::int64_t local = CTime::GetCurrentTime().GetTime() + chart.utcOffsetSeconds;
    const std::int64_t today = local >= 0 ? local / 86400 : (local - 86399) / 86400;
    if (CivilFromDays(today) != day.date) {
        return heading;
    }
    const double now = static_cast<double>(local - today * 86400) / 60.0;
    const auto wait = [&](const char* what, double minutes) {
        return heading + "; " + what + " in " +
               DurationText(static_cast<std::int64_t>((minutes - now) * 60));
    };
    if (chart.sunrise && now < *chart.sunrise) {
        return wait("sunrise", *chart.sunrise);
    }
    if (chart.sunset && now < *chart.sunset) {
        return wait("sunset", *chart.sunset);
    }
    if (const auto next = MinutesOnDate(after.sunrise, after.date)) {
        return wait("sunrise", *next + 1440);
    }
    return heading;
}

CSunDayChart SunDayChart(const CDayOnClock& day, const CDayOnClock& before,
                         const CDayOnClock& after, double lat, double lon) {
    CSunDayChart chart;
    chart.date = day.date;
    chart.utcOffsetSeconds = day.clock.utcOffsetSeconds;
    chart.curve = SunDayCurve(day.date, chart.utcOffsetSeconds, lat, lon, kCurveSamples);
    chart.sunrise = MinutesOnDate(day.sunrise, day.date);
    chart.sunset = MinutesOnDate(day.sunset, day.date);
    chart.solarNoon = MinutesOnDate(day.solarNoon, day.date);
    if (chart.sunrise) {
        chart.sunriseAzimuth = day.precise.sunriseAzimuth;
    }
    if (chart.sunset) {
        chart.sunsetAzimuth = day.precise.sunsetAzimuth;
    }
    if (chart.solarNoon) {
        chart.noonAzimuth = SunSkyAt(JulianDayOnClock(day, *chart.solarNoon), lat, lon).azimuth;
    }
    if (day.moon[MoonEvent::Moonrise].HasTime()) {
        chart.moonriseAzimuth = day.moon.riseAzimuth;
    }
    if (day.moon[MoonEvent::Moonset].HasTime()) {
        chart.moonsetAzimuth = day.moon.setAzimuth;
    }
    chart.heading = ChartHeading(day, before, after, chart);
    return chart;
}

// The first principal phase of that kind after 12:00 on the date's clock, on that clock.
std::string NextPhase(const CDayOnClock& day, AlmanacEvent phase) {
    const double noon = JulianDayOnClock(day, 720);
    for (const CAlmanacEvent& event : MoonPhasesBetween(noon, noon + 31)) {
        if (event.event == phase) {
            return FormatSolarTime(
                CivilTimeOfJulianDay(event.julianDayUt, day.clock.utcOffsetSeconds));
        }
    }
    return {};
}

CMoonDetails MoonDetails(const CDayOnClock& day, const std::string& date) {
    CMoonDetails moon;
    for (const MoonEvent event : {MoonEvent::Moonrise, MoonEvent::Moonset, MoonEvent::Transit}) {
        const CMoonEventResult& result = day.moon[event];
        moon.lines.push_back({MoonEventLabel(event), result.HasTime()
                                                         ? ClockOnDate(AtTime(result.time), date)
                                                         : FormatMoonEvent(result)});
    }
    moon.lines.push_back({"Phase", MoonPhaseName(day.moonPhase.phase)});
    moon.lines.push_back({"Illumination", FormatMoonIllumination(day.moonPhase) + "% at 12:00"});
    moon.lines.push_back({"Next Full Moon", NextPhase(day, AlmanacEvent::FullMoon)});
    moon.lines.push_back({"Next New Moon", NextPhase(day, AlmanacEvent::NewMoon)});
    moon.fraction = day.moonPhase.noon.fraction;
    moon.elongation = day.moonPhase.noon.elongation;
    return moon;
}

}  // namespace

// The day of the chosen place on its clock. Sunrise, sunset and solar noon come from the engine
// the main window uses, so that the two agree; the other events only the precise engine has.
CDayDetails CDayDetailsCalculation::Of(const CYearRequest& chosen) {
    CDayDetails details;
    if (chosen.IsEmpty()) {
        details.heading = "No place chosen";
        details.note = "Choose a place, or type its latitude, longitude and time zone.";
        return details;
    }
    const SolarEngine engine = chosen.precise ? SolarEngine::Precise : SolarEngine::Series;
    const CClockChoice clock = CClockChoice::Fixed(chosen.offset, chosen.dst);
    const auto near = [&](int days, SunAltitudeMask altitudes = 0, bool moon = false) {
        return SolarDayOnClock(clock, AddDays(chosen.date, days), chosen.latitude, chosen.longitude,
                               engine, altitudes, moon);
    };
    const CDayOnClock day = near(0, kAllSunAltitudes, true);
    const std::string date = DateText(day.date);
    details.heading = date + (chosen.placeName.empty() ? "" : ", " + chosen.placeName);
    details.note = chosen.precise
                       ? "All times from the precise engine (Precise Calculation is on)."
                       : "Sunrise, sunset and solar noon as in the main window; the twilights "
                         "and the golden and blue hours from the precise engine.";
    details.lines = SunDayLines(day.precise, [&](const CSunEventResult& result) {
        switch (result.event) {
            case SunEvent::Sunrise:
                return ClockOnDate(day.sunrise, date);
            case SunEvent::Sunset:
                return ClockOnDate(day.sunset, date);
            case SunEvent::SolarNoon:
                return ClockOnDate(day.solarNoon, date);
            default:
                return result.HasTime() ? ClockOnDate(ToSolarResult(result), date)
                                        : FormatSunEvent(result);
        }
    });
    details.chart = SunDayChart(day, near(-1), near(1), chosen.latitude, chosen.longitude);
    details.moon = MoonDetails(day, date);
    return details;
}
