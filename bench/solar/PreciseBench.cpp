// Cost of the precise engine: sunrise, sunset and solar noon in a year's table, and every
// event of one day (the six altitudes' morning and evening crossings, noon, azimuths).
#include <benchmark/benchmark.h>

#include <cstdint>

#include "SunEvents.h"

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
