// The year window under the offscreen platform: opening it for a place (computing the year,
// building the chart and the table, showing and painting it), and redrawing it for a new place.
#include <benchmark/benchmark.h>

#include <QApplication>

#include <memory>

#include "ReportCtrl.h"
#include "YearDlg.h"

namespace {

CYearRequest Place(double lat, double lon, float offset) {
    CYearRequest request;
    request.latitude = lat;
    request.longitude = lon;
    request.offset = offset;
    request.date = CCivilDate{2007, 6, 21};
    return request;
}

const CYearRequest kChicago = Place(41.88, 87.63, 6.0f);
const CYearRequest kBarrow = Place(71.29, 156.79, 9.0f);

void BM_OpenYearWindow(benchmark::State& state) {
    for (auto _ : state) {
        auto year = std::make_unique<CYearDlg>();
        year->ShowYear(kChicago);
        year->show();
        year->repaint();
        state.PauseTiming();
        year.reset();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenYearWindow)->Unit(benchmark::kMillisecond);

// Two places in turn, so every round computes and fills a different year.
void BM_RedrawYearForNewPlace(benchmark::State& state) {
    CYearDlg year;
    year.ShowYear(kChicago);
    year.show();
    year.repaint();
    bool north = false;
    for (auto _ : state) {
        north = !north;
        year.ShowYear(north ? kBarrow : kChicago);
        year.repaint();
    }
}
BENCHMARK(BM_RedrawYearForNewPlace)->Unit(benchmark::kMillisecond);

// A click on a column heading of the year's 365 rows: every column in turn, each the way a
// first click sorts it, so that dates, clock times and numbers are all read.
void BM_SortYearTableByColumn(benchmark::State& state) {
    CYearDlg year;
    year.ShowYear(kChicago);
    year.show();
    CReportCtrl* table = year.Table();
    int column = 0;
    for (auto _ : state) {
        table->SortByColumn(column, column % 2 == 0);
        column = (column + 1) % table->columnCount();
    }
}
BENCHMARK(BM_SortYearTableByColumn)->Unit(benchmark::kMillisecond);

}  // namespace
