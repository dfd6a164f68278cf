// Cost of the Moon engine: one date's moonrise, moonset and transit; a year's table of them;
// and a year's principal phases and seasons, as an almanac lists them. Then the tool's uses of
// them: a year's table with the Moon's columns, and --almanac as a whole process.
#include <benchmark/benchmark.h>

#include "ProcessBench.h"

#include <sstream>
#include <string>
#include <vector>

#include "Cli.h"

#include "MoonEvents.h"
#include "MoonLight.h"
#include "SeasonsAndPhases.h"

namespace {

void BM_MoonDay(benchmark::State& state) {
    CCivilDate date{2024, 1, 1};
    for (auto _ : state) {
        benchmark::DoNotOptimize(MoonDay(date, 41.88, 87.63, 6, 0));
        date.day = date.day % 28 + 1;
    }
}
BENCHMARK(BM_MoonDay);

// 366 days of moon events: three of the five places a day are reused.
void BM_MoonYearTable(benchmark::State& state) {
    for (auto _ : state) {
        auto rows = MoonTable(CCivilDate{2024, 1, 1}, 366, 41.88, 87.63, 6, 0);
        benchmark::DoNotOptimize(rows.data());
    }
}
BENCHMARK(BM_MoonYearTable)->Unit(benchmark::kMicrosecond);

// The same year with each date's phase and light at 12:00: a table's every Moon column.
void BM_MoonYearTableWithPhases(benchmark::State& state) {
    for (auto _ : state) {
        auto rows = MoonTable(CCivilDate{2024, 1, 1}, 366, 41.88, 87.63, 6, 0);
        auto phases = MoonPhaseTable(CCivilDate{2024, 1, 1}, 366, 6, 0);
        benchmark::DoNotOptimize(rows.data());
        benchmark::DoNotOptimize(phases.data());
    }
}
BENCHMARK(BM_MoonYearTableWithPhases)->Unit(benchmark::kMicrosecond);

void BM_AlmanacYear(benchmark::State& state) {
    const double first = JulianDayUt({{2026, 1, 1}});
    const double last = JulianDayUt({{2027, 1, 1}});
    for (auto _ : state) {
        benchmark::DoNotOptimize(AlmanacBetween(first, last));
    }
}
BENCHMARK(BM_AlmanacYear)->Unit(benchmark::kMicrosecond);

// What daybreak-cli does after start-up for a year's table with the Sun's and the Moon's
// columns on a zone's clock: parse, compute, write the table.
void BM_CliMoonYearTable(benchmark::State& state) {
    const std::vector<std::string> args = {
        "--lat",  "41.88",      "--lon",
        "87.63",  "--tz",       "America/Chicago",
        "--date", "2024-01-01", "--days",
        "366",    "--events",   "sunrise,sunset,moonrise,moonset,moon"};
    for (auto _ : state) {
        std::ostringstream out;
        std::ostringstream err;
        benchmark::DoNotOptimize(RunCli(args, out, err));
        benchmark::DoNotOptimize(out.str().size());
    }
}
BENCHMARK(BM_CliMoonYearTable)->Unit(benchmark::kMillisecond);

#ifdef DAYBREAK_CLI_PATH
// daybreak-cli --almanac from process start to exit, its output thrown away.
void BM_CliAlmanacProcess(benchmark::State& state) {
    const char* const argv[] = {DAYBREAK_CLI_PATH, "--almanac", "2026", "--offset", "0",
                                "--format",        "csv",       nullptr};
    RunProcessBenchmark(state, argv);
}
BENCHMARK(BM_CliAlmanacProcess)->Unit(benchmark::kMillisecond)->UseRealTime();
#endif

}  // namespace
