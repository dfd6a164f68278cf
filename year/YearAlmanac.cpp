#include "YearAlmanac.h"

#include <algorithm>
#include <deque>
#include <mutex>
#include <utility>

namespace {

// The events of UTC years, kept for the last few years asked: solving a year's phases takes
// milliseconds, and a window redraws the same year for every new place.
std::vector<CAlmanacEvent> EventsOfUtcYear(int year) {
    static std::mutex lock;
    static std::deque<std::pair<int, std::vector<CAlmanacEvent>>> kept;
    constexpr std::size_t kKept = 4;
    {
        const std::lock_guard<std::mutex> guard(lock);
        for (const auto& [keptYear, events] : kept) {
            if (keptYear == year) {
                return events;
            }
        }
    }
    std::vector<CAlmanacEvent> events = AlmanacBetween(JulianDayUt(CCivilTime{{year, 1, 1}}),
                                                       JulianDayUt(CCivilTime{{year + 1, 1, 1}}));
    const std::lock_guard<std::mutex> guard(lock);
    kept.emplace_back(year, events);
    if (kept.size() > kKept) {
        kept.pop_front();
    }
    return events;
}

std::vector<CAlmanacEvent> EventsBetween(double first, double last) {
    std::vector<CAlmanacEvent> events;
    const int lastYear = CivilTimeOfJulianDay(last, 0).date.year;
    for (int year = CivilTimeOfJulianDay(first, 0).date.year; year <= lastYear; ++year) {
        for (const CAlmanacEvent& event : EventsOfUtcYear(year)) {
            if (event.julianDayUt >= first && event.julianDayUt < last) {
                events.push_back(event);
            }
        }
    }
    return events;
}

double StartOfDay(const CYearDay& day) {
    return JulianDayUt(CCivilTime{day.date, 0, 0, 0}) - day.utcOffsetSeconds / 86400.0;
}

}  // namespace

std::vector<CYearAlmanacEvent> YearAlmanac(const CYearTable& table) {
    std::vector<CYearAlmanacEvent> events;
    if (table.days.empty()) {
        return events;
    }
    const auto& days = table.days;
    const std::int64_t first = DaysFromCivil(days.front().date);
    const auto count = static_cast<std::int64_t>(days.size());
    auto indexOf = [&](const CCivilTime& local) { return DaysFromCivil(local.date) - first; };
    for (const CAlmanacEvent& found :
         EventsBetween(StartOfDay(days.front()), StartOfDay(days.back()) + 1.0)) {
        // The clock of the day it falls on; the table's first and last days stand for the
        // days beyond it, whose events are left out.
        const CClockReading reading =
            ReadOnDatesClock(found.julianDayUt, [&](const CCivilDate& date) {
                const std::int64_t index =
                    std::clamp<std::int64_t>(DaysFromCivil(date) - first, 0, count - 1);
                return days[static_cast<std::size_t>(index)].utcOffsetSeconds;
            });
        const CCivilTime& local = reading.local;
        const int offset = reading.utcOffsetSeconds;
        const std::int64_t index = indexOf(local);
        if (index < 0 || index >= count) {
            continue;
        }
        CYearAlmanacEvent event;
        event.event = found.event;
        event.julianDayUt = found.julianDayUt;
        event.local = local;
        event.utcOffsetSeconds = offset;
        event.dayIndex = static_cast<int>(index);
        event.dayFraction = (local.hour * 3600 + local.minute * 60 + local.second) / 86400.0;
        events.push_back(event);
    }
    return events;
}
