#include "SunEvents.h"

#include <cstdio>

#include "SolarLocal.h"
#include "SolarTable.h"
#include "SolarTerms.h"

namespace {

using enum SunAltitude;

constexpr std::array<CSunEventInfo, kSunEventCount> kEvents = {{
    {"Sunrise", "sunrise", Horizon, true},
    {"Sunset", "sunset", Horizon, false},
    {"Solar Noon", "solar noon", Horizon, false},
    {"Civil Dawn", "civil dawn", Civil, true},
    {"Civil Dusk", "civil dusk", Civil, false},
    {"Nautical Dawn", "nautical dawn", Nautical, true},
    {"Nautical Dusk", "nautical dusk", Nautical, false},
    {"Astronomical Dawn", "astronomical dawn", Astronomical, true},
    {"Astronomical Dusk", "astronomical dusk", Astronomical, false},
    {"Morning Golden Hour Start", "morning golden hour start", GoldenLow, true},
    {"Morning Golden Hour End", "morning golden hour end", GoldenHigh, true},
    {"Evening Golden Hour Start", "evening golden hour start", GoldenHigh, false},
    {"Evening Golden Hour End", "evening golden hour end", GoldenLow, false},
    {"Morning Blue Hour Start", "morning blue hour start", Civil, true},
    {"Morning Blue Hour End", "morning blue hour end", GoldenLow, true},
    {"Evening Blue Hour Start", "evening blue hour start", GoldenLow, false},
    {"Evening Blue Hour End", "evening blue hour end", Civil, false},
}};

CSunEventResult LocalEvent(SunEvent event, const CEventMinutes& minutes, const CCivilDate& date,
                           float offset, int dst) {
    return LocalResultOf<CSunEventResult>(event, minutes, date, offset, dst);
}

CSunDayEvents LocalDay(const CSunSamples& samples, double lat, float offset, int dst,
                       SunAltitudeMask mask) {
    const CPreciseDayUtc utc = PreciseDayUtc(samples, lat, mask);
    CSunDayEvents day;
    day.date = samples.Date();
    for (std::size_t i = 0; i < kSunEventCount; ++i) {
        const auto event = static_cast<SunEvent>(i);
        if (event == SunEvent::SolarNoon) {
            day.events[i] =
                LocalEvent(event, {SolarCrossing::Crosses, utc.noon}, day.date, offset, dst);
        } else if ((SunEventAltitudes(event) & mask) != 0) {
            const CSunCrossingPair& pair = utc.crossings[SunAltitudeIndex(kEvents[i].altitude)];
            day.events[i] = LocalEvent(event, kEvents[i].morning ? pair.morning : pair.evening,
                                       day.date, offset, dst);
        } else {
            day.events[i].event = event;
        }
    }
    day.sunriseAzimuth = utc.sunriseAzimuth;
    day.sunsetAzimuth = utc.sunsetAzimuth;
    day.noonElevation = utc.noonElevation;
    return day;
}

}  // namespace

const CSunEventInfo& SunEventInfo(SunEvent event) noexcept {
    return kEvents[static_cast<std::size_t>(event)];
}

SunAltitudeMask SunEventAltitudes(SunEvent event) noexcept {
    return event == SunEvent::SolarNoon ? 0 : SunAltitudeBit(SunEventInfo(event).altitude);
}

CSunDayEvents PreciseSunDay(const CCivilDate& date, double lat, double lon, float offset, int dst,
                            SunAltitudeMask mask) {
    CheckSolarDate(date);
    CheckSolarInputs(lat, lon, offset);
    return LocalDay(CSunSamples(date, lon), lat, offset, dst, mask);
}

std::vector<CSunDayEvents> PreciseSunTable(const CCivilDate& first, int days, double lat,
                                           double lon, float offset, int dst,
                                           SunAltitudeMask mask) {
    if (!CheckSolarTable(first, days, lat, lon, offset)) {
        return {};
    }

    std::vector<CSunDayEvents> rows;
    rows.reserve(static_cast<std::size_t>(days));
    CSunSamples samples(first, lon);
    for (int i = 0; i < days; ++i) {
        if (i > 0) {
            samples.NextDay();
        }
        rows.push_back(LocalDay(samples, lat, offset, dst, mask));
    }
    return rows;
}

CSolarResult ToSolarResult(const CSunEventResult& result) {
    CSolarResult solar;
    solar.event = result.event == SunEvent::Sunset      ? SolarEvent::Sunset
                  : result.event == SunEvent::SolarNoon ? SolarEvent::SolarNoon
                                                        : SolarEvent::Sunrise;
    solar.outcome = result.outcome;
    solar.time = result.time;
    return solar;
}

std::string FormatSunEvent(const CSunEventResult& result) {
    if (result.HasTime() || result.event == SunEvent::Sunrise || result.event == SunEvent::Sunset ||
        result.event == SunEvent::SolarNoon) {
        return FormatSolarTime(ToSolarResult(result));
    }
    const CSunEventInfo& info = SunEventInfo(result.event);
    char buffer[160];
    const int written = std::snprintf(
        buffer, sizeof buffer, "No %s: the Sun stays %s %g degrees all day", info.noun,
        result.outcome == SolarOutcome::UpAllDay ? "above" : "below",
        kSunAltitudeDegrees[static_cast<std::size_t>(SunAltitudeIndex(info.altitude))]);
    if (written <= 0 || written >= static_cast<int>(sizeof buffer)) {
        return {};
    }
    return std::string(buffer, static_cast<std::size_t>(written));
}

std::string FormatSunAngle(double degrees) {
    char buffer[48];
    const int written = std::snprintf(buffer, sizeof buffer, "%.1f degrees", degrees);
    if (written <= 0 || written >= static_cast<int>(sizeof buffer)) {
        return {};
    }
    return std::string(buffer, static_cast<std::size_t>(written));
}

std::vector<CSunLine> SunDayLines(const CSunDayEvents& day,
                                  const std::function<std::string(const CSunEventResult&)>& text) {
    using enum SunEvent;
    static constexpr SunEvent kOrder[] = {AstronomicalDawn,
                                          NauticalDawn,
                                          CivilDawn,
                                          MorningBlueHourStart,
                                          MorningBlueHourEnd,
                                          MorningGoldenHourStart,
                                          Sunrise,
                                          MorningGoldenHourEnd,
                                          SolarNoon,
                                          EveningGoldenHourStart,
                                          Sunset,
                                          EveningGoldenHourEnd,
                                          EveningBlueHourStart,
                                          EveningBlueHourEnd,
                                          CivilDusk,
                                          NauticalDusk,
                                          AstronomicalDusk};
    std::vector<CSunLine> lines;
    for (SunEvent event : kOrder) {
        lines.push_back({SunEventInfo(event).label, text(day[event])});
        if (event == Sunrise) {
            lines.push_back({"Sunrise Azimuth", day[Sunrise].HasTime()
                                                    ? FormatSunAngle(day.sunriseAzimuth)
                                                    : "no sunrise"});
        } else if (event == Sunset) {
            lines.push_back({"Sunset Azimuth", day[Sunset].HasTime()
                                                   ? FormatSunAngle(day.sunsetAzimuth)
                                                   : "no sunset"});
        } else if (event == SolarNoon) {
            lines.push_back({"Solar Noon Elevation", FormatSunAngle(day.noonElevation)});
        }
    }
    return lines;
}
