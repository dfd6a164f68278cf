#include "TempDir.h"

#include <unistd.h>

#include <string>

TempDir::TempDir() {
    static int counter = 0;
    m_path = std::filesystem::temp_directory_path() /
             ("daybreak-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    std::filesystem::create_directories(m_path);
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(m_path, ec);
}
