// Cost of the day's three events: one place and day as the window asks for them, a year's
// table for one place, a year for a thousand places, and the command-line tool's year table.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "Cli.h"
#include "LocalSolarTime.h"
#include "SolarTable.h"

namespace {

struct Place {
    double lat, lon;
    float offset;
};

// A fixed spread of places over the country's latitudes and longitudes (west positive).
std::vector<Place> Places(int count) {
    std::vector<Place> places;
    std::uint32_t state = 12345;
    auto next = [&state] {
        state = state * 1664525u + 1013904223u;
        return (state >> 8) / static_cast<double>(1u << 24);
    };
    for (int i = 0; i < count; ++i) {
        const double lat = 18 + 47 * next();
        const double lon = 65 + 95 * next();
        places.push_back({lat, lon, static_cast<float>(static_cast<int>(lon / 15 + 0.5))});
    }
    return places;
}

void SetTripleCounters(benchmark::State& state, std::int64_t triples) {
    state.SetItemsProcessed(triples);
    state.counters["events/s"] =
        benchmark::Counter(static_cast<double>(triples * 3), benchmark::Counter::kIsRate);
    // Shown with an SI prefix: "154n" is 154 ns of CPU time per triple.
    state.counters["time/triple"] = benchmark::Counter(
        static_cast<double>(triples), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// The window's calculation: three independent calls for one place and date.
void BM_TripleSingleCalls(benchmark::State& state) {
    const Place p{41.88, 87.63, 6};
    CCivilDate date{2007, 1, 1};
    std::int64_t triples = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(LocalSunrise(date, p.lat, p.lon, p.offset, 1));
        benchmark::DoNotOptimize(LocalSunset(date, p.lat, p.lon, p.offset, 1));
        benchmark::DoNotOptimize(LocalSolarNoon(date, p.lon, p.offset, 1));
        date.day = date.day % 28 + 1;
        ++triples;
    }
    SetTripleCounters(state, triples);
}
BENCHMARK(BM_TripleSingleCalls);

// The three calls and their result texts, all the window shows.
void BM_TripleWithText(benchmark::State& state) {
    const Place p{41.88, 87.63, 6};
    CCivilDate date{2007, 1, 1};
    std::int64_t triples = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(FormatSolarTime(LocalSunrise(date, p.lat, p.lon, p.offset, 1)));
        benchmark::DoNotOptimize(FormatSolarTime(LocalSunset(date, p.lat, p.lon, p.offset, 1)));
        benchmark::DoNotOptimize(FormatSolarTime(LocalSolarNoon(date, p.lon, p.offset, 1)));
        date.day = date.day % 28 + 1;
        ++triples;
    }
    SetTripleCounters(state, triples);
}
BENCHMARK(BM_TripleWithText);

// One place's table of a year: 365 triples.
void BM_YearTable(benchmark::State& state) {
    std::int64_t triples = 0;
    for (auto _ : state) {
        auto rows = LocalSolarTable(CCivilDate{2007, 1, 1}, 365, 41.88, 87.63, 6, 1);
        benchmark::DoNotOptimize(rows.data());
        triples += 365;
    }
    SetTripleCounters(state, triples);
}
BENCHMARK(BM_YearTable)->Unit(benchmark::kMicrosecond);

// A year of days for a thousand places, as tables.
void BM_ThousandPlacesYearTables(benchmark::State& state) {
    const std::vector<Place> places = Places(1000);
    std::int64_t triples = 0;
    for (auto _ : state) {
        for (const Place& p : places) {
            auto rows = LocalSolarTable(CCivilDate{2007, 1, 1}, 365, p.lat, p.lon, p.offset, 0);
            benchmark::DoNotOptimize(rows.data());
        }
        triples += 365 * static_cast<std::int64_t>(places.size());
    }
    SetTripleCounters(state, triples);
}
BENCHMARK(BM_ThousandPlacesYearTables)->Unit(benchmark::kMillisecond);

// The same year and places through the single-day calls.
void BM_ThousandPlacesYearSingleCalls(benchmark::State& state) {
    const std::vector<Place> places = Places(1000);
    std::int64_t triples = 0;
    for (auto _ : state) {
        for (const Place& p : places) {
            for (CCivilDate date{2007, 1, 1}; date.year == 2007; date = AddDays(date, 1)) {
                benchmark::DoNotOptimize(LocalSunrise(date, p.lat, p.lon, p.offset, 0));
                benchmark::DoNotOptimize(LocalSunset(date, p.lat, p.lon, p.offset, 0));
                benchmark::DoNotOptimize(LocalSolarNoon(date, p.lon, p.offset, 0));
            }
        }
        triples += 365 * static_cast<std::int64_t>(places.size());
    }
    SetTripleCounters(state, triples);
}
BENCHMARK(BM_ThousandPlacesYearSingleCalls)->Unit(benchmark::kMillisecond);

}  // namespace

// What daybreak-cli --days 366 does after start-up: parse, compute, build the table text.
void BM_CliYearTableText(benchmark::State& state) {
    const std::vector<std::string> args = {"--lat", "41.88",  "--lon",      "87.63W", "--offset",
                                           "6",     "--date", "2007-01-01", "--days", "366"};
    for (auto _ : state) {
        std::ostringstream out;
        std::ostringstream err;
        benchmark::DoNotOptimize(RunCli(args, out, err));
        benchmark::DoNotOptimize(out.str().size());
    }
}
BENCHMARK(BM_CliYearTableText)->Unit(benchmark::kMicrosecond);

namespace {

// The longest table the tool writes: a century of days, each computed and checked, then
// written in one format. `extra` picks the route: the plain rows, the chosen events, the
// precise engine.
void BM_CliCentury(benchmark::State& state, std::string format, std::vector<std::string> extra) {
    std::vector<std::string> args = {"--lat",    "41.88", "--lon",    "87.63W",
                                     "--offset", "6",     "--date",   "1950-01-01",
                                     "--days",   "36600", "--format", format};
    args.insert(args.end(), extra.begin(), extra.end());
    for (auto _ : state) {
        std::ostringstream out;
        std::ostringstream err;
        benchmark::DoNotOptimize(RunCli(args, out, err));
        // Looked at, not copied: copying a century's calendar (16 MB) out of the stream cost
        // the benchmark a fifth of its time.
        benchmark::DoNotOptimize(out.view().size());
    }
}
const std::vector<std::string> kEvents = {"--events", "sunrise,sunset"};
const std::vector<std::string> kPrecise = {"--precise"};
const std::vector<std::string> kMoon = {"--events", "moonrise,moonset,moon"};
BENCHMARK_CAPTURE(BM_CliCentury, Text, "text", {})->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_CliCentury, Csv, "csv", {})->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_CliCentury, Json, "json", {})->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_CliCentury, Ics, "ics", {})->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_CliCentury, EventsText, "text", kEvents)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_CliCentury, EventsCsv, "csv", kEvents)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_CliCentury, EventsJson, "json", kEvents)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_CliCentury, PreciseText, "text", kPrecise)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_CliCentury, PreciseCsv, "csv", kPrecise)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_CliCentury, PreciseJson, "json", kPrecise)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_CliCentury, PreciseIcs, "ics", kPrecise)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_CliCentury, MoonText, "text", kMoon)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_CliCentury, MoonIcs, "ics", kMoon)->Unit(benchmark::kMillisecond);

}  // namespace
