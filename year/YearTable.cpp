#include "YearTable.h"

#include <algorithm>
#include <memory>

#include "ResultYears.h"
#include "ZoneClock.h"

namespace {

constexpr SunAltitudeMask kTwilightAltitudes =
    SunAltitudeBit(SunAltitude::Horizon) | SunAltitudeBit(SunAltitude::Civil) |
    SunAltitudeBit(SunAltitude::Nautical) | SunAltitudeBit(SunAltitude::Astronomical);

// A far-off offset or longitude can carry an event out of the years the program shows.
void CheckDays(const CYearTable& table) {
    for (const CYearDay& day : table.days) {
        for (const CSolarResult* result : {&day.sunrise, &day.sunset, &day.solarNoon}) {
            CheckResultYears(*result);
        }
    }
}

}  // namespace

CYearZoneError::CYearZoneError(const std::string& zoneName)
    : CMessageException("The time zone \"" + zoneName +
                        "\" is not in this computer's time-zone database") {}

CYearTable ComputeDays(const CYearRequest& request, const CCivilDate& first, int count) {
    CYearTable table;
    table.request = request;
    std::optional<CZoneClock> zone;
    if (request.fromDate && !request.zoneName.empty()) {
        zone = CZoneClock::Load(request.zoneName);
        if (!zone) {
            throw CYearZoneError(request.zoneName);
        }
        table.zoneName = zone->Name();
    }
    if (count <= 0) {
        return table;
    }
    const CClockChoice clock =
        zone ? CClockChoice::Zone(*zone) : CClockChoice::Fixed(request.offset, request.dst);
    // The default series' rows: each run of one clock picks its engine day itself.
    std::vector<CSolarDay> plain;
    if (!request.precise) {
        plain = SolarTableOnClock(clock, first, count, request.latitude, request.longitude);
    }
    table.days.resize(static_cast<std::size_t>(count));
    std::size_t index = 0;
    for (const CClockRun& run : clock.Runs(first, count, request.longitude)) {
        const std::vector<CSunDayEvents> precise =
            PreciseSunTable(run.engineFirst, run.days, request.latitude, request.longitude,
                            run.clock.offset, run.clock.dst, kTwilightAltitudes);
        for (int i = 0; i < run.days; ++i, ++index) {
            const CSunDayEvents& events = precise[static_cast<std::size_t>(i)];
            CYearDay& day = table.days[index];
            day.date = AddDays(run.first, i);
            if (request.precise) {
                day.sunrise = ToSolarResult(events[SunEvent::Sunrise]);
                day.sunset = ToSolarResult(events[SunEvent::Sunset]);
                day.solarNoon = ToSolarResult(events[SunEvent::SolarNoon]);
            } else {
                day.sunrise = plain[index].sunrise;
                day.sunset = plain[index].sunset;
                day.solarNoon = plain[index].solarNoon;
            }
            day.civilDawn = events[SunEvent::CivilDawn];
            day.civilDusk = events[SunEvent::CivilDusk];
            day.nauticalDawn = events[SunEvent::NauticalDawn];
            day.nauticalDusk = events[SunEvent::NauticalDusk];
            day.astronomicalDawn = events[SunEvent::AstronomicalDawn];
            day.astronomicalDusk = events[SunEvent::AstronomicalDusk];
            day.utcOffsetSeconds = run.clock.utcOffsetSeconds;
            day.hasTwilights = true;
        }
    }
    CheckDays(table);
    return table;
}

CYearTable ComputeYear(const CYearRequest& request) {
    const int year = request.date.year;
    return ComputeDays(request, CCivilDate{year, 1, 1}, IsLeapYear(year) ? 366 : 365);
}

CYearTable TableFromRows(const CYearRequest& request, const std::vector<CSolarDay>& rows,
                         const std::vector<CClockOnDate>* clocks) {
    CYearTable table;
    table.request = request;
    if (request.fromDate) {
        table.zoneName = request.zoneName;
    }
    table.days.reserve(rows.size());
    const int fixedOffset = UtcOffsetSeconds(request.offset, request.dst);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const CSolarDay& row = rows[i];
        const int utcOffset =
            clocks != nullptr && i < clocks->size() ? (*clocks)[i].utcOffsetSeconds : fixedOffset;
        CYearDay day;
        day.date = row.date;
        day.sunrise = row.sunrise;
        day.sunset = row.sunset;
        day.solarNoon = row.solarNoon;
        day.utcOffsetSeconds = utcOffset;
        table.days.push_back(day);
    }
    CheckDays(table);
    return table;
}

std::optional<std::int64_t> DayLengthSeconds(const CSolarResult& sunrise,
                                             const CSolarResult& sunset) {
    if (sunrise.HasTime() && sunset.HasTime()) {
        return CivilSeconds(sunset.time) - CivilSeconds(sunrise.time);
    }
    if (!sunrise.HasTime() && !sunset.HasTime() && sunrise.outcome == sunset.outcome) {
        return sunrise.outcome == SolarOutcome::UpAllDay ? 86400 : 0;
    }
    return std::nullopt;
}

std::optional<std::int64_t> DayLengthSeconds(const CYearDay& day) {
    return DayLengthSeconds(day.sunrise, day.sunset);
}

double HoursIntoDay(const CCivilTime& time, const CCivilDate& day) {
    return static_cast<double>(CivilSeconds(time) - CivilSeconds(CCivilTime{day, 0, 0, 0})) /
           3600.0;
}
