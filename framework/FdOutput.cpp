#include "FdOutput.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

CFdOutputBuffer::CFdOutputBuffer(int fd) : m_fd(fd) {
    setp(m_buffer.data(), m_buffer.data() + m_buffer.size());
}

CFdOutputBuffer::~CFdOutputBuffer() {
    Drain();
}

bool CFdOutputBuffer::WriteAll(const char* data, std::size_t count) {
    if (m_error != 0) {
        return false;  // after a failure nothing more is written
    }
    while (count > 0) {
        const ssize_t written = ::write(m_fd, data, count);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            m_error = errno;
            return false;
        }
        if (written == 0) {
            m_error = EIO;  // a write that makes no progress would loop for ever
            return false;
        }
        data += written;
        count -= static_cast<std::size_t>(written);
    }
    return true;
}

bool CFdOutputBuffer::Drain() {
    const std::size_t pending = static_cast<std::size_t>(pptr() - pbase());
    setp(m_buffer.data(), m_buffer.data() + m_buffer.size());
    return WriteAll(m_buffer.data(), pending);
}

CFdOutputBuffer::int_type CFdOutputBuffer::overflow(int_type ch) {
    if (!Drain()) {
        return traits_type::eof();
    }
    if (!traits_type::eq_int_type(ch, traits_type::eof())) {
        *pptr() = traits_type::to_char_type(ch);
        pbump(1);
    }
    return traits_type::not_eof(ch);
}

std::streamsize CFdOutputBuffer::xsputn(const char* data, std::streamsize count) {
    if (count <= 0) {
        return 0;  // an empty text may come without a buffer behind it
    }
    const auto size = static_cast<std::size_t>(count);
    if (size <= static_cast<std::size_t>(epptr() - pptr())) {
        std::memcpy(pptr(), data, size);
        pbump(static_cast<int>(count));
        return count;
    }
    // Larger than the room left: what is buffered goes first, then the text itself.
    if (!Drain() || !WriteAll(data, size)) {
        return 0;
    }
    return count;
}

int CFdOutputBuffer::sync() {
    return Drain() ? 0 : -1;
}

int WriteFailureErrno(const std::ostream& out) {
    const auto* buffer = dynamic_cast<const CFdOutputBuffer*>(out.rdbuf());
    return buffer != nullptr ? buffer->GetError() : 0;
}

std::string WriteFailureReason(const std::ostream& out) {
    const int error = WriteFailureErrno(out);
    return error != 0 ? std::strerror(error) : "write error";
}
