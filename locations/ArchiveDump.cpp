#include "ArchiveDump.h"

#include <charconv>

#include "Archive.h"
#include "TimeZone.h"
#include "Windows1252.h"

namespace {

void AppendField(std::string& line, const std::string& narrow) {
    line += Windows1252ToPrintable(narrow, EscapeStyle::Field);
    line += '\t';
}

template <typename T>
void AppendNumber(std::string& line, T value) {
    char text[32];
    auto result = std::to_chars(text, text + sizeof text, value);
    line.append(text, result.ptr);
}

}  // namespace

std::string FormatRecordLine(const CTimeZone& record) {
    std::string line;
    for (const std::string* field :
         {&record.m_strCity, &record.m_strState, &record.m_strZipCode, &record.m_strAreaCode,
          &record.m_strCountyCode, &record.m_strCounty, &record.m_strDST}) {
        AppendField(line, *field);
    }
    AppendNumber(line, record.m_dLatitude);
    line += '\t';
    AppendNumber(line, record.m_dLongitude);
    line += '\t';
    AppendNumber(line, record.m_nTimeZone);
    return line;
}

ArchiveDumpResult DumpArchive(CFile& file, std::ostream& out) {
    ArchiveDumpResult result;
    CArchive ar(&file, CArchive::load);
    const std::uint64_t total = ar.GetBytesRemaining();
    CTimeZone record;
    for (;;) {
        std::uint64_t left = ar.GetBytesRemaining();
        if (left == 0) {
            break;
        }
        try {
            record.Serialize(ar);
        } catch (const CArchiveException& e) {
            if (e.m_cause != CArchiveException::endOfFile) {
                throw;
            }
            result.truncatedAt = total - left;
            result.truncatedBytes = left;
            break;
        }
        out << FormatRecordLine(record) << '\n';
        ++result.records;
        if (!out) {
            break;  // the reader has gone or the disk is full: the caller reports it
        }
    }
    ar.Close();
    return result;
}
