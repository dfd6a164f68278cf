// Reading any archive file record by record for inspection: each record becomes one line of
// ten tab-separated fields in record order, the strings converted to UTF-8, the numbers in
// their shortest exact decimal form. A tab, line break or backslash inside a string, and any
// other control character (C0, DEL and C1), is written as an escape (\t, \n, \r, \\, \xHH) so that
// every record stays one line of ten fields and nothing reaches a terminal as a control.
//
//     Mission	TX	78572	956	215	Hidalgo	Y	26.21466	-98.35164	6
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <ostream>
#include <string>

class CFile;
class CTimeZone;

struct ArchiveDumpResult {
    std::size_t records = 0;  // complete records read
    // Set when the data ended inside a record: the offset at which that record starts and the
    // number of its bytes present.
    std::optional<std::uint64_t> truncatedAt;
    std::uint64_t truncatedBytes = 0;
};

// One record as its dump line, without the line break.
std::string FormatRecordLine(const CTimeZone& record);

// Writes one line per complete record of `file` to `out`, each as soon as it is read, so the
// memory used does not grow with the file; stops early once `out` has failed. Archive failures
// other than the end of the data propagate as CArchiveException.
ArchiveDumpResult DumpArchive(CFile& file, std::ostream& out);
