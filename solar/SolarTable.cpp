#include "SolarTable.h"

#include <algorithm>
#include <array>
#include <utility>

#include "MonthInfo.h"
#include "SolarLocal.h"
#include "SolarTerms.h"

using namespace solar::detail;

namespace {

// The terms of every day index a year's run of rows uses, worked out together before any
// event: with no event work in between, the processor overlaps the math library's calls of
// neighbouring days. Rows of days n use the indices n - 2 to n; an index outside the run (only
// a longitude far beyond 180 degrees carries that far) is worked out on its own.
class CDayTermsCache {
public:
    explicit CDayTermsCache(const CLatitudeTerms& lt) : m_lt(lt), m_other(lt) {}

    // Works out the day indices first to last; past kMaxDays of them, Day() works them out.
    void Fill(std::int64_t first, std::int64_t last) {
        m_first = first;
        m_count = std::min(static_cast<std::size_t>(last - first + 1), kMaxDays);
        for (std::size_t i = 0; i < m_count; ++i) {
            const std::int64_t d = first + static_cast<std::int64_t>(i);
            const CDayTerms terms = DayTerms(d, m_lt);
            m_days[i] = CDayEntry{d, terms, HourAngleDegrees(terms.x), true};
        }
    }

    CDayEntry& Day(std::int64_t d) {
        const std::uint64_t i = static_cast<std::uint64_t>(d - m_first);
        return i < m_count ? m_days[i] : m_other.Day(d);
    }

    static constexpr std::size_t kMaxDays = 368;  // day indices -1 (n - 2 of 1 January) to 366

private:
    CLatitudeTerms m_lt;
    std::int64_t m_first = 0;
    std::size_t m_count = 0;
    std::array<CDayEntry, kMaxDays> m_days;
    CComputedDay m_other;
};

}  // namespace

bool CheckSolarTable(const CCivilDate& first, int days, double lat, double lon, float offset) {
    CheckSolarInputs(lat, lon, offset);
    if (days <= 0) {
        return false;
    }
    if (days > kMaxSolarTableDays) {
        throw CSolarException(CSolarException::Cause::TableTooLong,
                              "Cannot compute: a table holds at most 36600 days");
    }
    CheckSolarDate(first);
    CheckSolarDate(AddDays(first, days - 1));
    return true;
}

std::vector<CSolarDay> LocalSolarTable(const CCivilDate& first, int days, double lat, double lon,
                                       float offset, int dst) {
    struct CCollect final : CSolarDaySink {
        std::vector<CSolarDay> rows;
        void Add(const CSolarDay& row) override { rows.push_back(row); }
    } collect;
    if (days > 0 && days <= kMaxSolarTableDays) {
        collect.rows.reserve(static_cast<std::size_t>(days));
    }
    LocalSolarTable(first, days, lat, lon, offset, dst, collect);
    return std::move(collect.rows);
}

void LocalSolarTable(const CCivilDate& first, int days, double lat, double lon, float offset,
                     int dst, CSolarDaySink& sink) {
    if (!CheckSolarTable(first, days, lat, lon, offset)) {
        return;
    }

    const std::int32_t noonCarry = NoonCarry(lon);
    CDayTermsCache cache(LatitudeTerms(lat));
    CSolarDay row;
    CCivilDate date = first;
    int left = days;
    // One year at a time: day indices restart with the year.
    while (left > 0) {
        const bool leap = IsLeapYear(date.year);
        const CMonthInfo* months = MonthTable(leap);
        int n = DayOfYear(date.month, date.day, leap);
        const int count = std::min(left, DayOfYear(12, 31, leap) - n + 1);
        cache.Fill(std::int64_t{n} - 2, std::int64_t{n} + count - 1);
        int monthLength = months[date.month - 1].m_nDays;
        for (int i = 0; i < count; ++i, ++n) {
            const CEventMinutes sunrise = TwoPassEventUtc(Kind::Sunrise, n, lon, cache);
            const CEventMinutes sunset = TwoPassEventUtc(Kind::Sunset, n, lon, cache);
            const double noonEqTime = cache.Day(std::int64_t{n} - 1 + noonCarry).terms.eqTime;
            row.date = date;
            row.sunrise = ResultFromEvent(SolarEvent::Sunrise, sunrise, date, offset, dst);
            row.sunset = ResultFromEvent(SolarEvent::Sunset, sunset, date, offset, dst);
            row.solarNoon.event = SolarEvent::SolarNoon;
            row.solarNoon.time =
                LocalClockTime(SolarNoonFromEquation(lon, noonEqTime), date, offset, dst);
            sink.Add(row);

            if (date.day < monthLength) {
                ++date.day;
            } else if (date.month < 12) {
                ++date.month;
                date.day = 1;
                monthLength = months[date.month - 1].m_nDays;
            }
        }
        left -= count;
        date = CCivilDate{date.year + 1, 1, 1};
    }
}
