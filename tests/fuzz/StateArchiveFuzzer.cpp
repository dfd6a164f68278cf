// Feeds arbitrary bytes to the archive reader and to the whole state-archive loading loop, and
// checks what must hold for every input:
//  - reading records one by one stops with the end-of-data failure and nothing else;
//  - a record read back, written and read again gives the same fields; a record without wide
//    strings is written back to exactly the bytes it was read from;
//  - the loader resets both lists first, adds one zip and one city entry per record it lists,
//    lists exactly the complete records whose values a place can have (last one first), and
//    reports one note per record it skips and one for a cut end, nothing else;
//  - the lookups return records that match;
//  - the dump sees the same records and says whether a cut-off one follows;
//  - the text printed for any string holds no control character (C0, DEL, C1).
// Crashes, sanitizer reports and allocations beyond the fuzzer's limit are findings too.

#include <bit>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "Archive.h"
#include "ArchiveDump.h"
#include "ErrorReporter.h"
#include "Exception.h"
#include "MemFile.h"
#include "StateArchive.h"
#include "TimeZone.h"
#include "TimeZoneList.h"
#include "Windows1252.h"

namespace {

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
}

void Check(bool condition, const char* what) {
    if (!condition) {
        Fail(what);
    }
}

bool SameFields(const CTimeZoneData& a, const CTimeZoneData& b) {
    return a.m_strCity == b.m_strCity && a.m_strState == b.m_strState &&
           a.m_strZipCode == b.m_strZipCode && a.m_strAreaCode == b.m_strAreaCode &&
           a.m_strCountyCode == b.m_strCountyCode && a.m_strCounty == b.m_strCounty &&
           a.m_strDST == b.m_strDST &&
           std::bit_cast<std::uint64_t>(a.m_dLatitude) ==
               std::bit_cast<std::uint64_t>(b.m_dLatitude) &&
           std::bit_cast<std::uint64_t>(a.m_dLongitude) ==
               std::bit_cast<std::uint64_t>(b.m_dLongitude) &&
           a.m_nTimeZone == b.m_nTimeZone;
}

std::vector<std::uint8_t> Encode(CTimeZone record) {
    CMemFile sink;
    CArchive ar(&sink, CArchive::store);
    record.Serialize(ar);
    ar.Close();
    auto bytes = sink.GetBuffer();
    return {bytes.begin(), bytes.end()};
}

class CountingSink : public IStateArchiveSink {
public:
    void ResetZipList() override {
        Check(events == 0, "zip list reset first");
        ++events;
    }
    void ResetCityList() override {
        Check(events == 1, "city list reset second");
        ++events;
    }
    void AddZipEntry(const std::string& zip) override {
        Check(events >= 2 && zips == cities, "zip entry before its city entry");
        zipEntries.push_back(zip);
        ++zips;
    }
    void AddCityEntry(const std::string& city) override {
        Check(zips == cities + 1, "city entry after its zip entry");
        cityEntries.push_back(city);
        ++cities;
    }
    int events = 0;
    std::size_t zips = 0;
    std::size_t cities = 0;
    std::vector<std::string> zipEntries;
    std::vector<std::string> cityEntries;
};

class CountingReporter : public IErrorReporter {
public:
    void ReportError(const CException& error) override {
        Check(dynamic_cast<const CArchiveNote*>(&error) != nullptr,
              "a load from memory reports notes only");
        ++count;
    }
    std::size_t count = 0;
};

// No byte below 0x20, no DEL, and no C1 control in its UTF-8 form (C2 80 to C2 9F).
void CheckPrintable(const std::string& text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        Check(byte >= 0x20 && byte != 0x7F, "printed text holds no C0 control or DEL");
        if (byte == 0xC2 && i + 1 < text.size()) {
            const auto next = static_cast<unsigned char>(text[i + 1]);
            Check(next < 0x80 || next > 0x9F, "printed text holds no C1 control");
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The record reader alone.
    std::vector<CTimeZoneData> records;
    std::vector<std::uint64_t> starts;
    std::uint64_t lastEnd = 0;  // where the last complete record ends
    CMemFile source(data, size);
    CArchive ar(&source, CArchive::load);
    for (;;) {
        std::uint64_t start = size - ar.GetBytesRemaining();
        CTimeZone record;
        try {
            record.Serialize(ar);
        } catch (const CArchiveException& e) {
            Check(e.m_cause == CArchiveException::endOfFile, "only the end of data stops a read");
            break;
        }
        std::uint64_t end = size - ar.GetBytesRemaining();
        Check(end > start && end <= size, "a record consumes bytes within the input");
        starts.push_back(start);
        lastEnd = end;

        std::vector<std::uint8_t> written = Encode(record);
        CMemFile again(written);
        CArchive reread(&again, CArchive::load);
        CTimeZone copy;
        copy.Serialize(reread);
        Check(reread.IsAtEnd(), "a written record reads back whole");
        Check(SameFields(CTimeZoneData(copy), CTimeZoneData(record)), "fields survive writing");
        Check(written.size() <= end - start, "writing never grows a record");
        if (written.size() == end - start) {
            Check(std::equal(written.begin(), written.end(), data + start),
                  "a narrow record is written back to its own bytes");
        }
        for (const std::string* field : {&record.m_strCity, &record.m_strCounty}) {
            CheckPrintable(Windows1252ToPrintable(*field));
            CheckPrintable(Windows1252ToPrintable(*field, EscapeStyle::Field));
        }
        records.emplace_back(record);
    }

    // The loading loop over the same bytes: the records a place can have, each other one noted.
    std::vector<CTimeZoneData> kept;
    for (const CTimeZoneData& record : records) {
        if (CheckRecord(record).empty()) {
            kept.push_back(record);
        }
    }
    CTimeZoneList list;
    CountingSink sink;
    CountingReporter reporter;
    CMemFile file(data, size);
    LoadStateArchiveRecords(file, list, sink, reporter);
    const bool cut = lastEnd < size;
    Check(sink.events == 2, "both lists reset once");
    Check(list.GetCount() == kept.size() && sink.zips == kept.size() && sink.cities == kept.size(),
          "one list element and two entries per record kept");
    std::size_t i = kept.size();
    for (const CTimeZoneData& element : list) {
        --i;
        Check(SameFields(element, kept[i]), "the list runs in reverse file order");
        Check(sink.zipEntries[i] == element.m_strZipCode, "zip entry is the zip code");
        Check(sink.cityEntries[i] == element.CityEntry(), "city entry is city - zip");
    }
    if (!kept.empty()) {
        const CTimeZoneData& last = kept.back();
        auto byZip = list.FindByZip(last.m_strZipCode);
        Check(byZip && byZip->m_strZipCode == last.m_strZipCode, "zip lookup finds a match");
        std::size_t first = 0;
        while (kept[first].m_strZipCode != last.m_strZipCode) {
            ++first;
        }
        Check(SameFields(*byZip, kept[first]), "zip lookup yields the first in the file");
        auto byCity = list.FindByCityEntry(last.CityEntry());
        Check(byCity && byCity->CityEntry() == last.CityEntry(), "city lookup finds a match");
    }

    // The dump over the same bytes.
    CMemFile dumpFile(data, size);
    std::ostringstream out;
    ArchiveDumpResult dumped = DumpArchive(dumpFile, out);
    Check(dumped.records == records.size(), "the dump sees the same records");
    std::uint64_t consumed = size;
    if (dumped.truncatedAt) {
        consumed = *dumped.truncatedAt;
        Check(consumed + dumped.truncatedBytes == size, "the cut record runs to the end");
    }
    Check(records.empty() || starts.back() < consumed, "records lie before the cut");
    Check(dumped.truncatedAt.has_value() == cut, "the loader and the dump agree on a cut");
    Check(reporter.count == records.size() - kept.size() + (cut ? 1u : 0u),
          "one note per skipped record and one for a cut end");
    return 0;
}
