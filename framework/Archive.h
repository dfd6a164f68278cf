// CArchive: a buffered, one-way stream of values over a CFile, either loading (reading) or
// storing (writing), never both. Values have a fixed little-endian layout whatever the host:
// 32-bit integers in 4 bytes, doubles as IEEE 754 binary64 in 8 bytes, no alignment.
//
// Strings carry a length prefix counted in characters, then the characters, no terminator:
//
//     length 0 .. 254          n                       (1 byte)
//     length 255 .. 0xFFFD     FF, n as 16 bits        (3 bytes)
//     length 0xFFFE and more   FF, FFFF, n as 32 bits  (7 bytes)
//                              (32-bit FFFFFFFF is followed by a 64-bit length)
//
// A string of 16-bit UTF-16 characters is marked by FF FE FF ahead of its prefix. Narrow
// strings are kept as the bytes they are (Windows-1252 text); wide strings are converted to
// Windows-1252 when read, a character it lacks becoming "?".
//
// A read that needs more bytes than remain throws CArchiveException(endOfFile). A string's
// length is checked against the bytes that remain before anything is allocated, so no input
// makes the reader allocate more than its size.
//
//     CFile file(path, CFile::modeRead);
//     CArchive ar(&file, CArchive::load);
//     std::string s;
//     ar >> s;
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "ArchiveException.h"

class CFile;

class CArchive {
public:
    enum Mode { store = 0, load = 1 };
    static constexpr std::size_t kDefaultBufferSize = 4096;

    // The file must stay open and alive as long as the archive. A loading archive takes the
    // file's length at construction: bytes appended to the file later are not read, and a
    // file that reports no length (a pipe, a device) gives no data.
    CArchive(CFile* file, Mode mode, std::size_t bufferSize = kDefaultBufferSize);
    // Flushes a storing archive that was not closed, ignoring any error; call Close() to see it.
    ~CArchive();

    CArchive(const CArchive&) = delete;
    CArchive& operator=(const CArchive&) = delete;

    bool IsLoading() const { return m_mode == load; }
    bool IsStoring() const { return m_mode == store; }
    CFile* GetFile() const { return m_file; }

    // Storing: writes the buffer out. Then detaches from the file (the file stays open).
    void Close();
    // Detaches without writing anything out.
    void Abort();
    // Storing: writes the buffer to the file.
    void Flush();

    // Loading: bytes left to read, in the buffer and in the file.
    std::uint64_t GetBytesRemaining() const;
    // Loading: true when no byte is left to read.
    bool IsAtEnd() const { return GetBytesRemaining() == 0; }

    // Raw bytes: Read fills exactly `count` bytes or throws endOfFile.
    void Read(void* buffer, std::size_t count) {
        // Most reads are a few bytes that the buffer already holds.
        if (m_mode == load && m_file != nullptr && count <= m_bufMax - m_bufCur) {
            std::memcpy(buffer, m_buffer.data() + m_bufCur, count);
            m_bufCur += count;
            return;
        }
        ReadThroughFile(buffer, count);
    }
    void Write(const void* buffer, std::size_t count);

    CArchive& operator<<(std::int32_t value);
    CArchive& operator<<(double value);
    CArchive& operator<<(std::uint8_t value);
    CArchive& operator<<(std::uint16_t value);
    CArchive& operator<<(std::uint32_t value);
    CArchive& operator<<(std::uint64_t value);
    // A narrow string, bytes as they are, never with the wide mark.
    CArchive& operator<<(std::string_view value);
    CArchive& operator<<(const std::string& value) { return *this << std::string_view(value); }

    CArchive& operator>>(std::int32_t& value);
    CArchive& operator>>(double& value);
    CArchive& operator>>(std::uint8_t& value);
    CArchive& operator>>(std::uint16_t& value);
    CArchive& operator>>(std::uint32_t& value);
    CArchive& operator>>(std::uint64_t& value);
    // A narrow or wide string; a wide one is converted to Windows-1252 ("?" for what it lacks).
    CArchive& operator>>(std::string& value) {
        // A record's strings are short and narrow: a one-byte prefix, and all of it already in
        // the buffer. The string keeps its capacity from one record to the next.
        if (m_mode == load && m_file != nullptr && m_bufCur < m_bufMax) {
            const std::size_t length = m_buffer[m_bufCur];
            if (length < 0xFF && length < m_bufMax - m_bufCur) {
                value.assign(reinterpret_cast<const char*>(m_buffer.data() + m_bufCur + 1), length);
                m_bufCur += 1 + length;
                return *this;
            }
        }
        return ReadString(value);
    }

    // Writes a string in the wide form (mark, prefix, UTF-16LE characters).
    void WriteWideString(std::u16string_view value);

    // Reads a length prefix; returns the length and sets `wide` when the wide mark came first.
    std::uint64_t ReadStringLength(bool& wide);
    // Writes the narrow length prefix for `length`.
    void WriteStringLength(std::uint64_t length);

private:
    [[noreturn]] void Throw(CArchiveException::Cause cause) const;
    void ReadThroughFile(void* buffer, std::size_t count);
    CArchive& ReadString(std::string& value);
    void FillBuffer();

    CFile* m_file;
    Mode m_mode;
    std::vector<std::uint8_t> m_buffer;
    std::size_t m_bufCur = 0;           // next byte to read or write
    std::size_t m_bufMax = 0;           // loading: end of the valid bytes
    std::uint64_t m_fileRemaining = 0;  // loading: bytes not yet pulled from the file
};
