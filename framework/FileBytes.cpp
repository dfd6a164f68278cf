#include "FileBytes.h"

#include <sys/mman.h>

#include <algorithm>
#include <utility>

#include "File.h"

CFileBytes::CFileBytes(std::string bytes)
    : m_owned(std::make_unique<std::string>(std::move(bytes))),
      m_data(m_owned->data()),
      m_size(m_owned->size()) {}

CFileBytes::~CFileBytes() {
    Release();
}

CFileBytes::CFileBytes(CFileBytes&& other) noexcept
    : m_owned(std::move(other.m_owned)),
      m_data(std::exchange(other.m_data, nullptr)),
      m_size(std::exchange(other.m_size, 0)),
      m_mapped(std::exchange(other.m_mapped, false)) {}

CFileBytes& CFileBytes::operator=(CFileBytes&& other) noexcept {
    if (this != &other) {
        Release();
        m_owned = std::move(other.m_owned);
        m_data = std::exchange(other.m_data, nullptr);
        m_size = std::exchange(other.m_size, 0);
        m_mapped = std::exchange(other.m_mapped, false);
    }
    return *this;
}

void CFileBytes::Release() noexcept {
    if (m_mapped) {
        ::munmap(const_cast<char*>(m_data), m_size);
    }
    m_owned.reset();
    m_data = nullptr;
    m_size = 0;
    m_mapped = false;
}

bool CFileBytes::MapDataFile(const std::string& path, std::uint64_t maxBytes, std::string_view what,
                             CFileBytes& bytes, CFileException* error) {
    bytes = CFileBytes();
    CFile file;
    if (!file.OpenDataFile(path, maxBytes, what, error)) {
        return false;
    }
    try {
        const auto size = static_cast<std::size_t>(std::min(file.GetLength(), maxBytes));
        if (size == 0) {
            return true;  // nothing to map; the format's own checks fail it
        }
        void* map = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, file.m_fd, 0);
        if (map != MAP_FAILED) {
            bytes.m_data = static_cast<const char*>(map);
            bytes.m_size = size;
            bytes.m_mapped = true;
            return true;
        }
        // A file system that cannot map: read it as CFile::ReadDataFile does.
        std::string read(size, '\0');
        read.resize(file.Read(read.data(), read.size()));
        bytes = CFileBytes(std::move(read));
    } catch (const CFileException& e) {
        if (error != nullptr) {
            *error = e;
        }
        bytes = CFileBytes();
        return false;
    }
    return true;
}
