#pragma once
// The day's events from the precise engine in local clock time: sunrise, sunset and solar
// noon, the three twilights, and the golden and blue hours, with the Sun's azimuth at sunrise
// and sunset and its elevation at noon.
//
// Local time as for the default series: the UTC event time minus the offset (hours, positive
// WEST of Greenwich), plus an hour when dst is non-zero; an event before local midnight or
// after the next one carries to that date.
//
//     CSunDayEvents day = PreciseSunDay(CCivilDate{2007, 6, 21}, 41.88, 87.63, 6.0f, 1);
//     FormatSunEvent(day[SunEvent::CivilDawn]);   // "Thursday, June 21, 2007,  04:42:..."
//
// The golden hour runs from -4 to +6 degrees of solar altitude (morning: rising, evening:
// setting), the blue hour from -6 to -4.

#include <array>
#include <string>
#include <vector>

#include <functional>
#include "LocalSolarTime.h"

#include "PreciseSun.h"
#include "SolarTable.h"

enum class SunEvent {
    Sunrise,
    Sunset,
    SolarNoon,
    CivilDawn,
    CivilDusk,
    NauticalDawn,
    NauticalDusk,
    AstronomicalDawn,
    AstronomicalDusk,
    MorningGoldenHourStart,
    MorningGoldenHourEnd,
    EveningGoldenHourStart,
    EveningGoldenHourEnd,
    MorningBlueHourStart,
    MorningBlueHourEnd,
    EveningBlueHourStart,
    EveningBlueHourEnd,
};
inline constexpr std::size_t kSunEventCount = 17;

struct CSunEventInfo {
    const char* label;     // "Civil Dawn": the line's name
    const char* noun;      // "civil dawn": in "No civil dawn: ..."
    SunAltitude altitude;  // unused for solar noon
    bool morning;          // the crossing before the transit
};

const CSunEventInfo& SunEventInfo(SunEvent event) noexcept;

// The altitude an event needs computed (none for solar noon, which is always computed).
SunAltitudeMask SunEventAltitudes(SunEvent event) noexcept;

struct CSunEventResult {
    SunEvent event = SunEvent::Sunrise;
    SolarOutcome outcome = SolarOutcome::Time;  // UpAllDay: above the altitude all day
    CCivilTime time;                            // when outcome is Time

    bool HasTime() const noexcept { return outcome == SolarOutcome::Time; }
};

struct CSunDayEvents {
    CCivilDate date;
    // Indexed by SunEvent; only the events of the computed altitudes (and noon) hold values.
    std::array<CSunEventResult, kSunEventCount> events{};
    double sunriseAzimuth = 0;  // degrees clockwise from north, when sunrise has a time
    double sunsetAzimuth = 0;   // likewise for sunset
    double noonElevation = 0;   // degrees above the horizon (negative: below), geometric

    const CSunEventResult& operator[](SunEvent event) const noexcept {
        return events[static_cast<std::size_t>(event)];
    }
};

// One date's events. Throws CSolarException as LocalSunrise does.
CSunDayEvents PreciseSunDay(const CCivilDate& date, double lat, double lon, float offset, int dst,
                            SunAltitudeMask mask = kAllSunAltitudes);

// `days` rows from `first` on (0 or fewer gives none), each as PreciseSunDay gives it; the
// Sun's place is evaluated once per day. Throws as LocalSolarTable does.
std::vector<CSunDayEvents> PreciseSunTable(const CCivilDate& first, int days, double lat,
                                           double lon, float offset, int dst,
                                           SunAltitudeMask mask = kAllSunAltitudes);

// Sunrise, sunset or solar noon in the default engine's result form (no nearest day).
CSolarResult ToSolarResult(const CSunEventResult& result);

// "Thursday, June 21, 2007,  04:42:10"; for a day without the event, today's texts for sunrise
// and sunset ("No sunrise: the Sun is up all day") and for the others e.g.
// "No civil dawn: the Sun stays below -6 degrees all day".
std::string FormatSunEvent(const CSunEventResult& result);

// "56.8 degrees".
std::string FormatSunAngle(double degrees);

// One line of a day's list: a name ("Civil Dawn", "Sunrise Azimuth") and its text.
struct CSunLine {
    std::string name;
    std::string value;
};

// Every event of the day in the order of the day, with the Sun's azimuth after sunrise and
// sunset and its elevation after solar noon: what the day's details list. `day` must hold
// every altitude (kAllSunAltitudes).
// `text` writes each event (FormatSunEvent unless another form is wanted).
std::vector<CSunLine> SunDayLines(
    const CSunDayEvents& day,
    const std::function<std::string(const CSunEventResult&)>& text = FormatSunEvent);
