// Cost of the precise engine: sunrise, sunset and solar noon in a year's table, and every
// event of one day (the six altitudes' morning and evening crossings, noon, azimuths).
#include <benchmark/benchmark.h>

#include <cstdint>

#include "SunEvents.h"
#include "YearTable.h"

namespace {

// A year's table of the three events: one evaluation of the Sun's place per day.
void BM_PreciseYearTableTriple(benchmark::State& state) {
    const SunAltitudeMask horizon = SunAltitudeBit(SunAltitude::Horizon);
    std::int64_t triples = 0;
    for (auto _ : state) {
        auto rows = PreciseSunTable(CCivilDate{2007, 1, 1}, 365, 41.88, 87.63, 6, 1, horizon);
        benchmark::DoNotOptimize(rows.data());
        triples += 365;
    }
    state.SetItemsProcessed(triples);
    state.counters["time/triple"] = benchmark::Counter(
        static_cast<double>(triples), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_PreciseYearTableTriple)->Unit(benchmark::kMicrosecond);

// One date's every event, as the day details and the tool's single-day lines ask for them.
void BM_PreciseDayAllEvents(benchmark::State& state) {
    CCivilDate date{2007, 1, 1};
    for (auto _ : state) {
        benchmark::DoNotOptimize(PreciseSunDay(date, 41.88, 87.63, 6, 1));
        date.day = date.day % 28 + 1;
    }
}
BENCHMARK(BM_PreciseDayAllEvents);

}  // namespace

namespace {

// A century of the year window's days (three events and the twilights), as the tool's
// calendar files and the window compute them.
void BM_YearDaysCentury(benchmark::State& state) {
    CYearRequest request;
    request.latitude = 41.88;
    request.longitude = 87.63;
    request.offset = 6;
    request.precise = state.range(0) != 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(ComputeDays(request, CCivilDate{1950, 1, 1}, 36600).days.size());
    }
}
BENCHMARK(BM_YearDaysCentury)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
