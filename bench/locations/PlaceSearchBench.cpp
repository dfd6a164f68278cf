// Finding places nationwide in the real archives beside the program (skipped without them):
// building the index of every state on first use, a search-as-you-type query over all of its
// names, and a zip lookup without a state, in process and as daybreak-cli from process start to
// printed answer (wall time).

#include <benchmark/benchmark.h>

#include "ProcessBench.h"

#include <array>
#include <filesystem>
#include <fstream>
#include <string>

#include "ModulePath.h"
#include "PlaceFinder.h"
#include "PlaceIndex.h"
#include "PlaceService.h"
#include "StateArchive.h"

extern char** environ;

namespace {

bool HaveArchives(benchmark::State& state) {
    if (!std::filesystem::exists(GetExecutableDirectory() / StateArchiveFileName("TX"))) {
        state.SkipWithError("no state archives beside the program");
        return false;
    }
    return true;
}

void BM_BuildNationwideIndex(benchmark::State& state) {
    if (!HaveArchives(state)) {
        return;
    }
    std::size_t places = 0;
    for (auto _ : state) {
        const CPlaceIndex index = CPlaceIndex::Build();
        places = index.Size();
    }
    state.counters["places"] = static_cast<double>(places);
}
BENCHMARK(BM_BuildNationwideIndex)->Unit(benchmark::kMillisecond);

// Each keystroke of "san antonio" and of "78572", as the Find Place field sends them.
void BM_SearchAsYouType(benchmark::State& state) {
    if (!HaveArchives(state)) {
        return;
    }
    const CPlaceIndex index = CPlaceIndex::Build();
    const std::array<std::string, 2> words = {"san antonio", "78572"};
    std::size_t queries = 0;
    for (auto _ : state) {
        for (const std::string& word : words) {
            for (std::size_t n = 1; n <= word.size(); ++n) {
                benchmark::DoNotOptimize(index.Search(word.substr(0, n), 200));
                ++queries;
            }
        }
    }
    state.counters["per_query"] = benchmark::Counter(
        static_cast<double>(queries), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["places"] = static_cast<double>(index.Size());
}
BENCHMARK(BM_SearchAsYouType)->Unit(benchmark::kMicrosecond);

// A near miss: every distinct name is measured against the typed one.
void BM_SuggestNames(benchmark::State& state) {
    if (!HaveArchives(state)) {
        return;
    }
    const CPlaceIndex index = CPlaceIndex::Build();
    for (auto _ : state) {
        benchmark::DoNotOptimize(index.Suggest("san antono", 5));
    }
}
BENCHMARK(BM_SuggestNames)->Unit(benchmark::kMicrosecond);

// Resident memory of this process in bytes, from /proc.
double ResidentBytes() {
    std::ifstream statm("/proc/self/statm");
    double pages = 0;
    double resident = 0;
    statm >> pages >> resident;
    return resident * 4096.0;
}

// The first search by name: every archive and the world file read, the towns grouped and
// sorted, one answer; "memory" is what the process holds more afterwards (the first run).
void BM_FirstSearchByName(benchmark::State& state) {
    if (!HaveArchives(state)) {
        return;
    }
    double grown = -1;
    for (auto _ : state) {
        const double before = ResidentBytes();
        CPlaceService places;
        benchmark::DoNotOptimize(places.Finder().Find("paris", 4, true));
        if (grown < 0) {
            grown = ResidentBytes() - before;
        }
    }
    state.counters["memory_MB"] = grown / (1024.0 * 1024.0);
}
BENCHMARK(BM_FirstSearchByName)->Unit(benchmark::kMillisecond);

// Each keystroke of a few names over every US town and world town, as Find Place sends them
// (50 rows at most).
void BM_SearchAsYouTypeByName(benchmark::State& state) {
    if (!HaveArchives(state)) {
        return;
    }
    CPlaceService places;
    const CPlaceFinder& finder = places.Finder();
    const std::array<std::string, 4> words = {"san antonio", "paris, france", "new york",
                                              "st louis mo"};
    std::size_t queries = 0;
    for (auto _ : state) {
        for (const std::string& word : words) {
            for (std::size_t n = 1; n <= word.size(); ++n) {
                benchmark::DoNotOptimize(finder.Find(word.substr(0, n), 50));
                ++queries;
            }
        }
    }
    state.counters["per_query"] = benchmark::Counter(
        static_cast<double>(queries), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["towns"] = static_cast<double>(finder.Size());
}
BENCHMARK(BM_SearchAsYouTypeByName)->Unit(benchmark::kMicrosecond);

void BM_ZipNationwideInProcess(benchmark::State& state) {
    if (!HaveArchives(state)) {
        return;
    }
    for (auto _ : state) {
        CPlaceService places;
        benchmark::DoNotOptimize(places.FindZipNationwide("78572"));
    }
}
BENCHMARK(BM_ZipNationwideInProcess)->Unit(benchmark::kMillisecond);

#ifdef DAYBREAK_CLI_PATH
// The whole tool: start, find the place, compute, print (to /dev/null), exit. Argument 0: the
// zip code 78572 in whatever state; 1: --city paris over every US and world town.
void BM_CliZipNationwide(benchmark::State& state) {
    if (!HaveArchives(state)) {
        return;
    }
    const std::string archives = GetExecutableDirectory().string();
    const bool city = state.range(0) == 1;
    const char* const argv[] = {DAYBREAK_CLI_PATH,
                                "--archives",
                                archives.c_str(),
                                city ? "--city" : "--zip",
                                city ? "paris" : "78572",
                                "--date",
                                "2007-06-21",
                                "--dst",
                                nullptr};
    RunProcessBenchmark(state, argv);
}
BENCHMARK(BM_CliZipNationwide)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
#endif

}  // namespace
