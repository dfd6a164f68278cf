#include "Archive.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "File.h"
#include "Windows1252.h"

namespace {

template <typename T>
T FromLittleEndian(const std::uint8_t* bytes) {
    T value{};
    if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(&value, bytes, sizeof value);
    } else {
        for (std::size_t i = sizeof value; i-- > 0;) {
            value = static_cast<T>((value << 8) | bytes[i]);
        }
    }
    return value;
}

template <typename T>
void ToLittleEndian(T value, std::uint8_t* bytes) {
    if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(bytes, &value, sizeof value);
    } else {
        for (std::size_t i = 0; i < sizeof value; ++i) {
            bytes[i] = static_cast<std::uint8_t>(value >> (8 * i));
        }
    }
}

}  // namespace

CArchive::CArchive(CFile* file, Mode mode, std::size_t bufferSize)
    : m_file(file), m_mode(mode), m_buffer(std::max<std::size_t>(bufferSize, 16)) {
    if (m_file == nullptr) {
        Throw(CArchiveException::genericException);
    }
    if (m_mode == load) {
        // What the file holds is known before reading: pipes and devices report no length and
        // give no data, so that a reader can neither wait on them nor run on forever.
        std::uint64_t length = m_file->GetLength();
        std::uint64_t position = length > 0 ? m_file->GetPosition() : 0;
        m_fileRemaining = length > position ? length - position : 0;
    }
}

CArchive::~CArchive() {
    if (m_file != nullptr && m_mode == store) {
        try {
            Flush();
        } catch (...) {
            // A destructor must not throw; Close() is the way to learn of a failed write.
        }
    }
}

void CArchive::Throw(CArchiveException::Cause cause) const {
    throw CArchiveException(cause, m_file != nullptr ? m_file->GetFilePath() : std::string());
}

void CArchive::Close() {
    if (m_file != nullptr && m_mode == store) {
        Flush();
    }
    m_file = nullptr;
}

void CArchive::Abort() {
    m_file = nullptr;
    m_bufCur = m_bufMax = 0;
}

void CArchive::Flush() {
    if (m_file == nullptr || m_mode != store || m_bufCur == 0) {
        return;
    }
    std::size_t pending = m_bufCur;
    m_bufCur = 0;
    m_file->Write(m_buffer.data(), pending);
}

std::uint64_t CArchive::GetBytesRemaining() const {
    if (m_mode != load || m_file == nullptr) {
        return 0;
    }
    return (m_bufMax - m_bufCur) + m_fileRemaining;
}

void CArchive::FillBuffer() {
    std::size_t want =
        static_cast<std::size_t>(std::min<std::uint64_t>(m_buffer.size(), m_fileRemaining));
    std::size_t got = want > 0 ? m_file->Read(m_buffer.data(), want) : 0;
    m_bufCur = 0;
    m_bufMax = got;
    // A file that shrank under us ends here rather than at its former length.
    m_fileRemaining = got < want ? 0 : m_fileRemaining - got;
}

void CArchive::ReadThroughFile(void* buffer, std::size_t count) {
    if (m_file == nullptr) {
        Throw(CArchiveException::genericException);
    }
    if (m_mode != load) {
        Throw(CArchiveException::writeOnly);
    }
    auto* out = static_cast<std::uint8_t*>(buffer);
    while (count > 0) {
        if (m_bufCur == m_bufMax) {
            FillBuffer();
            if (m_bufMax == 0) {
                Throw(CArchiveException::endOfFile);
            }
        }
        std::size_t n = std::min(count, m_bufMax - m_bufCur);
        std::memcpy(out, m_buffer.data() + m_bufCur, n);
        m_bufCur += n;
        out += n;
        count -= n;
    }
}

void CArchive::Write(const void* buffer, std::size_t count) {
    if (m_file == nullptr) {
        Throw(CArchiveException::genericException);
    }
    if (m_mode != store) {
        Throw(CArchiveException::readOnly);
    }
    const auto* in = static_cast<const std::uint8_t*>(buffer);
    while (count > 0) {
        if (m_bufCur == m_buffer.size()) {
            Flush();
        }
        std::size_t n = std::min(count, m_buffer.size() - m_bufCur);
        std::memcpy(m_buffer.data() + m_bufCur, in, n);
        m_bufCur += n;
        in += n;
        count -= n;
    }
}

#define DAYBREAK_ARCHIVE_RAW(type)                \
    CArchive& CArchive::operator<<(type value) {  \
        std::uint8_t bytes[sizeof(type)];         \
        ToLittleEndian(value, bytes);             \
        Write(bytes, sizeof bytes);               \
        return *this;                             \
    }                                             \
    CArchive& CArchive::operator>>(type& value) { \
        std::uint8_t bytes[sizeof(type)];         \
        Read(bytes, sizeof bytes);                \
        value = FromLittleEndian<type>(bytes);    \
        return *this;                             \
    }

DAYBREAK_ARCHIVE_RAW(std::uint8_t)
DAYBREAK_ARCHIVE_RAW(std::uint16_t)
DAYBREAK_ARCHIVE_RAW(std::uint32_t)
DAYBREAK_ARCHIVE_RAW(std::uint64_t)
#undef DAYBREAK_ARCHIVE_RAW

CArchive& CArchive::operator<<(std::int32_t value) {
    return *this << static_cast<std::uint32_t>(value);
}

CArchive& CArchive::operator>>(std::int32_t& value) {
    std::uint32_t raw;
    *this >> raw;
    value = static_cast<std::int32_t>(raw);
    return *this;
}

CArchive& CArchive::operator<<(double value) {
    return *this << std::bit_cast<std::uint64_t>(value);
}

CArchive& CArchive::operator>>(double& value) {
    std::uint64_t raw;
    *this >> raw;
    value = std::bit_cast<double>(raw);
    return *this;
}

std::uint64_t CArchive::ReadStringLength(bool& wide) {
    wide = false;
    std::uint8_t b;
    *this >> b;
    if (b < 0xFF) {
        return b;
    }
    std::uint16_t w;
    *this >> w;
    if (w == 0xFFFE) {
        // FF FE FF marks UTF-16 characters; the real prefix follows, and inside it 0xFFFE is a
        // length like any other.
        wide = true;
        *this >> b;
        if (b < 0xFF) {
            return b;
        }
        *this >> w;
    }
    if (w < 0xFFFF) {
        return w;
    }
    std::uint32_t d;
    *this >> d;
    if (d < 0xFFFFFFFFu) {
        return d;
    }
    std::uint64_t q;
    *this >> q;
    return q;
}

void CArchive::WriteStringLength(std::uint64_t length) {
    if (length < 0xFF) {
        *this << static_cast<std::uint8_t>(length);
        return;
    }
    *this << static_cast<std::uint8_t>(0xFF);
    if (length < 0xFFFE) {
        *this << static_cast<std::uint16_t>(length);
        return;
    }
    *this << static_cast<std::uint16_t>(0xFFFF);
    if (length < 0xFFFFFFFFu) {
        *this << static_cast<std::uint32_t>(length);
        return;
    }
    *this << static_cast<std::uint32_t>(0xFFFFFFFFu) << length;
}

CArchive& CArchive::operator<<(std::string_view value) {
    WriteStringLength(value.size());
    Write(value.data(), value.size());
    return *this;
}

void CArchive::WriteWideString(std::u16string_view value) {
    *this << static_cast<std::uint8_t>(0xFF) << static_cast<std::uint16_t>(0xFFFE);
    WriteStringLength(value.size());
    for (char16_t c : value) {
        *this << static_cast<std::uint16_t>(c);
    }
}

CArchive& CArchive::ReadString(std::string& value) {
    if (m_mode != load) {
        Throw(CArchiveException::writeOnly);
    }
    bool wide = false;
    std::uint64_t length = ReadStringLength(wide);
    // Never allocate more than the bytes left: a prefix can claim 4 GiB, or 2^64 - 1 units.
    std::uint64_t remaining = GetBytesRemaining();
    if (length > (wide ? remaining / 2 : remaining)) {
        Throw(CArchiveException::endOfFile);
    }
    auto count = static_cast<std::size_t>(length);
    if (!wide) {
        // The bytes are known to be there, so the string can take them in place and keep its
        // capacity from one record to the next.
        value.resize(count);
        Read(value.data(), count);
        return *this;
    }
    std::u16string units(count, u'\0');
    Read(units.data(), count * 2);
    if constexpr (std::endian::native != std::endian::little) {
        for (char16_t& c : units) {
            c = static_cast<char16_t>((c >> 8) | (c << 8));
        }
    }
    value = Utf16ToWindows1252(units);
    return *this;
}
