#include "DataFile.h"

#include <zlib.h>

#include <algorithm>
#include <fstream>
#include <system_error>

std::string ReadDataFile(const std::filesystem::path& path, std::uintmax_t maxBytes,
                         std::string* problem) {
    const auto fail = [&](const char* why) {
        if (problem) {
            *problem = path.filename().string() + why;
        }
        return std::string();
    };
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    if (error || !std::filesystem::exists(status)) {
        return fail(" is missing");
    }
    if (!std::filesystem::is_regular_file(status)) {
        return fail(" is not a regular file");
    }
    const auto size = std::filesystem::file_size(path, error);
    if (error) {
        return fail(" could not be read");
    }
    if (size > maxBytes) {
        return fail(" is too large to be a data file of ours");
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return fail(" could not be opened");
    }
    // One read of the size found; a file that grows meanwhile is cut and then fails its checks.
    std::string bytes(static_cast<std::size_t>(size), '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (in.bad()) {
        return fail(" could not be read");
    }
    bytes.resize(static_cast<std::size_t>(in.gcount()));
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
