#include "StateArchive.h"

#include "Archive.h"
#include "ErrorReporter.h"
#include "File.h"
#include "ModulePath.h"
#include "NumberText.h"
#include "TimeZone.h"
#include "TimeZoneData.h"
#include "TimeZoneList.h"
#include "Windows1252.h"

namespace {

// Every record read passes through here on its way into the list. It lives from the first
// load to the end of the program and holds the last record read.
CTimeZoneData& StagingRecord() {
    static CTimeZoneData staging;
    return staging;
}

std::string ArchiveName(const CFile& file) {
    return file.GetFilePath().empty() ? std::string("the archive") : file.GetFilePath();
}

std::string RecordsKept(std::size_t kept) {
    return std::to_string(kept) + (kept == 1 ? " record" : " records") + " before it " +
           (kept == 1 ? "is" : "are") + " kept";
}

}  // namespace

std::string StateArchiveFileName(const std::string& code) {
    return "timezone.arc." + code;
}

std::string CheckRecord(const CTimeZoneData& record) {
    // Written so that NaN fails every comparison and so every check.
    const auto outside = [](const char* what, const std::string& value, const char* range) {
        return std::string(what) + " " + value + " is outside " + range;
    };
    if (!(record.m_dLatitude >= -90.0 && record.m_dLatitude <= 90.0)) {
        return outside("latitude", daybreak::FormatDoubleText(record.m_dLatitude), "-90..90");
    }
    if (!(record.m_dLongitude >= -180.0 && record.m_dLongitude <= 180.0)) {
        return outside("longitude", daybreak::FormatDoubleText(record.m_dLongitude), "-180..180");
    }
    if (record.m_nTimeZone < -14 || record.m_nTimeZone > 14) {
        return outside("offset", std::to_string(record.m_nTimeZone), "-14..14 hours");
    }
    return {};
}

void LoadStateArchive(std::string code, IStateArchiveSink& sink, IErrorReporter& reporter,
                      const std::filesystem::path& directory) {
    LoadStateArchive(std::move(code), g_TimeZoneList, sink, reporter, directory);
}

bool OpenStateArchive(const std::string& code, CFile& file, IErrorReporter& reporter,
                      const std::filesystem::path& directory) {
    StagingRecord();
    const std::string name = StateArchiveFileName(code);
    const std::filesystem::path dir = directory.empty() ? GetExecutableDirectory() : directory;
    if (dir.empty()) {
        // Never the current directory: the archive must come from beside the program.
        CFileException::WithReason(name, CFileException::Operation::open,
                                   "the program's own directory cannot be found")
            .ReportError(reporter);
        return false;
    }
    const std::string path = (dir / name).string();
    // The code only names a file in the directory: a "/" would reach outside it, and a zero
    // byte would make the system open a shorter name than the one built.
    if (code.find('/') != std::string::npos || code.find('\0') != std::string::npos) {
        CFileException(CFileException::badPath, 0, path).ReportError(reporter);
        return false;
    }
    CFileException error;
    if (!file.OpenDataFile(path, kMaxStateArchiveBytes, "a state archive", &error)) {
        error.ReportError(reporter);
        return false;
    }
    return true;
}

void LoadStateArchive(std::string code, CTimeZoneList& list, IStateArchiveSink& sink,
                      IErrorReporter& reporter, const std::filesystem::path& directory,
                      const RecordCheck& check) {
    CFile file;
    if (!OpenStateArchive(code, file, reporter, directory)) {
        return;
    }
    LoadStateArchiveRecords(file, list, sink, reporter, check);
    file.Close();
}

void LoadStateArchiveRecords(CFile& file, CTimeZoneList& list, IStateArchiveSink& sink,
                             IErrorReporter& reporter, const RecordCheck& check) {
    sink.ResetZipList();
    sink.ResetCityList();
    // The city entry keeps its capacity from one record to the next.
    std::string cityEntry;
    ReadStateArchiveRecords(
        file,
        [&](const CTimeZoneData& record) {
            list.AddHead(record);
            sink.AddZipEntry(record.ZipEntry());
            record.CityEntry(cityEntry);
            sink.AddCityEntry(cityEntry);
        },
        reporter, check);
}

void ReadStateArchiveRecords(CFile& file, const RecordTake& take, IErrorReporter& reporter,
                             const RecordCheck& check) {
    CArchive ar(&file, CArchive::load);
    CTimeZone record;
    // The staging record's strings keep their capacity from one record to the next: a record
    // costs no allocation until the taker stores it.
    CTimeZoneData& staging = StagingRecord();
    const std::uint64_t total = ar.GetBytesRemaining();
    std::uint64_t recordStart = 0;
    std::size_t number = 0;  // of the record being read, from 1
    std::size_t kept = 0;
    try {
        for (;;) {
            recordStart = total - ar.GetBytesRemaining();
            if (recordStart == total) {
                break;  // the end of the data between two records: the clean end
            }
            ++number;
            record.Serialize(ar);
            staging.AssignFrom(record);
            std::string problem = CheckRecord(staging);
            if (problem.empty() && check) {
                problem = check(staging);
            }
            if (!problem.empty()) {
                CArchiveNote(ArchiveName(file) + ": record " + std::to_string(number) + " (zip " +
                             Windows1252ToPrintable(staging.m_strZipCode) + ") skipped: " + problem)
                    .ReportError(reporter);
                continue;
            }
            take(staging);
            ++kept;
        }
    } catch (const CArchiveException& e) {
        const std::string where = " inside record " + std::to_string(number) + " (at byte " +
                                  std::to_string(recordStart) + ")";
        CArchiveNote(e.m_cause == CArchiveException::endOfFile
                         ? ArchiveName(file) + " is cut off" + where + ": the " +
                               RecordsKept(kept) + "."
                         : e.GetErrorMessage() + " The data fails" + where + ": the " +
                               RecordsKept(kept) + ".")
            .ReportError(reporter);
    }
    ar.Close();
}
