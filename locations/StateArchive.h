// Loading a state archive into the location list and the window's zip and city lists.
//
// The order of effects, which the window relies on:
//   1. open "timezone.arc." + code in the directory; on failure report the CFileException
//      and return, touching neither the list nor the sink;
//   2. sink.ResetZipList(), then sink.ResetCityList();
//   3. for each record, until the data ends: read it, insert a copy at the front of the list,
//      sink.AddZipEntry(zip), sink.AddCityEntry(city + " - " + zip);
//   4. the end of the data, between records or inside one, ends the load silently (an
//      incomplete record is dropped); any other CArchiveException is reported and what was
//      read so far stays.
// A file larger than kMaxStateArchiveBytes is refused in step 1, as an open failure, before
// anything is read: the largest real state is about 150 KB, and the list costs at most
// kLoadBytesPerFileByte bytes of memory per byte of the file (the worst case is a file of
// records whose strings are all empty, 27 bytes each), so a load never takes more than
// about 800 MB whatever the file holds. When the executable's directory cannot be found the
// load fails in step 1 too, naming the archive, rather than looking in the current directory.
// The loader never clears the list: the caller empties it first. A CFileException raised by a
// read error of the device, std::bad_alloc and whatever the sink throws are not handled here
// and reach the caller; the file is closed in every case.
//
// Entry texts are Windows-1252 bytes; convert with Windows1252ToUtf8 to show them in a window,
// with Windows1252ToPrintable to print them on a terminal.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

class CFile;
class CTimeZoneList;
class IErrorReporter;

// Receives the entries of the zip and city lists as the loader makes them.
class IStateArchiveSink {
public:
    virtual ~IStateArchiveSink() = default;
    virtual void ResetZipList() = 0;
    virtual void ResetCityList() = 0;
    virtual void AddZipEntry(const std::string& zipEntry) = 0;
    virtual void AddCityEntry(const std::string& cityEntry) = 0;
};

inline constexpr std::uint64_t kMaxStateArchiveBytes = 64ull << 20;  // 64 MiB
inline constexpr std::uint64_t kLoadBytesPerFileByte = 12;

// "timezone.arc." followed by the code.
std::string StateArchiveFileName(const std::string& code);

// Loads the archive of `code` from `directory` (default: the executable's directory) into
// g_TimeZoneList. A code containing
// "/" or a zero byte names no archive and fails to open.
void LoadStateArchive(std::string code, IStateArchiveSink& sink, IErrorReporter& reporter,
                      const std::filesystem::path& directory = {});

// The same into any list; an empty `directory` means the executable's directory.
void LoadStateArchive(std::string code, CTimeZoneList& list, IStateArchiveSink& sink,
                      IErrorReporter& reporter, const std::filesystem::path& directory = {});

// Steps 2 to 4 over an open file (a CFile or a CMemFile). The file is left open.
void LoadStateArchiveRecords(CFile& file, CTimeZoneList& list, IStateArchiveSink& sink,
                             IErrorReporter& reporter);
