// A year's table read on a place's own clock against the same table at a fixed offset: the
// zone's changes of clocks are looked up once per change, so the two should cost about the same.
#include <benchmark/benchmark.h>

#include "SolarTable.h"
#include "ZoneClock.h"

namespace {

void BM_YearTableFixedOffset(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            LocalSolarTable(CCivilDate{2007, 1, 1}, 366, 41.88, 87.63, 6.0f, 1));
    }
}
BENCHMARK(BM_YearTableFixedOffset);

void BM_YearTableZoneClock(benchmark::State& state) {
    const CZoneClock chicago = *CZoneClock::Load("America/Chicago");
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            ZonedSolarTable(CCivilDate{2007, 1, 1}, 366, 41.88, 87.63, chicago));
    }
}
BENCHMARK(BM_YearTableZoneClock);

void BM_ZoneLoad(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(CZoneClock::Load("America/Chicago"));
    }
}
BENCHMARK(BM_ZoneLoad);

}  // namespace
