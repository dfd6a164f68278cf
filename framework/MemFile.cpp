#include "MemFile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

CMemFile::CMemFile() : m_writable(true) {}

CMemFile::CMemFile(std::span<const std::uint8_t> data, std::string name)
    : m_source(data.data()), m_sourceSize(data.size()) {
    m_strFilePath = std::move(name);
}

CMemFile::CMemFile(const void* data, std::size_t size, std::string name)
    : m_source(static_cast<const std::uint8_t*>(data)), m_sourceSize(size) {
    m_strFilePath = std::move(name);
}

std::size_t CMemFile::Read(void* buffer, std::size_t count) {
    if (!m_open) {
        throw CFileException(CFileException::invalidFile, EBADF, m_strFilePath,
                             CFileException::Operation::read);
    }
    std::span<const std::uint8_t> data = GetBuffer();
    std::size_t n = m_position < data.size() ? std::min(count, data.size() - m_position) : 0;
    if (n > 0) {
        std::memcpy(buffer, data.data() + m_position, n);
        m_position += n;
    }
    return n;
}

void CMemFile::Write(const void* buffer, std::size_t count) {
    if (!m_open || !m_writable) {
        throw CFileException(CFileException::accessDenied, EBADF, m_strFilePath,
                             CFileException::Operation::write);
    }
    const auto* in = static_cast<const std::uint8_t*>(buffer);
    m_owned.insert(m_owned.end(), in, in + count);
    m_position = m_owned.size();
}

std::uint64_t CMemFile::GetLength() const {
    return GetBuffer().size();
}

std::span<const std::uint8_t> CMemFile::GetBuffer() const {
    if (m_writable) {
        return {m_owned.data(), m_owned.size()};
    }
    return {m_source, m_sourceSize};
}
