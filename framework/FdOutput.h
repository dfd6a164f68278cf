// An output stream buffer over a file descriptor that remembers why a write failed, so that a
// program can tell "disk full" from "closed stream" from "reader gone":
//
//     CFdOutputBuffer buffer(STDOUT_FILENO);
//     std::ostream out(&buffer);
//     out << text << std::flush;
//     if (!out) { ... buffer.GetError() is the errno of the failed write ... }
//
// Short writes are continued and interrupted ones retried; any other failure makes the stream
// bad and is kept in GetError(). Nothing is thrown.
#pragma once

#include <array>
#include <ostream>
#include <streambuf>
#include <string>

class CFdOutputBuffer : public std::streambuf {
public:
    explicit CFdOutputBuffer(int fd);
    ~CFdOutputBuffer() override;
    CFdOutputBuffer(const CFdOutputBuffer&) = delete;
    CFdOutputBuffer& operator=(const CFdOutputBuffer&) = delete;

    // The errno of the first failed write, 0 while every write succeeded.
    int GetError() const { return m_error; }

protected:
    int_type overflow(int_type ch) override;
    std::streamsize xsputn(const char* data, std::streamsize count) override;
    int sync() override;

private:
    bool WriteAll(const char* data, std::size_t count);
    bool Drain();

    int m_fd;
    int m_error = 0;
    std::array<char, 1 << 16> m_buffer{};
};

// Why writing to `out` failed: the system's text for the failed write when `out` writes
// through a CFdOutputBuffer, otherwise a general one.
std::string WriteFailureReason(const std::ostream& out);

// The errno of the failed write behind `out`, 0 when unknown.
int WriteFailureErrno(const std::ostream& out);
