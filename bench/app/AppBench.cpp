// The main window under the offscreen platform: choosing the largest shipped state until its
// zip and city lists are filled, split into reading the archive and filling the lists; the
// first Find Place; and a cold start of a fresh process up to the window shown.
//
// The archives are those beside this executable (the build's bin directory); without them the
// state benchmarks are skipped.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "DaybreakView.h"
#include "ErrorReporter.h"
#include "Exception.h"
#include "FindPlaceDlg.h"
#include "ModulePath.h"
#include "PlaceService.h"
#include "ProcessBench.h"
#include "Resource.h"
#include "SortedComboBox.h"
#include "StateArchive.h"
#include "TimeZoneList.h"

extern char** environ;

namespace fs = std::filesystem;

namespace {

constexpr const char* kColdStartChild = "--cold-start-child";

struct LargestState {
    std::string name;
    std::string code;
};

// Texas or California, whichever archive is larger.
std::optional<LargestState> FindLargestState() {
    const fs::path dir = GetExecutableDirectory();
    std::error_code error;
    const auto tx = fs::file_size(dir / "timezone.arc.TX", error);
    const bool haveTx = !error;
    const auto ca = fs::file_size(dir / "timezone.arc.CA", error);
    const bool haveCa = !error;
    if (!haveTx && !haveCa) {
        return std::nullopt;
    }
    if (haveCa && (!haveTx || ca > tx)) {
        return LargestState{"California", "CA"};
    }
    return LargestState{"Texas", "TX"};
}

class QuietReporter : public IErrorReporter {
public:
    void ReportError(const CException&) override { ++errors; }
    int errors = 0;
};

class CollectingSink : public IStateArchiveSink {
public:
    void ResetZipList() override { zips.clear(); }
    void ResetCityList() override { cities.clear(); }
    void AddZipEntry(const std::string& entry) override { zips.push_back(entry); }
    void AddCityEntry(const std::string& entry) override { cities.push_back(entry); }
    std::vector<std::string> zips;
    std::vector<std::string> cities;
};

// The whole state choice as the user makes it, up to both lists filled.
void BM_ChooseLargestState(benchmark::State& state) {
    const auto largest = FindLargestState();
    if (!largest) {
        state.SkipWithError("no shipped archive of Texas or California beside the benchmark");
        return;
    }
    CDaybreakView view;
    view.show();
    auto* states = qobject_cast<QComboBox*>(view.Item(IDC_STATE_COMBO));
    const int index = states->findText(QString::fromStdString(largest->name));
    for (auto _ : state) {
        states->setCurrentIndex(index);
        emit states->activated(index);
    }
    const auto* zips = qobject_cast<QComboBox*>(view.Item(IDC_ZIP_COMBO));
    state.SetLabel(largest->code + ", " + std::to_string(zips->count()) + " records");
    state.counters["records"] = zips->count();
}
BENCHMARK(BM_ChooseLargestState)->Unit(benchmark::kMillisecond);

// The archive alone: open, read every record into the location list, make the entry texts.
void BM_ReadLargestArchive(benchmark::State& state) {
    const auto largest = FindLargestState();
    if (!largest) {
        state.SkipWithError("no shipped archive of Texas or California beside the benchmark");
        return;
    }
    QuietReporter reporter;
    CollectingSink sink;
    for (auto _ : state) {
        g_TimeZoneList.RemoveAll();
        LoadStateArchive(largest->code, sink, reporter);
        benchmark::DoNotOptimize(sink.zips.data());
    }
    state.counters["records"] = static_cast<double>(g_TimeZoneList.GetCount());
    g_TimeZoneList.RemoveAll();
}
BENCHMARK(BM_ReadLargestArchive)->Unit(benchmark::kMillisecond);

// The two lists alone: empty them and fill each whole, as the window does after a load.
void BM_FillListsOfLargestState(benchmark::State& state) {
    const auto largest = FindLargestState();
    if (!largest) {
        state.SkipWithError("no shipped archive of Texas or California beside the benchmark");
        return;
    }
    QuietReporter reporter;
    CollectingSink sink;
    LoadStateArchive(largest->code, sink, reporter);
    g_TimeZoneList.RemoveAll();
    CSortedComboBox zipCombo;
    CSortedComboBox cityCombo;
    zipCombo.show();
    cityCombo.show();
    for (auto _ : state) {
        zipCombo.ResetContent();
        cityCombo.ResetContent();
        zipCombo.AddStrings(sink.zips);
        cityCombo.AddStrings(sink.cities);
    }
    state.counters["records"] = static_cast<double>(sink.zips.size());
}
BENCHMARK(BM_FillListsOfLargestState)->Unit(benchmark::kMillisecond);

// The window's first Find Place: a fresh place service, the dialog opened and "paris" typed
// until its rows are shown; "memory" is what the process holds more afterwards (the first run).
void BM_FirstFindPlaceInWindow(benchmark::State& state) {
    if (!FindLargestState()) {
        state.SkipWithError("no state archives beside the program");
        return;
    }
    const auto resident = [] {
        std::ifstream statm("/proc/self/statm");
        double pages = 0;
        double held = 0;
        statm >> pages >> held;
        return held * 4096.0;
    };
    {
        // Qt's own first-dialog costs (fonts, style) are not the search's.
        CPlaceService none(fs::path("/nonexistent"));
        CFindPlaceDlg warm(none);
    }
    double grown = -1;
    for (auto _ : state) {
        const double before = resident();
        CPlaceService places;
        CFindPlaceDlg find(places);
        find.SearchField()->setText(QStringLiteral("paris"));
        benchmark::DoNotOptimize(find.Matches()->count());
        if (grown < 0) {
            grown = resident() - before;
        }
    }
    state.counters["memory_MB"] = grown / (1024.0 * 1024.0);
}
BENCHMARK(BM_FirstFindPlaceInWindow)->Unit(benchmark::kMillisecond);

// A fresh process of this program that builds the main window, shows it and ends as soon as
// the window is on the (offscreen) screen.
int RunColdStartChild(int argc, char** argv) {
    QApplication app(argc, argv);
    CDaybreakView view;
    view.show();
    return QTest::qWaitForWindowExposed(&view) ? 0 : 1;
}

void BM_ColdStartToWindowShown(benchmark::State& state) {
    const std::string self = (GetExecutableDirectory() / "daybreak_bench_app").string();
    const char* const argv[] = {self.c_str(), kColdStartChild, nullptr};
    RunProcessBenchmark(state, argv);
}
BENCHMARK(BM_ColdStartToWindowShown)->Unit(benchmark::kMillisecond)->Iterations(20);

}  // namespace

int main(int argc, char** argv) {
    // Widgets without a display, here and in the child processes.
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    if (argc == 2 && std::strcmp(argv[1], kColdStartChild) == 0) {
        return RunColdStartChild(argc, argv);
    }
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
