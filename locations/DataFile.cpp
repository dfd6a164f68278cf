#include "DataFile.h"

#include <zlib.h>

#include <algorithm>

#include "ErrorReporter.h"
#include "File.h"
#include "FileException.h"

std::string ReadDataFile(const std::filesystem::path& path, std::uintmax_t maxBytes,
                         std::string_view what, IErrorReporter& reporter) {
    std::string bytes;
    CFileException error;
    if (!CFile::ReadDataFile(path.string(), maxBytes, what, bytes, &error)) {
        reporter.ReportError(
            CDataFileNote(path.filename().string() + " cannot be read: " + error.GetReason()));
        return {};
    }
    return bytes;
}

CFileBytes MapDataFile(const std::filesystem::path& path, std::uintmax_t maxBytes,
                       std::string_view what, IErrorReporter& reporter) {
    CFileBytes bytes;
    CFileException error;
    if (!CFileBytes::MapDataFile(path.string(), maxBytes, what, bytes, &error)) {
        reporter.ReportError(
            CDataFileNote(path.filename().string() + " cannot be read: " + error.GetReason()));
    }
    return bytes;
}

std::uint32_t DataCrc32(std::string_view bytes) {
    // zlib's, which reads several bytes a step: the files are megabytes, read at every start.
    uLong crc = crc32(0L, Z_NULL, 0);
    while (!bytes.empty()) {
        const auto chunk = static_cast<uInt>(std::min<std::size_t>(bytes.size(), 1u << 30));
        crc = crc32(crc, reinterpret_cast<const Bytef*>(bytes.data()), chunk);
        bytes.remove_prefix(chunk);
    }
    return static_cast<std::uint32_t>(crc);
}
