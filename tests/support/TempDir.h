// A fresh directory for a test's files.
#pragma once

#include <filesystem>

// A fresh directory under the system's temporary directory, removed at the end of the scope.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return m_path; }

private:
    std::filesystem::path m_path;
};
