#include "DayOnClock.h"

#include <cstdint>

#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

#include "ResultYears.h"
#include "SolarLocal.h"
#include "SolarTable.h"

namespace {

SunAltitudeMask AltitudesOf(SolarEngine engine, SunAltitudeMask altitudes) {
    return engine == SolarEngine::Precise ? altitudes | SunAltitudeBit(SunAltitude::Horizon)
                                          : altitudes;
}

// The three events from the precise engine's day, when it is the engine chosen.
void TakePreciseTriple(CDayOnClock& day) {
    day.sunrise = ToSolarResult(day.precise[SunEvent::Sunrise]);
    day.sunset = ToSolarResult(day.precise[SunEvent::Sunset]);
    day.solarNoon = ToSolarResult(day.precise[SunEvent::SolarNoon]);
}

// The precise engine's rows of a table, run by run of one clock, made a block at a time so
// that a century of them never sits in memory at once. A block starts afresh from its first
// day, which gives the same samples of the Sun's place as stepping to it would.
class CPreciseRows {
public:
    CPreciseRows(std::vector<CClockRun> runs, double lat, double lon, SunAltitudeMask mask)
        : m_runs(std::move(runs)), m_lat(lat), m_lon(lon), m_mask(mask) {}

    // The next day's events and the run it belongs to; as many calls as the runs have days.
    const CSunDayEvents& Next(const CClockRun*& run) {
        if (m_next == m_block.size()) {
            while (m_done == m_runs[m_run].days) {
                ++m_run;
                m_done = 0;
            }
            const CClockRun& current = m_runs[m_run];
            const int count = std::min(kBlockDays, current.days - m_done);
            m_block = PreciseSunTable(AddDays(current.engineFirst, m_done), count, m_lat, m_lon,
                                      current.clock.offset, current.clock.dst, m_mask);
            m_done += count;
            m_next = 0;
        }
        run = &m_runs[m_run];
        return m_block[m_next++];
    }

private:
    static constexpr int kBlockDays = 1024;  // about 600 KB of rows

    std::vector<CClockRun> m_runs;
    double m_lat;
    double m_lon;
    SunAltitudeMask m_mask;
    std::size_t m_run = 0;
    int m_done = 0;  // days of the current run made so far
    std::vector<CSunDayEvents> m_block;
    std::size_t m_next = 0;
};

// The Moon's rows of a table, run by run of one clock as the Sun's are, a block at a time. The
// Moon's date is the run's own date (not the engine's day beyond the date line): its events are
// those between 00:00 and 24:00 of that date on the run's clock.
class CMoonRows {
public:
    CMoonRows(std::vector<CClockRun> runs, double lat, double lon)
        : m_runs(std::move(runs)), m_lat(lat), m_lon(lon) {}

    void Next(CDayOnClock& day) {
        if (m_next == m_events.size()) {
            while (m_done == m_runs[m_run].days) {
                ++m_run;
                m_done = 0;
            }
            const CClockRun& current = m_runs[m_run];
            const int count = std::min(kBlockDays, current.days - m_done);
            const CCivilDate first = AddDays(current.first, m_done);
            m_events =
                MoonTable(first, count, m_lat, m_lon, current.clock.offset, current.clock.dst);
            m_phases = MoonPhaseTable(first, count, current.clock.offset, current.clock.dst);
            m_done += count;
            m_next = 0;
        }
        day.hasMoon = true;
        day.moon = m_events[m_next];
        day.moonPhase = m_phases[m_next];
        ++m_next;
    }

private:
    static constexpr int kBlockDays = 1024;

    std::vector<CClockRun> m_runs;
    double m_lat;
    double m_lon;
    std::size_t m_run = 0;
    int m_done = 0;
    std::vector<CMoonDay> m_events;
    std::vector<CMoonPhaseOfDate> m_phases;
    std::size_t m_next = 0;
};

// The default series' rows on the clock, each joined with the precise engine's row of its date
// when the caller asked for crossings only that engine has.
class CSeriesRows final : public CClockedDaySink {
public:
    CSeriesRows(CPreciseRows* precise, CMoonRows* moon, SunAltitudeMask mask, CDayOnClockSink& sink)
        : m_precise(precise), m_moon(moon), m_sink(sink) {
        m_day.altitudes = mask;
    }

    void Add(const CSolarDay& row, const CClockOnDate& clock) override {
        m_day.date = row.date;
        m_day.clock = clock;
        m_day.sunrise = row.sunrise;
        m_day.sunset = row.sunset;
        m_day.solarNoon = row.solarNoon;
        if (m_precise != nullptr) {
            const CClockRun* run = nullptr;
            m_day.precise = m_precise->Next(run);
        }
        if (m_moon != nullptr) {
            m_moon->Next(m_day);
        }
        CheckDayYears(m_day);
        m_sink.Add(m_day);
    }

private:
    CPreciseRows* m_precise;
    CMoonRows* m_moon;
    CDayOnClockSink& m_sink;
    CDayOnClock m_day;
};

}  // namespace

bool CDayOnClock::HasPreciseEvent(SunEvent event) const noexcept {
    return altitudes != 0 &&
           (event == SunEvent::SolarNoon || (SunEventAltitudes(event) & altitudes) != 0);
}

bool IsNoonFarFromMidday(const CDayOnClock& day) noexcept {
    constexpr std::int64_t kMaxNoonShiftSeconds = 3 * 3600;
    if (!day.solarNoon.HasTime()) {
        return false;
    }
    const std::int64_t shift =
        CivilSeconds(day.solarNoon.time) - CivilSeconds({day.date, 12, 0, 0});
    return shift < -kMaxNoonShiftSeconds || shift > kMaxNoonShiftSeconds;
}

void CheckDayYears(const CDayOnClock& day) {
    for (const CSolarResult* result : {&day.sunrise, &day.sunset, &day.solarNoon}) {
        CheckResultYears(*result);
    }
    if (day.altitudes == 0) {
        return;
    }
    for (const CSunEventResult& event : day.precise.events) {
        if (event.HasTime() && day.HasPreciseEvent(event.event)) {
            CheckResultYears(ToSolarResult(event));
        }
    }
    if (!day.hasMoon) {
        return;
    }
    for (const CMoonEventResult& event : day.moon.events) {
        if (event.HasTime() &&
            (event.time.date.year < kFirstResultYear || event.time.date.year > kLastResultYear)) {
            throw CSolarException(CSolarException::Cause::BadDate, kResultYearsMessage);
        }
    }
}

CDayOnClock SolarDayOnClock(const CClockChoice& clock, const CCivilDate& date, double lat,
                            double lon, SolarEngine engine, SunAltitudeMask altitudes, bool moon) {
    const CClockRun run = clock.Day(date, lon);
    const float offset = run.clock.offset;
    const int dst = run.clock.dst;
    CDayOnClock day;
    day.date = date;
    day.clock = run.clock;
    day.altitudes = AltitudesOf(engine, altitudes);
    if (day.altitudes != 0) {
        day.precise = PreciseSunDay(run.engineFirst, lat, lon, offset, dst, day.altitudes);
    }
    if (engine == SolarEngine::Precise) {
        TakePreciseTriple(day);
    } else {
        // The single-day calls, so that a polar day names its nearest sunrise or sunset.
        day.sunrise = LocalSunrise(run.engineFirst, lat, lon, offset, dst);
        day.sunset = LocalSunset(run.engineFirst, lat, lon, offset, dst);
        day.solarNoon = LocalSolarNoon(run.engineFirst, lon, offset, dst);
    }
    if (moon) {
        // The date itself, not the engine's day: as CMoonRows takes it.
        day.hasMoon = true;
        day.moon = MoonDay(date, lat, lon, offset, dst);
        day.moonPhase = MoonPhaseOnDate(date, offset, dst);
    }
    CheckDayYears(day);
    return day;
}

void SolarDaysOnClock(const CClockChoice& clock, const CCivilDate& first, int days, double lat,
                      double lon, SolarEngine engine, SunAltitudeMask altitudes,
                      CDayOnClockSink& sink, bool moon) {
    // The offset is the clock's, checked by the engine with each run.
    if (!CheckSolarTable(first, days, lat, lon, 0.0f)) {
        return;
    }
    const SunAltitudeMask mask = AltitudesOf(engine, altitudes);
    std::optional<CMoonRows> moonRows;
    if (moon) {
        moonRows.emplace(clock.Runs(first, days, lon), lat, lon);
    }
    CMoonRows* moonSource = moonRows ? &*moonRows : nullptr;
    if (engine == SolarEngine::Series) {
        if (mask == 0) {
            CSeriesRows rows(nullptr, moonSource, mask, sink);
            SolarTableOnClock(clock, first, days, lat, lon, rows);
            return;
        }
        CPreciseRows precise(clock.Runs(first, days, lon), lat, lon, mask);
        CSeriesRows rows(&precise, moonSource, mask, sink);
        SolarTableOnClock(clock, first, days, lat, lon, rows);
        return;
    }
    CPreciseRows precise(clock.Runs(first, days, lon), lat, lon, mask);
    CDayOnClock day;
    day.altitudes = mask;
    day.date = first;
    for (int i = 0; i < days; ++i) {
        const CClockRun* run = nullptr;
        day.precise = precise.Next(run);
        day.clock = run->clock;
        TakePreciseTriple(day);
        if (moonSource != nullptr) {
            moonSource->Next(day);
        }
        CheckDayYears(day);
        sink.Add(day);
        day.date = AddDays(day.date, 1);
    }
}
