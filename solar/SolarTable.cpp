#include "SolarTable.h"

#include "SolarLocal.h"
#include "SolarTerms.h"

using namespace solar::detail;

namespace {

// The terms of the few most recent day indices. Consecutive days use the indices n - 2 to n,
// so three slots hold everything a day shares with the one before.
class CDayTermsCache {
public:
    explicit CDayTermsCache(const CLatitudeTerms& lt) : m_lt(lt) {}

    struct CEntry {
        std::int64_t d = 0;
        bool valid = false;
        CDayTerms terms{};
        bool hasHourAngle = false;
        double hourAngleDeg = 0;
    };

    CEntry& Get(std::int64_t d) {
        for (CEntry& e : m_entries) {
            if (e.valid && e.d == d) {
                return e;
            }
        }
        CEntry& e = m_entries[m_next];
        m_next = (m_next + 1) % 3;
        e = CEntry{d, true, DayTerms(d, m_lt), false, 0};
        return e;
    }

    static double HourAngle(CEntry& e) {
        if (!e.hasHourAngle) {
            e.hourAngleDeg = HourAngleDegrees(e.terms.x);
            e.hasHourAngle = true;
        }
        return e.hourAngleDeg;
    }

    void Clear() {
        for (CEntry& e : m_entries) {
            e.valid = false;
        }
    }

private:
    CLatitudeTerms m_lt;
    CEntry m_entries[3];
    int m_next = 0;
};

enum class Kind { Sunrise, Sunset };

// The same two passes as SunriseEventUtc / SunsetEventUtc, over cached terms.
CEventMinutes CachedEventUtc(Kind kind, CDayTermsCache& cache, int n, double lon) {
    auto eventAt = [&](CDayTermsCache::CEntry& e) {
        const double h = CDayTermsCache::HourAngle(e);
        return kind == Kind::Sunrise ? SunriseFromTerms(lon, h, e.terms.eqTime)
                                     : SunsetFromTerms(lon, h, e.terms.eqTime);
    };
    const std::int64_t d1 = kind == Kind::Sunrise ? std::int64_t{n} - 1 : std::int64_t{n};
    std::int32_t carry = 0;
    {
        CDayTermsCache::CEntry& first = cache.Get(d1);
        if (Classify(first.terms.x) == SolarCrossing::Crosses) {
            carry = DayCarry(eventAt(first));
        }
    }
    CDayTermsCache::CEntry& final = cache.Get(std::int64_t{n} - 1 - carry);
    const SolarCrossing crossing = Classify(final.terms.x);
    if (crossing != SolarCrossing::Crosses) {
        return {crossing, 0};
    }
    return {crossing, eventAt(final)};
}

CSolarResult ToResult(SolarEvent event, const CEventMinutes& minutes, const CCivilDate& date,
                      float offset, int dst) {
    CSolarResult result;
    result.event = event;
    if (minutes.crossing == SolarCrossing::Crosses) {
        result.time = LocalClockTime(minutes.minutes, date, offset, dst);
    } else {
        result.outcome = minutes.crossing == SolarCrossing::UpAllDay ? SolarOutcome::UpAllDay
                                                                     : SolarOutcome::DownAllDay;
    }
    return result;
}

}  // namespace

std::vector<CSolarDay> LocalSolarTable(const CCivilDate& first, int days, double lat, double lon,
                                       float offset, int dst) {
    CheckSolarInputs(lat, lon, offset);
    if (days <= 0) {
        return {};
    }
    if (days > kMaxSolarTableDays) {
        throw CSolarException(CSolarException::Cause::TableTooLong,
                              "Cannot compute: a table holds at most 36600 days");
    }
    CheckSolarDate(first);
    CheckSolarDate(AddDays(first, days - 1));

    const std::int32_t noonCarry = NoonCarry(lon);
    CDayTermsCache cache(LatitudeTerms(lat));
    std::vector<CSolarDay> rows;
    rows.reserve(static_cast<std::size_t>(days));
    CCivilDate date = first;
    int n = DayOfYear(date.month, date.day, IsLeapYear(date.year));
    for (int i = 0; i < days; ++i) {
        CSolarDay& row = rows.emplace_back();
        row.date = date;
        row.sunrise = ToResult(SolarEvent::Sunrise, CachedEventUtc(Kind::Sunrise, cache, n, lon),
                               date, offset, dst);
        row.sunset = ToResult(SolarEvent::Sunset, CachedEventUtc(Kind::Sunset, cache, n, lon), date,
                              offset, dst);
        const double noonEqTime = cache.Get(std::int64_t{n} - 1 + noonCarry).terms.eqTime;
        row.solarNoon.event = SolarEvent::SolarNoon;
        row.solarNoon.time =
            LocalClockTime(SolarNoonFromEquation(lon, noonEqTime), date, offset, dst);

        // Next date; day indices restart with the year, so the cached terms no longer apply.
        if (date.day < DaysInMonth(date.year, date.month)) {
            ++date.day;
            ++n;
        } else if (date.month < 12) {
            ++date.month;
            date.day = 1;
            ++n;
        } else {
            date = CCivilDate{date.year + 1, 1, 1};
            n = 1;
            cache.Clear();
        }
    }
    return rows;
}
