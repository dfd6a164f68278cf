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

// An archive the loader refuses before reading it, with a message of its own.
class CRefusedArchive : public CFileException {
public:
    CRefusedArchive(std::string path, Operation operation, std::string why)
        : CFileException(CFileException::invalidFile, 0, std::move(path), operation),
          m_why(std::move(why)) {}
    std::string GetErrorMessage() const override {
        return std::string(m_operation == Operation::open ? "Cannot open" : "Cannot read") +
               " file " + m_strFileName + ": " + m_why;
    }

private:
    std::string m_why;
};

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
    if (dir.empty()) {
        // Never the current directory: the archive must come from beside the program.
        CRefusedArchive(name, CFileException::Operation::open,
                        "the program's own directory cannot be found")
            .ReportError(reporter);
        return;
    }
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
    if (file.GetLength() > kMaxStateArchiveBytes) {
        CRefusedArchive(path, CFileException::Operation::read,
                        "larger than a state archive can be (" +
                            std::to_string(kMaxStateArchiveBytes >> 20) + " MiB)")
            .ReportError(reporter);
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
