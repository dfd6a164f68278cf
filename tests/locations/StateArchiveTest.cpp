#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "ArchiveBuilder.h"
#include "ArchiveException.h"
#include "Collectors.h"
#include "ErrorReporter.h"
#include "Exception.h"
#include "MemFile.h"
#include "ModulePath.h"
#include "StateArchive.h"
#include "TempDir.h"
#include "TimeZoneList.h"

namespace {

// Every call the loader makes on the window's lists, in order.
class RecordingSink : public IStateArchiveSink {
public:
    void ResetZipList() override { events.push_back("reset zip"); }
    void ResetCityList() override { events.push_back("reset city"); }
    void AddZipEntry(const std::string& zip) override { events.push_back("zip " + zip); }
    void AddCityEntry(const std::string& city) override { events.push_back("city " + city); }
    std::vector<std::string> events;
};

std::vector<std::string> Cities(const CTimeZoneList& list) {
    std::vector<std::string> cities;
    for (const CTimeZoneData& record : list) {
        cities.push_back(record.m_strCity);
    }
    return cities;
}

class StateArchiveTest : public ::testing::Test {
protected:
    void Load(const std::string& code) { LoadStateArchive(code, list, sink, reporter, dir.path()); }
    void Put(const std::string& code, const Bytes& bytes) {
        WriteFile(dir.path() / ("timezone.arc." + code), bytes);
    }

    TempDir dir;
    CTimeZoneList list;
    RecordingSink sink;
    CollectingReporter reporter;
};

using Events = std::vector<std::string>;

}  // namespace

TEST_F(StateArchiveTest, RecordsListedInReverseAndLookupsYieldFirstInFile) {
    CTimeZone r1 = MakeRecord("Mission", "78572", "Hidalgo");
    CTimeZone r2 = MakeRecord("Alamo", "78516", "Hidalgo");
    CTimeZone r3 = MakeRecord("Palmview", "78572", "Starr");
    Put("TX", Encode({r1, r2, r3}));
    Load("TX");
    EXPECT_TRUE(reporter.messages.empty());
    EXPECT_EQ(Cities(list), (std::vector<std::string>{"Palmview", "Alamo", "Mission"}));
    EXPECT_EQ(sink.events,
              (Events{"reset zip", "reset city", "zip 78572", "city Mission - 78572", "zip 78516",
                      "city Alamo - 78516", "zip 78572", "city Palmview - 78572"}));
    auto byZip = list.FindByZip("78572");
    ASSERT_TRUE(byZip);
    EXPECT_EQ(byZip->m_strCounty, "Hidalgo");  // R1, not R3
    auto byCity = list.FindByCityEntry("Palmview - 78572");
    ASSERT_TRUE(byCity);
    EXPECT_EQ(byCity->m_strCounty, "Starr");

    // Exact, case-sensitive, whole-string matches only.
    for (const char* zip : {"78572 ", " 78572", "7857", ""}) {
        EXPECT_FALSE(list.FindByZip(zip)) << zip;
    }
    for (const char* city : {"mission - 78572", "Mission - 78572 ", "Mission-78572", "Mission",
                             "Mission - ", "Mission -  78572"}) {
        EXPECT_FALSE(list.FindByCityEntry(city)) << city;
    }
}

TEST_F(StateArchiveTest, EqualEntriesAreKeptTwiceAndTheFirstInFileWins) {
    CTimeZone first = MakeRecord("McAllen", "78501", "Hidalgo", 6);
    CTimeZone second = MakeRecord("McAllen", "78501", "Other", 7);
    Put("TX", Encode({first, second}));
    Load("TX");
    EXPECT_EQ(sink.events, (Events{"reset zip", "reset city", "zip 78501", "city McAllen - 78501",
                                   "zip 78501", "city McAllen - 78501"}));
    EXPECT_EQ(list.GetCount(), 2u);
    EXPECT_EQ(list.FindByCityEntry("McAllen - 78501")->m_nTimeZone, 6);
    EXPECT_EQ(list.FindByZip("78501")->m_strCounty, "Hidalgo");
}

TEST_F(StateArchiveTest, MissingOrUnnamableFileReportsOnceAndTouchesNothing) {
    const std::string missing = (dir.path() / "timezone.arc.ZZ").string();
    struct Row {
        std::string code;
        std::string message;
    };
    const Row rows[] = {
        {"ZZ", "Cannot open file " + missing + ": No such file or directory"},
        {"sub/TX", ""},
        {std::string("TX\0", 3), ""},
    };
    // Files that those codes would reach if they were taken as paths.
    Put("TX", Encode({CTimeZone()}));
    std::filesystem::create_directory(dir.path() / "timezone.arc.sub");
    WriteFile(dir.path() / "timezone.arc.sub" / "TX", Encode({CTimeZone()}));
    for (const Row& row : rows) {
        SCOPED_TRACE(row.code);
        reporter.messages.clear();
        Load(row.code);
        ASSERT_EQ(reporter.messages.size(), 1u);
        if (!row.message.empty()) {
            EXPECT_EQ(reporter.messages[0], row.message);
        }
        EXPECT_TRUE(sink.events.empty());
        EXPECT_TRUE(list.IsEmpty());
    }
}

TEST_F(StateArchiveTest, EmptyOrCutFilesEndSilently) {
    Put("EM", {});
    Load("EM");
    EXPECT_EQ(sink.events, (Events{"reset zip", "reset city"}));
    EXPECT_TRUE(list.IsEmpty());

    Bytes bytes = Encode({MakeRecord("A", "1"), MakeRecord("B", "2"), MakeRecord("C", "3")});
    for (std::size_t cut : {std::size_t{1}, std::size_t{20}, bytes.size() / 3 - 1}) {
        SCOPED_TRACE(cut);
        list.RemoveAll();
        Put("CT", Bytes(bytes.begin(), bytes.end() - static_cast<std::ptrdiff_t>(cut)));
        Load("CT");
        EXPECT_EQ(Cities(list), (std::vector<std::string>{"B", "A"}));
    }
    EXPECT_TRUE(reporter.messages.empty());
}

TEST_F(StateArchiveTest, ArchiveThatIsNotARegularFileLoadsNothingAndNeverWaits) {
    // A FIFO with no writer, and a device that never ends.
    ASSERT_EQ(::mkfifo((dir.path() / "timezone.arc.FI").c_str(), 0600), 0);
    std::filesystem::create_symlink("/dev/zero", dir.path() / "timezone.arc.ZE");
    for (const char* code : {"FI", "ZE"}) {
        SCOPED_TRACE(code);
        sink.events.clear();
        Load(code);
        EXPECT_EQ(sink.events, (Events{"reset zip", "reset city"}));
        EXPECT_TRUE(list.IsEmpty());
    }
    EXPECT_TRUE(reporter.messages.empty());
}

TEST_F(StateArchiveTest, SecondStateAfterClearingHoldsOnlyItsOwnRecords) {
    Put("AA", Encode({MakeRecord("One", "1"), MakeRecord("Two", "2")}));
    Put("BB", Encode({MakeRecord("Three", "3")}));
    Load("AA");
    list.RemoveAll();
    sink.events.clear();
    Load("BB");
    EXPECT_EQ(Cities(list), (std::vector<std::string>{"Three"}));
    EXPECT_EQ(sink.events, (Events{"reset zip", "reset city", "zip 3", "city Three - 3"}));
    // The loader itself adds to what the list holds.
    Load("BB");
    EXPECT_EQ(list.GetCount(), 2u);
}

namespace {

// A file whose device fails with an archive error once its first `good` bytes are read.
class FailingFile : public CMemFile {
public:
    FailingFile(const Bytes& bytes, std::size_t good) : CMemFile(bytes, "bad.arc"), m_good(good) {}
    std::size_t Read(void* buffer, std::size_t count) override {
        if (GetPosition() >= m_good) {
            throw CArchiveException(CArchiveException::badIndex, "bad.arc");
        }
        return CMemFile::Read(buffer, std::min(count, m_good - GetPosition()));
    }

private:
    std::size_t m_good;
};

}  // namespace

TEST_F(StateArchiveTest, OtherArchiveErrorIsReportedAndKeepsWhatWasRead) {
    std::vector<CTimeZone> records;
    for (int i = 0; i < 200; ++i) {
        records.push_back(MakeRecord("City" + std::to_string(i), std::to_string(10000 + i)));
    }
    Bytes bytes = Encode(records);
    FailingFile file(bytes, 4096);
    LoadStateArchiveRecords(file, list, sink, reporter);
    ASSERT_EQ(reporter.messages,
              (std::vector<std::string>{"Invalid data format in archive bad.arc."}));
    std::size_t complete = 0;
    for (std::size_t used = 0; used + Encode({records[complete]}).size() <= 4096;) {
        used += Encode({records[complete++]}).size();
    }
    EXPECT_EQ(list.GetCount(), complete);  // the record astride the failure is dropped
    EXPECT_EQ(sink.events.size(), 2 + 2 * complete);
    EXPECT_EQ(list.begin()->m_strCity, "City" + std::to_string(complete - 1));
}

TEST(StateArchive, DefaultDirectoryIsTheExecutables) {
    std::filesystem::path path = GetExecutableDirectory() / "timezone.arc.QQ";
    WriteFile(path, Encode({MakeRecord("Beside", "99999")}));
    RecordingSink sink;
    CollectingReporter reporter;
    g_TimeZoneList.RemoveAll();
    LoadStateArchive("QQ", sink, reporter);
    std::filesystem::remove(path);
    EXPECT_TRUE(reporter.messages.empty());
    ASSERT_EQ(g_TimeZoneList.GetCount(), 1u);
    EXPECT_EQ(g_TimeZoneList.begin()->m_strCity, "Beside");
    g_TimeZoneList.RemoveAll();
    EXPECT_TRUE(g_TimeZoneList.IsEmpty());
}

// Far more records than any state has: the list's node pool goes on past its largest slab size.
TEST_F(StateArchiveTest, HugeArchiveOfEmptyRecordsLoadsCompletely) {
    constexpr std::size_t kRecords = 300000;
    WriteEmptyRecords(dir.path() / "timezone.arc.TX", kRecords);
    CountingSink counting;
    LoadStateArchive("TX", list, counting, reporter, dir.path());
    EXPECT_TRUE(reporter.messages.empty());
    EXPECT_EQ(list.GetCount(), kRecords);
    EXPECT_EQ(counting.zips, kRecords);
    EXPECT_EQ(counting.cities, kRecords);
    EXPECT_EQ(list.begin()->m_strCity, "");
    EXPECT_EQ(list.begin()->m_nTimeZone, 0);
}

TEST_F(StateArchiveTest, FileLargerThanTheCeilingIsRefusedBeforeReading) {
    const std::filesystem::path path = dir.path() / "timezone.arc.TX";
    WriteFile(path, {});
    std::filesystem::resize_file(path, kMaxStateArchiveBytes + 1);  // sparse: no disk used
    Load("TX");
    EXPECT_EQ(reporter.messages,
              (std::vector<std::string>{"Cannot read file " + path.string() +
                                        ": larger than a state archive can be (64 MiB)"}));
    EXPECT_TRUE(sink.events.empty());
    EXPECT_TRUE(list.IsEmpty());

    reporter.messages.clear();
    std::filesystem::resize_file(path, kMaxStateArchiveBytes);  // the ceiling itself is read
    Load("TX");
    EXPECT_TRUE(reporter.messages.empty());
    EXPECT_EQ(list.GetCount(), kMaxStateArchiveBytes / 27);
}

// What a load may cost: a child process whose address space may grow by no more than
// kLoadBytesPerFileByte times the file loads a 50 MB archive of the smallest records.
TEST_F(StateArchiveTest, LoadStaysWithinItsMemoryCeiling) {
    if (kAddressSanitizer) {
        GTEST_SKIP() << "the sanitizer's shadow memory defeats an address-space limit";
    }
    constexpr std::size_t kRecords = 50'000'000 / 27;
    WriteEmptyRecords(dir.path() / "timezone.arc.TX", kRecords);
    const std::uint64_t fileBytes = kRecords * 27;
    auto loadUnderLimit = [&] {
        long pages = 0;
        std::ifstream("/proc/self/statm") >> pages;
        const std::uint64_t now =
            static_cast<std::uint64_t>(pages) * static_cast<std::uint64_t>(::sysconf(_SC_PAGESIZE));
        // 32 MiB for the allocator's own arenas and the reader's buffer.
        rlimit limit{};
        limit.rlim_cur = now + kLoadBytesPerFileByte * fileBytes + (32u << 20);
        limit.rlim_max = RLIM_INFINITY;
        ::setrlimit(RLIMIT_AS, &limit);
        CountingSink counting;
        LoadStateArchive("TX", list, counting, reporter, dir.path());
        std::_Exit(list.GetCount() == kRecords && reporter.messages.empty() ? 0 : 1);
    };
    EXPECT_EXIT(loadUnderLimit(), ::testing::ExitedWithCode(0), "");
}
