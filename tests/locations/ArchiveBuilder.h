// Builds archive bytes and files for the tests from records.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "TimeZone.h"

using Bytes = std::vector<std::uint8_t>;

CTimeZone MakeRecord(std::string city, std::string zip, std::string county = "Hidalgo",
                     std::int32_t timeZone = 6);
Bytes Encode(const std::vector<CTimeZone>& records);
void WriteFile(const std::filesystem::path& path, const Bytes& bytes);

// A fresh directory under the system's temporary directory, removed at the end of the scope.
class TempDir {
public:
    TempDir();
    ~TempDir();
    const std::filesystem::path& path() const { return m_path; }

private:
    std::filesystem::path m_path;
};
