#include "YearTable.h"

#include <algorithm>
#include <memory>
#include <utility>

#include "DayOnClock.h"
#include "ZoneClock.h"

namespace {

constexpr SunAltitudeMask kTwilightAltitudes = SunAltitudeBit(SunAltitude::Civil) |
                                               SunAltitudeBit(SunAltitude::Nautical) |
                                               SunAltitudeBit(SunAltitude::Astronomical);

// The table's days as the one day's computation gives them, checked there.
class CYearRows final : public CDayOnClockSink {
public:
    CYearRows(CYearDaySink& sink, bool twilights) : m_sink(sink), m_twilights(twilights) {}

    void Add(const CDayOnClock& on) override {
        CYearDay day;
        day.date = on.date;
        day.sunrise = on.sunrise;
        day.sunset = on.sunset;
        day.solarNoon = on.solarNoon;
        day.utcOffsetSeconds = on.clock.utcOffsetSeconds;
        if (m_twilights) {
            day.civilDawn = on.precise[SunEvent::CivilDawn];
            day.civilDusk = on.precise[SunEvent::CivilDusk];
            day.nauticalDawn = on.precise[SunEvent::NauticalDawn];
            day.nauticalDusk = on.precise[SunEvent::NauticalDusk];
            day.astronomicalDawn = on.precise[SunEvent::AstronomicalDawn];
            day.astronomicalDusk = on.precise[SunEvent::AstronomicalDusk];
            day.hasTwilights = true;
        }
        if (on.hasMoon) {
            day.hasMoon = true;
            day.moonrise = on.moon[MoonEvent::Moonrise];
            day.moonset = on.moon[MoonEvent::Moonset];
            day.moonPhase = on.moonPhase;
        }
        m_sink.Add(day);
    }

private:
    CYearDaySink& m_sink;
    bool m_twilights;
};

// Keeps every day in the table.
class CTableDays final : public CYearDaySink {
public:
    explicit CTableDays(CYearTable& table) : m_table(table) {}
    void Add(const CYearDay& day) override { m_table.days.push_back(day); }

private:
    CYearTable& m_table;
};

}  // namespace

CYearZoneError::CYearZoneError(const std::string& zoneName)
    : CMessageException("The time zone \"" + zoneName +
                        "\" is not in this computer's time-zone database") {}

CYearTable ComputeDays(const CYearRequest& request, const CCivilDate& first, int count) {
    if (request.fromDate && !request.zoneName.empty()) {
        std::optional<CZoneClock> zone = CZoneClock::Load(request.zoneName);
        if (!zone) {
            throw CYearZoneError(request.zoneName);
        }
        return ComputeDaysOnClock(request, CClockChoice::Zone(std::move(*zone)), first, count,
                                  true);
    }
    return ComputeDaysOnClock(request, CClockChoice::Fixed(request.offset, request.dst), first,
                              count, true);
}

CYearTable ComputeDaysOnClock(const CYearRequest& request, const CClockChoice& clock,
                              const CCivilDate& first, int count, bool twilights, bool moon) {
    CYearTable table;
    table.request = request;
    if (request.fromDate && clock.GetZone() != nullptr) {
        table.zoneName = clock.GetZone()->Name();
    }
    if (count <= 0) {
        return table;
    }
    if (count <= kMaxSolarTableDays) {
        table.days.reserve(static_cast<std::size_t>(count));
    }
    CTableDays days(table);
    StreamDaysOnClock(request, clock, first, count, twilights, moon, days);
    return table;
}

void StreamDaysOnClock(const CYearRequest& request, const CClockChoice& clock,
                       const CCivilDate& first, int count, bool twilights, bool moon,
                       CYearDaySink& sink) {
    CYearRows rows(sink, twilights);
    SolarDaysOnClock(clock, first, count, request.latitude, request.longitude,
                     request.precise ? SolarEngine::Precise : SolarEngine::Series,
                     twilights ? kTwilightAltitudes : 0, rows, moon);
}

CYearTable ComputeYear(const CYearRequest& request) {
    const int year = request.date.year;
    return ComputeDays(request, CCivilDate{year, 1, 1}, IsLeapYear(year) ? 366 : 365);
}

std::optional<std::int64_t> DayLengthSeconds(const CYearDay& day) {
    return DayLengthSeconds(day.sunrise, day.sunset);
}

double HoursIntoDay(const CCivilTime& time, const CCivilDate& day) {
    return static_cast<double>(CivilSeconds(time) - CivilSeconds(CCivilTime{day, 0, 0, 0})) /
           3600.0;
}
