// Reading our own checked data files (the world places, the zone map): the whole file in one
// read, regular files only, under a size ceiling; a CRC-32 to check them; and a cursor that
// takes little-endian numbers and spans only while bytes remain.
//
// Example:
//     CCollectingErrorReporter problems;
//     const std::string bytes = ReadDataFile(dir / "timezone.world", 16u << 20, "the world towns",
//                                            problems);
//     CDataCursor cursor(bytes);
//     std::uint32_t count = 0;
//     if (!cursor.Read(count) || count > cursor.Left() / kRecordSize) { /* damaged */ }
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>
#include <string_view>
#include <type_traits>

#include "Exception.h"
#include "FileBytes.h"

class IErrorReporter;

// A data file beside the archives (the zones, the world towns, a map) that is missing or cannot
// be read: the program goes on without what it holds, and says why in this one line.
class CDataFileNote : public CMessageException {
public:
    using CMessageException::CMessageException;
};

// The bytes of the regular file `path`, read as every data file of ours is (CFile::ReadDataFile:
// the open never waits, kind and size are checked first); "" when it is missing, not a regular
// file (a directory, a device, a pipe), larger than `maxBytes` or unreadable, and then a
// CDataFileNote goes to `reporter` saying which, naming the file by its name alone. `what` names
// the kind of file ("the world towns") in the message about its size.
std::string ReadDataFile(const std::filesystem::path& path, std::uintmax_t maxBytes,
                         std::string_view what, IErrorReporter& reporter);
// The same mapped read-only (CFileBytes::MapDataFile): for the large files read at every start,
// which then cost neither a copy nor memory of their own.
CFileBytes MapDataFile(const std::filesystem::path& path, std::uintmax_t maxBytes,
                       std::string_view what, IErrorReporter& reporter);

// Entries that one of our data files cannot hold (a zone name that is not one, a point off the
// globe, more rows than the format counts): the message names the entry and why.
class CDataEncodeError : public CMessageException {
public:
    using CMessageException::CMessageException;
};

// CRC-32 (IEEE 802.3, reflected, as zip and PNG use it).
std::uint32_t DataCrc32(std::string_view bytes);

// Reads little-endian numbers and spans, each checked against what remains.
class CDataCursor {
public:
    explicit CDataCursor(std::string_view bytes) : m_bytes(bytes) {}

    bool Take(std::size_t n, std::string_view& out) {
        if (n > m_bytes.size() - m_pos) {
            return false;
        }
        out = m_bytes.substr(m_pos, n);
        m_pos += n;
        return true;
    }
    template <typename Number>
    bool Read(Number& value) {
        std::string_view raw;
        if (!Take(sizeof(Number), raw)) {
            return false;
        }
        using Unsigned = std::make_unsigned_t<Number>;
        Unsigned u = 0;
        if constexpr (std::endian::native == std::endian::little) {
            std::memcpy(&u, raw.data(), sizeof(Number));  // the files' own order: one load
        } else {
            for (std::size_t i = sizeof(Number); i-- > 0;) {
                u = static_cast<Unsigned>((u << 8) | static_cast<unsigned char>(raw[i]));
            }
        }
        value = static_cast<Number>(u);
        return true;
    }
    std::size_t Position() const { return m_pos; }
    std::size_t Left() const { return m_bytes.size() - m_pos; }

private:
    std::string_view m_bytes;
    std::size_t m_pos = 0;
};

// Appends `value` little-endian.
template <typename Number>
void AppendLittleEndian(std::string& out, Number value) {
    using Unsigned = std::make_unsigned_t<Number>;
    const auto u = static_cast<Unsigned>(value);
    for (std::size_t i = 0; i < sizeof(Number); ++i) {
        out.push_back(static_cast<char>((u >> (8 * i)) & 0xFF));
    }
}

// The frame of the checked data files: `magic`, a u16 version, a u16 zero, the fields, then the
// CRC-32 of every byte before it. "" when `bytes` has that frame, else what is wrong: "not a
// <kind>", "version 2, not 1" or "checksum". The checksum is checked before any field, so that
// a damaged file is reported as such rather than by its first bad field.
std::string DataFrameProblem(std::string_view bytes, std::string_view magic, std::uint16_t version,
                             std::string_view kind);
