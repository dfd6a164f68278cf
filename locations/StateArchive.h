// Loading a state archive into the location list and the window's zip and city lists.
//
// The order of effects, which the window relies on:
//   1. open "timezone.arc." + code in the directory as a data file (a regular file of at most
//      kMaxStateArchiveBytes, checked before any byte is read); on failure report the
//      CFileException and return, touching neither the list nor the sink;
//   2. sink.ResetZipList(), then sink.ResetCityList();
//   3. for each record, until the data ends: read it; a record whose values no place can have
//      (CheckRecord) is skipped and reported as a CArchiveNote; else insert a copy at the front
//      of the list, sink.AddZipEntry(zip), sink.AddCityEntry(city + " - " + zip);
//   4. the end of the data between records ends the load silently; the end of the data inside
//      a record, or any other CArchiveException, is reported once as a CArchiveNote naming
//      the file, and what was read before it stays.
// The largest real state is about 150 KB; the ceiling leaves room for fifty times that and
// bounds what a load may cost: the list takes at most kLoadBytesPerFileByte bytes of memory
// per byte of the file (the worst case is a file of records whose strings are all empty, 27
// bytes each), about 100 MB at the ceiling. When the executable's directory cannot be found
// the load fails in step 1 too, naming the archive, rather than looking in the current
// directory. The loader never clears the list: the caller empties it first. A CFileException
// raised by a read error of the device, std::bad_alloc and whatever the sink throws are not
// handled here and reach the caller; the file is closed in every case.
//
// Entry texts are Windows-1252 bytes; convert with Windows1252ToUtf8 to show them in a window,
// with Windows1252ToPrintable to print them on a terminal.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

#include "Exception.h"

class CFile;
class CTimeZoneData;
class CTimeZoneList;
class IErrorReporter;

// A problem in an archive's data that the load survives: a record skipped for its values, or
// the data ending or failing inside a record (the records before it are kept). Every other
// failure a loader reports is a CFileException: the archive could not be read at all.
class CArchiveNote : public CMessageException {
public:
    using CMessageException::CMessageException;
};

// Receives the entries of the zip and city lists as the loader makes them.
class IStateArchiveSink {
public:
    virtual ~IStateArchiveSink() = default;
    virtual void ResetZipList() = 0;
    virtual void ResetCityList() = 0;
    virtual void AddZipEntry(const std::string& zipEntry) = 0;
    virtual void AddCityEntry(const std::string& cityEntry) = 0;
};

// Keeps nothing: for loads whose entries are made from the list afterwards.
class CNullArchiveSink : public IStateArchiveSink {
public:
    void ResetZipList() override {}
    void ResetCityList() override {}
    void AddZipEntry(const std::string&) override {}
    void AddCityEntry(const std::string&) override {}
};

inline constexpr std::uint64_t kMaxStateArchiveBytes = 8ull << 20;  // 8 MiB
inline constexpr std::uint64_t kLoadBytesPerFileByte = 12;

// Why no place can have the record's values, or "" when it can: a latitude outside -90..90,
// a longitude outside -180..180 (NaN included), an offset outside -14..14 hours.
std::string CheckRecord(const CTimeZoneData& record);

// A check of a caller's own after CheckRecord (the place service checks the zone): "" passes.
using RecordCheck = std::function<std::string(const CTimeZoneData&)>;
// Takes each record that passed the checks.
using RecordTake = std::function<void(const CTimeZoneData&)>;

// "timezone.arc." followed by the code.
std::string StateArchiveFileName(const std::string& code);

// Loads the archive of `code` from `directory` (default: the executable's directory) into
// g_TimeZoneList. A code containing
// "/" or a zero byte names no archive and fails to open.
void LoadStateArchive(std::string code, IStateArchiveSink& sink, IErrorReporter& reporter,
                      const std::filesystem::path& directory = {});

// The same into any list; an empty `directory` means the executable's directory.
void LoadStateArchive(std::string code, CTimeZoneList& list, IStateArchiveSink& sink,
                      IErrorReporter& reporter, const std::filesystem::path& directory = {},
                      const RecordCheck& check = {});

// Steps 2 to 4 over an open file (a CFile or a CMemFile). The file is left open.
void LoadStateArchiveRecords(CFile& file, CTimeZoneList& list, IStateArchiveSink& sink,
                             IErrorReporter& reporter, const RecordCheck& check = {});

// Step 1 alone: opens the archive of `code` into `file`, or reports why it cannot and returns
// false.
bool OpenStateArchive(const std::string& code, CFile& file, IErrorReporter& reporter,
                      const std::filesystem::path& directory = {});

// Steps 3 and 4 without a list: hands each good record to `take` as it is read, so that a
// search keeps only what it needs. The file is left open.
void ReadStateArchiveRecords(CFile& file, const RecordTake& take, IErrorReporter& reporter,
                             const RecordCheck& check = {});
