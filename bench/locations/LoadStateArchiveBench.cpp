// Loading a large state archive (3,000 places, more than any state's share of zip codes) into
// the location list, with both entry lists kept sorted as the window's combo boxes keep them.
// The per_record counter is the time per record.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "Archive.h"
#include "EntryOrder.h"
#include "ErrorReporter.h"
#include "File.h"
#include "MemFile.h"
#include "ModulePath.h"
#include "PlaceService.h"
#include "StateArchive.h"
#include "TimeZone.h"
#include "TimeZoneList.h"

namespace {

constexpr int kRecords = 3000;

// Plausible places: names of one to three syllables, sometimes two words, counties from a
// pool of 254, five-digit zip codes in one state's range, central US positions.
std::vector<CTimeZone> MakePlaces() {
    static const char* const kSyllables[] = {
        "San", "ta",  "Ro",  "sa",  "Mc",  "Al",    "len", "Ed", "in",  "burg",
        "Har", "lin", "gen", "Bro", "wns", "ville", "Pa",  "le", "sti", "ne",
        "Cor", "pus", "Ama", "ril", "lo",  "Wa",    "co",  "Ty", "ler", "ton"};
    std::mt19937 rng(1997);
    auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    auto word = [&] {
        std::string w;
        for (int i = 0, n = 1 + pick(3); i < n; ++i) {
            w += kSyllables[pick(30)];
        }
        return w;
    };
    std::vector<std::string> counties;
    for (int i = 0; i < 254; ++i) {
        counties.push_back(word());
    }
    std::vector<CTimeZone> places(kRecords);  // state "TX" and flag "Y" from the defaults
    for (int i = 0; i < kRecords; ++i) {
        CTimeZone& p = places[static_cast<std::size_t>(i)];
        p.m_strCity = word();
        if (pick(4) == 0) {
            p.m_strCity += ' ';
            p.m_strCity += word();
        }
        p.m_strZipCode = std::to_string(75000 + pick(5000));
        p.m_strAreaCode = std::to_string(200 + pick(800));
        int county = pick(254);
        p.m_strCountyCode = std::to_string(2 * county + 1);
        p.m_strCounty = counties[static_cast<std::size_t>(county)];
        p.m_dLatitude = 25.8 + static_cast<double>(rng() % 1000000) / 1000000.0 * 10.7;
        p.m_dLongitude = -106.6 + static_cast<double>(rng() % 1000000) / 1000000.0 * 13.1;
        p.m_nTimeZone = p.m_dLongitude < -104.9 ? 7 : 6;
    }
    return places;
}

std::vector<std::uint8_t> Encode(std::vector<CTimeZone>& places) {
    CMemFile sink;
    CArchive ar(&sink, CArchive::store);
    for (CTimeZone& p : places) {
        p.Serialize(ar);
    }
    ar.Close();
    auto bytes = sink.GetBuffer();
    return {bytes.begin(), bytes.end()};
}

// The texts of one list, stored as they arrive: copied back to back into one buffer, each
// found by its entry number.
class TextStore {
public:
    void Clear() {
        m_chars.clear();
        m_ends.clear();
    }
    void Add(std::string_view text) {
        m_chars.append(text);
        m_ends.push_back(m_chars.size());
    }
    std::size_t Count() const { return m_ends.size(); }
    std::string_view At(std::size_t entry) const {
        const std::size_t start = entry == 0 ? 0 : m_ends[entry - 1];
        return std::string_view(m_chars).substr(start, m_ends[entry] - start);
    }

private:
    std::string m_chars;
    std::vector<std::size_t> m_ends;
};

// The two lists as the window fills its combo boxes: the entries are kept while the archive is
// read, then each list takes its own at once, its texts stored in arrival order and its rows
// sorted in one bulk add.
class SortedSink : public IStateArchiveSink {
public:
    void ResetZipList() override {
        zipTexts.Clear();
        zips.Clear();
        pendingZips.clear();
    }
    void ResetCityList() override {
        cityTexts.Clear();
        cities.Clear();
        pendingCities.clear();
    }
    void AddZipEntry(const std::string& zip) override { pendingZips.push_back(zip); }
    void AddCityEntry(const std::string& city) override { pendingCities.push_back(city); }
    void Flush() {
        Fill(pendingZips, zipTexts, zips);
        Fill(pendingCities, cityTexts, cities);
    }
    TextStore zipTexts;
    TextStore cityTexts;
    CSortedEntryIndex zips;
    CSortedEntryIndex cities;

private:
    static void Fill(std::vector<std::string>& pending, TextStore& texts,
                     CSortedEntryIndex& index) {
        index.AddAll(pending);
        for (const std::string& text : pending) {
            texts.Add(text);
        }
        pending.clear();
    }
    std::vector<std::string> pendingZips;
    std::vector<std::string> pendingCities;
};

class FailingReporter : public IErrorReporter {
public:
    explicit FailingReporter(benchmark::State& state) : m_state(state) {}
    void ReportError(const CException& e) override { m_state.SkipWithError(e.what()); }

private:
    benchmark::State& m_state;
};

void CheckAndCount(benchmark::State& state, const SortedSink& sink) {
    if (g_TimeZoneList.GetCount() != kRecords || sink.cities.GetCount() != kRecords ||
        sink.cityTexts.Count() != kRecords || sink.zipTexts.Count() != kRecords) {
        state.SkipWithError("not every record was loaded");
    }
    state.SetItemsProcessed(state.iterations() * kRecords);
    state.counters["per_record"] = benchmark::Counter(
        kRecords, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// From the file on disk, through the 4 KiB archive buffer, as the window loads it.
void BM_LoadStateArchiveFromFile(benchmark::State& state) {
    auto places = MakePlaces();
    auto bytes = Encode(places);
    std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("daybreak-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    {
        CFile file((dir / StateArchiveFileName("TX")).string(),
                   CFile::modeCreate | CFile::modeWrite);
        file.Write(bytes.data(), bytes.size());
        file.Close();
    }
    SortedSink sink;
    FailingReporter reporter(state);
    for (auto _ : state) {
        g_TimeZoneList.RemoveAll();
        LoadStateArchive("TX", sink, reporter, dir);
        sink.Flush();
    }
    CheckAndCount(state, sink);
    state.counters["file_bytes"] = static_cast<double>(bytes.size());
    g_TimeZoneList.RemoveAll();
    std::filesystem::remove_all(dir);
}
BENCHMARK(BM_LoadStateArchiveFromFile)->Unit(benchmark::kMicrosecond);

// The same bytes from memory: the reader and the list without the file system.
void BM_LoadStateArchiveFromMemory(benchmark::State& state) {
    auto places = MakePlaces();
    auto bytes = Encode(places);
    SortedSink sink;
    FailingReporter reporter(state);
    for (auto _ : state) {
        g_TimeZoneList.RemoveAll();
        CMemFile file(bytes);
        LoadStateArchiveRecords(file, g_TimeZoneList, sink, reporter);
        sink.Flush();
    }
    CheckAndCount(state, sink);
    g_TimeZoneList.RemoveAll();
}
BENCHMARK(BM_LoadStateArchiveFromMemory)->Unit(benchmark::kMicrosecond);

// The code and size of the largest state archive beside the program; "" when there is none.
std::string LargestRealArchive(std::uintmax_t& largest) {
    std::string code;
    largest = 0;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(GetExecutableDirectory(), ec)) {
        const std::string name = entry.path().filename().string();
        const std::string prefix = StateArchiveFileName("");
        if (name.rfind(prefix, 0) == 0 && entry.file_size(ec) > largest) {
            largest = entry.file_size(ec);
            code = name.substr(prefix.size());
        }
    }
    return code;
}

// The largest of the real archives the build packs beside the program, loaded as the window
// loads it; skipped when the archives are not there.
void BM_LoadLargestRealState(benchmark::State& state) {
    const std::filesystem::path dir = GetExecutableDirectory();
    std::uintmax_t largest = 0;
    const std::string code = LargestRealArchive(largest);
    if (code.empty()) {
        state.SkipWithError("no state archive beside the program");
        return;
    }
    SortedSink sink;
    FailingReporter reporter(state);
    for (auto _ : state) {
        g_TimeZoneList.RemoveAll();
        LoadStateArchive(code, sink, reporter, dir);
        sink.Flush();
    }
    state.SetLabel(code);
    state.counters["file_bytes"] = static_cast<double>(largest);
    state.counters["records"] = static_cast<double>(g_TimeZoneList.GetCount());
    g_TimeZoneList.RemoveAll();
}
BENCHMARK(BM_LoadLargestRealState)->Unit(benchmark::kMicrosecond);

// The same through the place service, as the window calls it: each record's zone (from the
// zone file beside the archives) is checked against its offset too.
void BM_LoadLargestRealStateThroughPlaceService(benchmark::State& state) {
    const std::filesystem::path dir = GetExecutableDirectory();
    std::uintmax_t largest = 0;
    const std::string code = LargestRealArchive(largest);
    if (code.empty()) {
        state.SkipWithError("no state archive beside the program");
        return;
    }
    CPlaceService places(dir);
    SortedSink sink;
    FailingReporter reporter(state);
    for (auto _ : state) {
        g_TimeZoneList.RemoveAll();
        places.LoadState(code, g_TimeZoneList, sink, reporter);
        sink.Flush();
    }
    state.SetLabel(code);
    state.counters["records"] = static_cast<double>(g_TimeZoneList.GetCount());
    g_TimeZoneList.RemoveAll();
}
BENCHMARK(BM_LoadLargestRealStateThroughPlaceService)->Unit(benchmark::kMicrosecond);

// Appends with an 8-byte big-endian prefix as a sort key, and sorts both lists once the load is
// done (inside the timed loop): most comparisons end on the integer keys.
class KeyedSortAtEndSink : public IStateArchiveSink {
public:
    using Entry = std::pair<std::uint64_t, std::string>;
    void ResetZipList() override { zips.clear(); }
    void ResetCityList() override { cities.clear(); }
    void AddZipEntry(const std::string& zip) override { zips.emplace_back(Key(zip), zip); }
    void AddCityEntry(const std::string& city) override { cities.emplace_back(Key(city), city); }
    void Finish() {
        std::sort(zips.begin(), zips.end());
        std::sort(cities.begin(), cities.end());
    }
    std::vector<Entry> zips;
    std::vector<Entry> cities;

private:
    static std::uint64_t Key(const std::string& text) {
        std::uint64_t key = 0;
        for (std::size_t i = 0; i < 8; ++i) {
            key = (key << 8) | (i < text.size() ? static_cast<unsigned char>(text[i]) : 0u);
        }
        return key;
    }
};

// Appends, and sorts both lists once the load is done (inside the timed loop).
class SortAtEndSink : public IStateArchiveSink {
public:
    void ResetZipList() override { zips.clear(); }
    void ResetCityList() override { cities.clear(); }
    void AddZipEntry(const std::string& zip) override { zips.push_back(zip); }
    void AddCityEntry(const std::string& city) override { cities.push_back(city); }
    void Finish() {
        std::sort(zips.begin(), zips.end());
        std::sort(cities.begin(), cities.end());
    }
    std::vector<std::string> zips;
    std::vector<std::string> cities;
};

// The reader and the list alone.
class NullSink : public CNullArchiveSink {
public:
    void Finish() {}
};

template <typename Sink>
void BM_LoadFromMemoryWith(benchmark::State& state) {
    auto places = MakePlaces();
    auto bytes = Encode(places);
    Sink sink;
    FailingReporter reporter(state);
    for (auto _ : state) {
        g_TimeZoneList.RemoveAll();
        CMemFile file(bytes);
        LoadStateArchiveRecords(file, g_TimeZoneList, sink, reporter);
        sink.Finish();
    }
    state.counters["per_record"] = benchmark::Counter(
        kRecords, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    g_TimeZoneList.RemoveAll();
}
BENCHMARK_TEMPLATE(BM_LoadFromMemoryWith, SortAtEndSink)->Unit(benchmark::kMicrosecond);
BENCHMARK_TEMPLATE(BM_LoadFromMemoryWith, KeyedSortAtEndSink)->Unit(benchmark::kMicrosecond);
BENCHMARK_TEMPLATE(BM_LoadFromMemoryWith, NullSink)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
