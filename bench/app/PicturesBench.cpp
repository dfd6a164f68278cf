// Drawing the pictures under the offscreen platform: the Sun's day of Day Details.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>

#include "DayOnClock.h"
#include "SunDayChartView.h"
#include "SunPath.h"

namespace {

CSunDayChart ChicagoDay() {
    CSunDayChart chart;
    chart.date = CCivilDate{2007, 6, 21};
    chart.utcOffsetSeconds = -5 * 3600;
    chart.curve = SunDayCurve(chart.date, chart.utcOffsetSeconds, 41.88, 87.63, 289);
    chart.sunrise = 5 * 60 + 15.4;
    chart.sunset = 20 * 60 + 29.2;
    chart.solarNoon = 12 * 60 + 52.3;
    chart.sunriseAzimuth = 57.1;
    chart.sunsetAzimuth = 302.9;
    chart.noonAzimuth = 180;
    chart.moonriseAzimuth = 110;
    chart.moonsetAzimuth = 250;
    return chart;
}

// The curve as Day Details samples it.
void BM_SunDayCurve(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            SunDayCurve(CCivilDate{2007, 6, 21}, -5 * 3600, 41.88, 87.63, 289));
    }
}
BENCHMARK(BM_SunDayCurve)->Unit(benchmark::kMicrosecond);

// One paint of the chart at the size Day Details gives it at 2x.
void BM_PaintSunDay(benchmark::State& state) {
    CSunDayChartView view(ChicagoDay());
    view.resize(1200, 500);
    QImage image(view.size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        QPainter painter(&image);
        view.Paint(painter);
    }
}
BENCHMARK(BM_PaintSunDay)->Unit(benchmark::kMillisecond);

}  // namespace

#include <memory>

#include "WorldMap.h"
#include "WorldMapView.h"

namespace {

// A frame of the world map at 1600x800 for a new instant: the land picture is kept, and the
// shading is redone, as the time slider moves it.
void BM_ShadeWorldMap(benchmark::State& state) {
    auto map = std::make_shared<CWorldMap>(CWorldMap::Load(DAYBREAK_ARCHIVE_DIR));
    CWorldMapView view(map);
    view.resize(1600, 800);
    QImage image(view.size(), QImage::Format_ARGB32_Premultiplied);
    double instant = 2454273.0;
    view.SetInstant(instant);
    view.Frame();  // the land, once for the size
    for (auto _ : state) {
        instant += 1.0 / 1440;
        view.SetInstant(instant);
        QPainter painter(&image);
        view.Paint(painter);
    }
}
BENCHMARK(BM_ShadeWorldMap)->Unit(benchmark::kMillisecond);

// The land and outlines drawn for a new size.
void BM_DrawWorldLand(benchmark::State& state) {
    auto map = std::make_shared<CWorldMap>(CWorldMap::Load(DAYBREAK_ARCHIVE_DIR));
    CWorldMapView view(map);
    int width = 1600;
    for (auto _ : state) {
        width = width == 1600 ? 1601 : 1600;
        view.resize(width, 800);
        view.SetInstant(2454273.0);
        benchmark::DoNotOptimize(view.Frame());
    }
}
BENCHMARK(BM_DrawWorldLand)->Unit(benchmark::kMillisecond);

}  // namespace
