#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <limits>
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

TEST_F(StateArchiveTest, CutFileKeepsTheWholeRecordsAndSaysSoOnce) {
    Put("EM", {});
    Load("EM");
    EXPECT_EQ(sink.events, (Events{"reset zip", "reset city"}));
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_TRUE(reporter.messages.empty());

    Bytes bytes = Encode({MakeRecord("A", "1"), MakeRecord("B", "2"), MakeRecord("C", "3")});
    const std::string path = (dir.path() / "timezone.arc.CT").string();
    for (std::size_t cut : {std::size_t{1}, std::size_t{20}, bytes.size() / 3 - 1}) {
        SCOPED_TRACE(cut);
        list.RemoveAll();
        reporter.messages.clear();
        Put("CT", Bytes(bytes.begin(), bytes.end() - static_cast<std::ptrdiff_t>(cut)));
        Load("CT");
        EXPECT_EQ(Cities(list), (std::vector<std::string>{"B", "A"}));
        EXPECT_EQ(reporter.messages,
                  (std::vector<std::string>{path + " is cut off inside record 3 (at byte " +
                                            std::to_string(2 * bytes.size() / 3) +
                                            "): the 2 records before it are kept."}));
    }
}

// A FIFO with no writer, a device that never ends and a directory: each is refused by name
// before anything is read, and the load never waits.
TEST_F(StateArchiveTest, ArchiveThatIsNotARegularFileIsRefusedAndNeverWaits) {
    ASSERT_EQ(::mkfifo((dir.path() / "timezone.arc.FI").c_str(), 0600), 0);
    std::filesystem::create_symlink("/dev/zero", dir.path() / "timezone.arc.ZE");
    std::filesystem::create_directory(dir.path() / "timezone.arc.DI");
    for (const char* code : {"FI", "ZE", "DI"}) {
        SCOPED_TRACE(code);
        reporter.messages.clear();
        Load(code);
        EXPECT_TRUE(sink.events.empty());
        EXPECT_TRUE(list.IsEmpty());
        const std::string path = (dir.path() / ("timezone.arc." + std::string(code))).string();
        EXPECT_EQ(reporter.messages,
                  (std::vector<std::string>{
                      "Cannot open file " + path +
                      (code[0] == 'D' ? ": Is a directory" : ": not a regular file")}));
    }
}

// Values no place can have are skipped one by one, each named; the records around them load.
TEST_F(StateArchiveTest, RecordsOutOfRangeAreSkippedWithANoteEach) {
    std::vector<CTimeZone> records(7, MakeRecord("Good", "1"));
    records[1].m_dLatitude = 91;
    records[2].m_dLongitude = -181;
    records[3].m_nTimeZone = 1000;
    records[4].m_dLatitude = std::numeric_limits<double>::quiet_NaN();
    records[5].m_nTimeZone = -15;
    records[6].m_strZipCode = "2";
    records[6].m_nTimeZone = -14;  // the edges are places
    records[6].m_dLatitude = -90;
    records[6].m_dLongitude = 180;
    Put("RG", Encode(records));
    Load("RG");
    const std::string path = (dir.path() / "timezone.arc.RG").string();
    EXPECT_EQ(reporter.messages,
              (std::vector<std::string>{
                  path + ": record 2 (zip 1) skipped: latitude 91 is outside -90..90",
                  path + ": record 3 (zip 1) skipped: longitude -181 is outside -180..180",
                  path + ": record 4 (zip 1) skipped: offset 1000 is outside -14..14 hours",
                  path + ": record 5 (zip 1) skipped: latitude nan is outside -90..90",
                  path + ": record 6 (zip 1) skipped: offset -15 is outside -14..14 hours"}));
    ASSERT_EQ(list.GetCount(), 2u);
    EXPECT_EQ(list.begin()->m_strZipCode, "2");
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
    std::size_t complete = 0;
    std::size_t used = 0;
    while (used + Encode({records[complete]}).size() <= 4096) {
        used += Encode({records[complete++]}).size();
    }
    ASSERT_EQ(reporter.messages,
              (std::vector<std::string>{
                  "Invalid data format in archive bad.arc. The data fails "
                  "inside record " +
                  std::to_string(complete + 1) + " (at byte " + std::to_string(used) + "): the " +
                  std::to_string(complete) + " records before it are kept."}));
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
                                        ": larger than a state archive can be (8 MiB)"}));
    EXPECT_TRUE(sink.events.empty());
    EXPECT_TRUE(list.IsEmpty());

    reporter.messages.clear();
    std::filesystem::resize_file(path, kMaxStateArchiveBytes);  // the ceiling itself is read
    Load("TX");
    EXPECT_EQ(reporter.messages.size(), 1u);  // 27 does not divide it: the last record is cut
    EXPECT_EQ(list.GetCount(), kMaxStateArchiveBytes / 27);
}

// What a load may cost: in a child process whose address space may grow by kLoadPeakBytes, an
// archive at the ceiling made of the smallest records loads whole, and so does a search.
TEST_F(StateArchiveTest, LoadOfTheWorstArchiveStaysUnderItsPeak) {
    if (kAddressSanitizer) {
        GTEST_SKIP() << "the sanitizer's shadow memory defeats an address-space limit";
    }
    WriteEmptyRecords(dir.path() / "timezone.arc.TX", WorstShapeRecords());
    const auto load = [&] {
        // The entries kept as the window keeps them until its lists take them.
        std::vector<std::string> zips, cities;
        class : public IStateArchiveSink {
        public:
            void ResetZipList() override {}
            void ResetCityList() override {}
            void AddZipEntry(const std::string& zip) override { zips->push_back(zip); }
            void AddCityEntry(const std::string& city) override { cities->push_back(city); }
            std::vector<std::string>* zips = nullptr;
            std::vector<std::string>* cities = nullptr;
        } keeping;
        keeping.zips = &zips;
        keeping.cities = &cities;
        LoadStateArchive("TX", list, keeping, reporter, dir.path());
        return list.GetCount() == WorstShapeRecords() && cities.size() == WorstShapeRecords() &&
               reporter.messages.empty();
    };
    EXPECT_EXIT(ExitAfterRunningWithin(kLoadPeakBytes, load), ::testing::ExitedWithCode(0), "");
}
