// The zone map and the world towns as shipped, read from beside the program: the zone of one
// point (anywhere on Earth, or at a town, where boundaries are nearer), and loading each file.

#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <utility>
#include <vector>

#include "WorldPlaces.h"
#include "ZoneMap.h"

namespace {

const CZoneMap& Map() {
    static const CZoneMap map = CZoneMap::Load();
    return map;
}

// 4,096 points drawn evenly over the sphere from a fixed seed.
std::vector<std::pair<double, double>> AnyPoints() {
    std::mt19937 random(20260621);
    std::uniform_real_distribution<double> unit(0, 1);
    std::vector<std::pair<double, double>> points;
    for (int i = 0; i < 4096; ++i) {
        const double lat = std::asin(2 * unit(random) - 1) * 180 / 3.14159265358979323846;
        points.emplace_back(lat, unit(random) * 360 - 180);
    }
    return points;
}

// Every 27th world town, 4,160 points.
std::vector<std::pair<double, double>> TownPoints() {
    const CWorldPlaces world = CWorldPlaces::Load();
    std::vector<std::pair<double, double>> points;
    for (std::size_t i = 0; i < world.Size(); i += 27) {
        points.emplace_back(world.At(i).latitude, world.At(i).longitude);
    }
    return points;
}

void FindAll(benchmark::State& state, const std::vector<std::pair<double, double>>& points) {
    if (!Map().IsKnown() || points.empty()) {
        state.SkipWithError("the zone map or the world towns are missing");
        return;
    }
    std::size_t i = 0;
    for (auto _ : state) {
        const auto& [lat, lon] = points[i++ % points.size()];
        benchmark::DoNotOptimize(Map().Find(lat, lon));
    }
}

void BM_ZoneMapFindAnyPoint(benchmark::State& state) {
    FindAll(state, AnyPoints());
}
BENCHMARK(BM_ZoneMapFindAnyPoint);

void BM_ZoneMapFindAtTown(benchmark::State& state) {
    FindAll(state, TownPoints());
}
BENCHMARK(BM_ZoneMapFindAtTown);

void BM_ZoneMapLoad(benchmark::State& state) {
    for (auto _ : state) {
        const CZoneMap map = CZoneMap::Load();
        if (!map.IsKnown()) {
            state.SkipWithError(map.Problem().c_str());
            break;
        }
        benchmark::DoNotOptimize(map.Find(48.8566, 2.3522));
    }
}
BENCHMARK(BM_ZoneMapLoad)->Unit(benchmark::kMillisecond);

void BM_WorldPlacesLoad(benchmark::State& state) {
    for (auto _ : state) {
        const CWorldPlaces world = CWorldPlaces::Load();
        if (!world.IsKnown()) {
            state.SkipWithError(world.Problem().c_str());
            break;
        }
        benchmark::DoNotOptimize(world.At(0));
    }
}
BENCHMARK(BM_WorldPlacesLoad)->Unit(benchmark::kMillisecond);

}  // namespace
