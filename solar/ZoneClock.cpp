#include "ZoneClock.h"

#include "DayText.h"
#include "SolarLocal.h"

#include <cctz/civil_time.h>
#include <cctz/time_zone.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <utility>

struct CZoneClock::Impl {
    cctz::time_zone zone;
};

namespace {

// Names are looked up as files below the database's folder: refuse anything that could leave
// it or is no zone name at all.
bool IsSafeZoneName(const std::string& name) {
    if (name.empty() || name.size() > 128 || name.front() == '/' || name.back() == '/') {
        return false;
    }
    for (const char c : name) {
        const bool ok = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
                        (c >= '0' && c <= '9') || c == '/' || c == '_' || c == '-' || c == '+' ||
                        c == '.';
        if (!ok) {
            return false;
        }
    }
    return name.find("..") == std::string::npos && name.find("//") == std::string::npos;
}

cctz::time_point<cctz::seconds> LocalNoon(const cctz::time_zone& zone, const CCivilDate& date) {
    return cctz::convert(cctz::civil_second(date.year, date.month, date.day, 12, 0, 0), zone);
}

CClockOnDate ClockAt(const cctz::time_zone& zone, const cctz::time_point<cctz::seconds>& when) {
    const cctz::time_zone::absolute_lookup at = zone.lookup(when);
    CClockOnDate clock;
    clock.utcOffsetSeconds = at.offset;
    clock.dst = at.is_dst ? 1 : 0;
    // The engine adds a whole hour for the tick, so the standard part is what remains; this
    // holds for any saving, a half hour or a negative one included.
    const int standardEast = at.offset - (at.is_dst ? 3600 : 0);
    clock.offset = static_cast<float>(-standardEast) / 3600.0f;
    clock.abbreviation = at.abbr != nullptr ? at.abbr : "";
    return clock;
}

bool SameClock(const CClockOnDate& a, const CClockOnDate& b) {
    return a.offset == b.offset && a.dst == b.dst;
}

CCivilDate ToDate(const cctz::civil_day& day) {
    return CCivilDate{static_cast<int>(day.year()), day.month(), day.day()};
}

std::int64_t DaysBetween(const CCivilDate& from, const CCivilDate& to) {
    return DaysFromCivil(to) - DaysFromCivil(from);
}

// The engine's day whose events, read on `clock`, fall on `date`: the day whose solar noon does.
CCivilDate EngineDay(const CCivilDate& date, double lon, const CClockOnDate& clock) {
    const CSolarResult noon = LocalSolarNoon(date, lon, clock.offset, clock.dst);
    const std::int64_t shift = DaysBetween(date, noon.time.date);
    return shift == 0 ? date : AddDays(date, -shift);
}

}  // namespace

CZoneClock::CZoneClock(std::string name, std::shared_ptr<const Impl> impl)
    : m_name(std::move(name)), m_impl(std::move(impl)) {}

std::optional<CZoneClock> CZoneClock::Load(const std::string& name) {
    if (!IsSafeZoneName(name)) {
        return std::nullopt;
    }
    auto impl = std::make_shared<Impl>();
    if (!cctz::load_time_zone(name, &impl->zone)) {
        return std::nullopt;
    }
    return CZoneClock(name, std::move(impl));
}

CClockOnDate CZoneClock::OnDate(const CCivilDate& date) const {
    CheckSolarDate(date);
    return ClockAt(m_impl->zone, LocalNoon(m_impl->zone, date));
}

CCivilDate CZoneClock::DateAt(std::int64_t unixSeconds) const {
    const auto when = std::chrono::time_point_cast<cctz::seconds>(
        std::chrono::system_clock::from_time_t(0) + cctz::seconds(unixSeconds));
    return ToDate(cctz::civil_day(cctz::convert(when, m_impl->zone)));
}

std::optional<CCivilDate> CZoneClock::NextChange(const CCivilDate& date,
                                                 const CCivilDate& limit) const {
    const cctz::time_zone& zone = m_impl->zone;
    const CClockOnDate start = OnDate(date);
    cctz::time_point<cctz::seconds> when = LocalNoon(zone, date);
    cctz::time_zone::civil_transition change;
    while (zone.next_transition(when, &change)) {
        // The instant of the change: its civil start on the clock that ends there.
        const int before = zone.lookup(when).offset;
        when = cctz::convert(change.from, cctz::utc_time_zone()) - cctz::seconds(before);
        CCivilDate day = ToDate(cctz::civil_day(change.to));
        if (day <= date) {
            day = AddDays(date, 1);
        }
        // A date's clock is read at its noon: a change after noon counts from the next day.
        for (int i = 0; i < 2 && day < limit; ++i, day = AddDays(day, 1)) {
            if (!SameClock(OnDate(day), start)) {
                return day;
            }
        }
        if (!(day < limit)) {
            return std::nullopt;
        }
    }
    return std::nullopt;
}

int UtcOffsetSeconds(float offset, int dst) {
    return static_cast<int>(std::lround((static_cast<double>(dst) - offset) * 3600.0));
}

std::string FormatUtcOffset(int seconds) {
    return "UTC" + OffsetText(seconds);
}

CSolarResult ZonedSunrise(const CCivilDate& date, double lat, double lon, const CZoneClock& zone) {
    const CClockRun day = CClockChoice::Zone(zone).Day(date, lon);
    return LocalSunrise(day.engineFirst, lat, lon, day.clock.offset, day.clock.dst);
}

CSolarResult ZonedSunset(const CCivilDate& date, double lat, double lon, const CZoneClock& zone) {
    const CClockRun day = CClockChoice::Zone(zone).Day(date, lon);
    return LocalSunset(day.engineFirst, lat, lon, day.clock.offset, day.clock.dst);
}

CSolarResult ZonedSolarNoon(const CCivilDate& date, double lon, const CZoneClock& zone) {
    const CClockRun day = CClockChoice::Zone(zone).Day(date, lon);
    return LocalSolarNoon(day.engineFirst, lon, day.clock.offset, day.clock.dst);
}

std::vector<CSolarDay> ZonedSolarTable(const CCivilDate& first, int days, double lat, double lon,
                                       const CZoneClock& zone) {
    return SolarTableOnClock(CClockChoice::Zone(zone), first, days, lat, lon);
}

CClockChoice CClockChoice::Fixed(float offset, int dst) {
    CClockChoice choice;
    choice.m_offset = offset;
    choice.m_dst = dst;
    return choice;
}

CClockChoice CClockChoice::Zone(CZoneClock zone, std::optional<float> standardOffset,
                                std::optional<int> forcedDst) {
    CClockChoice choice;
    choice.m_zone = std::move(zone);
    choice.m_offset = standardOffset;
    choice.m_dst = forcedDst;
    return choice;
}

CClockOnDate CClockChoice::OnDate(const CCivilDate& date) const {
    CClockOnDate clock;
    if (m_zone) {
        clock = m_zone->OnDate(date);
    }
    if (m_offset || m_dst) {
        clock.offset = m_offset.value_or(clock.offset);
        clock.dst = m_dst.value_or(clock.dst);
        clock.utcOffsetSeconds = UtcOffsetSeconds(clock.offset, clock.dst);
        if (!m_zone) {
            clock.abbreviation.clear();
        }
    }
    return clock;
}

CClockRun CClockChoice::Day(const CCivilDate& date, double lon) const {
    CClockRun day;
    day.first = date;
    day.days = 1;
    day.clock = OnDate(date);
    day.engineFirst = m_zone ? EngineDay(date, lon, day.clock) : date;
    return day;
}

std::vector<CClockRun> CClockChoice::Runs(const CCivilDate& first, int days, double lon) const {
    std::vector<CClockRun> runs;
    if (days <= 0) {
        return runs;
    }
    CheckSolarDate(first);
    const CCivilDate end = AddDays(first, days);
    CCivilDate runStart = first;
    while (runStart < end) {
        CClockRun run = Day(runStart, lon);
        CCivilDate runEnd = end;
        if (m_zone) {
            // A change of the zone's clock that the fixed parts hide continues the run.
            CCivilDate from = runStart;
            while (const std::optional<CCivilDate> change = m_zone->NextChange(from, end)) {
                if (!SameClock(OnDate(*change), run.clock)) {
                    runEnd = *change;
                    break;
                }
                from = *change;
            }
        }
        run.days = static_cast<int>(DaysBetween(runStart, runEnd));
        runs.push_back(run);
        runStart = runEnd;
    }
    return runs;
}

std::vector<CSolarDay> SolarTableOnClock(const CClockChoice& choice, const CCivilDate& first,
                                         int days, double lat, double lon,
                                         std::vector<CClockOnDate>* clocks) {
    struct CCollect final : CClockedDaySink {
        std::vector<CSolarDay> rows;
        std::vector<CClockOnDate>* clocks = nullptr;
        void Add(const CSolarDay& row, const CClockOnDate& clock) override {
            rows.push_back(row);
            if (clocks != nullptr) {
                clocks->push_back(clock);
            }
        }
    } collect;
    collect.clocks = clocks;
    if (days > 0 && days <= kMaxSolarTableDays) {
        collect.rows.reserve(static_cast<std::size_t>(days));
    }
    SolarTableOnClock(choice, first, days, lat, lon, collect);
    return std::move(collect.rows);
}

namespace {

// Gives one run's rows their own dates and clock; a row whose noon crossed midnight within a
// zone's run is made again from its own engine day.
class CRunSink final : public CSolarDaySink {
public:
    CRunSink(const CClockChoice& choice, const CClockRun& run, double lat, double lon,
             CClockedDaySink& sink)
        : m_choice(choice), m_run(run), m_lat(lat), m_lon(lon), m_sink(sink), m_date(run.first) {}

    void Add(const CSolarDay& engineRow) override {
        if (m_choice.GetZone() != nullptr && engineRow.solarNoon.time.date != m_date) {
            const CCivilDate day = EngineDay(m_date, m_lon, m_run.clock);
            CSolarDay row =
                LocalSolarTable(day, 1, m_lat, m_lon, m_run.clock.offset, m_run.clock.dst)[0];
            row.date = m_date;
            m_sink.Add(row, m_run.clock);
        } else {
            CSolarDay row = engineRow;
            row.date = m_date;
            m_sink.Add(row, m_run.clock);
        }
        m_date = AddDays(m_date, 1);
    }

private:
    const CClockChoice& m_choice;
    const CClockRun& m_run;
    double m_lat;
    double m_lon;
    CClockedDaySink& m_sink;
    CCivilDate m_date;
};

}  // namespace

void SolarTableOnClock(const CClockChoice& choice, const CCivilDate& first, int days, double lat,
                       double lon, CClockedDaySink& sink) {
    if (days > kMaxSolarTableDays) {
        // The fixed-offset table states the limit and its message.
        LocalSolarTable(first, days, lat, lon, 0.0f, 0);
        return;
    }
    const std::vector<CClockRun> runs = choice.Runs(first, days, lon);
    for (const CClockRun& run : runs) {
        CRunSink runSink(choice, run, lat, lon, sink);
        LocalSolarTable(run.engineFirst, run.days, lat, lon, run.clock.offset, run.clock.dst,
                        runSink);
    }
}
