#include "ArchiveDump.h"

#include <charconv>
#include <cstdio>

#include "Archive.h"
#include "TimeZone.h"
#include "Windows1252.h"

namespace {

void AppendField(std::string& line, const std::string& narrow) {
    for (char c : Windows1252ToUtf8(narrow)) {
        auto byte = static_cast<unsigned char>(c);
        switch (c) {
            case '\t':
                line += "\\t";
                break;
            case '\n':
                line += "\\n";
                break;
            case '\r':
                line += "\\r";
                break;
            case '\\':
                line += "\\\\";
                break;
            default:
                if (byte < 0x20 || byte == 0x7F) {
                    char escape[8];
                    std::snprintf(escape, sizeof escape, "\\x%02X", byte);
                    line += escape;
                } else {
                    line += c;
                }
        }
    }
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
    }
    ar.Close();
    return result;
}
