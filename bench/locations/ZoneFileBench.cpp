// Loading one state's zones from a zone file the size of the shipped one (41,000 places in 59
// states, 40 zone names), as a state load does after the archive. The state has 3,000 places,
// more than any state's share.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "ZoneFile.h"

namespace {

std::filesystem::path WriteZoneFile() {
    std::vector<CZoneEntry> entries;
    int zip = 1000;
    for (int state = 0; state < 59; ++state) {
        const std::string code{static_cast<char>('A' + state / 26),
                               static_cast<char>('A' + state % 26)};
        const int places = state == 0 ? 3000 : 38000 / 58;
        for (int i = 0; i < places; ++i, ++zip) {
            entries.push_back({code, std::to_string(10000 + zip),
                               "America/Zone_" + std::to_string((zip * 7) % 40)});
        }
    }
    const auto dir = std::filesystem::temp_directory_path() /
                     ("daybreak-bench-zones-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    const std::string bytes = EncodeZoneFile(entries);
    std::ofstream(dir / kZoneFileName, std::ios::binary) << bytes;
    return dir;
}

void BM_LoadStateZones(benchmark::State& state) {
    const auto dir = WriteZoneFile();
    for (auto _ : state) {
        const CZoneTable table = CZoneTable::Load("AA", dir);
        benchmark::DoNotOptimize(table.Find("11500"));
        if (table.Size() != 3000) {
            state.SkipWithError("wrong size");
            break;
        }
    }
    std::filesystem::remove_all(dir);
}
BENCHMARK(BM_LoadStateZones)->Unit(benchmark::kMicrosecond);

}  // namespace
