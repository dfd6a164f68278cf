#include "StateArchive.h"

#include "Archive.h"
#include "ErrorReporter.h"
#include "File.h"
#include "ModulePath.h"
#include "TimeZone.h"
#include "TimeZoneData.h"
#include "TimeZoneList.h"

namespace {

// Every record read passes through here on its way into the list. It lives from the first
// load to the end of the program and holds the last record read.
CTimeZoneData& StagingRecord() {
    static CTimeZoneData staging;
    return staging;
}

}  // namespace

std::string StateArchiveFileName(const std::string& code) {
    return "timezone.arc." + code;
}

void LoadStateArchive(std::string code, IStateArchiveSink& sink, IErrorReporter& reporter,
                      const std::filesystem::path& directory) {
    LoadStateArchive(std::move(code), g_TimeZoneList, sink, reporter, directory);
}

void LoadStateArchive(std::string code, CTimeZoneList& list, IStateArchiveSink& sink,
                      IErrorReporter& reporter, const std::filesystem::path& directory) {
    StagingRecord();
    CFile file;
    CFileException error;
    std::string name = StateArchiveFileName(code);
    std::filesystem::path dir = directory.empty() ? GetExecutableDirectory() : directory;
    std::string path = (dir / name).string();
    // The code only names a file in the directory: a "/" would reach outside it, and a zero
    // byte would make the system open a shorter name than the one built.
    if (code.find('/') != std::string::npos || code.find('\0') != std::string::npos) {
        CFileException(CFileException::badPath, 0, path).ReportError(reporter);
        return;
    }
    if (!file.Open(path, CFile::modeRead | CFile::typeBinary, &error)) {
        error.ReportError(reporter);
        return;
    }
    LoadStateArchiveRecords(file, list, sink, reporter);
    file.Close();
}

void LoadStateArchiveRecords(CFile& file, CTimeZoneList& list, IStateArchiveSink& sink,
                             IErrorReporter& reporter) {
    sink.ResetZipList();
    sink.ResetCityList();
    CArchive ar(&file, CArchive::load);
    CTimeZone record;
    CTimeZoneData& staging = StagingRecord();
    // The staging record's strings and the city entry keep their capacity from one record to the
    // next: a record costs no allocation until it is stored in the list.
    std::string cityEntry;
    try {
        for (;;) {
            record.Serialize(ar);
            staging.AssignFrom(record);
            list.AddHead(staging);
            sink.AddZipEntry(staging.ZipEntry());
            staging.CityEntry(cityEntry);
            sink.AddCityEntry(cityEntry);
        }
    } catch (const CArchiveException& e) {
        // Running out of data is how every load ends, cleanly or inside a cut-off record.
        if (e.m_cause != CArchiveException::endOfFile) {
            e.ReportError(reporter);
        }
    }
    ar.Close();
}
