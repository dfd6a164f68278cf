#include "DataFile.h"

#include <array>
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
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t i = 0; i < 256; ++i) {
            std::uint32_t c = i;
            for (int k = 0; k < 8; ++k) {
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            }
            t[i] = c;
        }
        return t;
    }();
    std::uint32_t crc = 0xFFFFFFFFu;
    for (const char b : bytes) {
        crc = table[(crc ^ static_cast<unsigned char>(b)) & 0xFF] ^ (crc >> 8);
    }
    return crc ^ 0xFFFFFFFFu;
}
