#include "File.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

CFile::CFile(const std::string& path, unsigned flags) {
    CFileException error;
    if (!Open(path, flags, &error)) {
        throw error;
    }
}

CFile::~CFile() {
    Abort();
}

bool CFile::Open(const std::string& path, unsigned flags, CFileException* error) {
    Abort();
    m_strFilePath = path;
    auto fail = [&](CFileException::Cause cause, int osError) {
        if (error != nullptr) {
            *error = CFileException(cause, osError, path, CFileException::Operation::open);
        }
        return false;
    };
    // The system would stop at the zero and open another file than the one named.
    if (path.empty() || path.find('\0') != std::string::npos) {
        return fail(CFileException::badPath, path.empty() ? ENOENT : 0);
    }
    int oflags = O_CLOEXEC;
    if ((flags & modeWrite) != 0) {
        oflags |= O_WRONLY;
        if ((flags & modeCreate) != 0) {
            oflags |= O_CREAT | O_TRUNC;
        }
    } else {
        // Without O_NONBLOCK, opening a FIFO would wait for a writer that may never come.
        oflags |= O_RDONLY | O_NONBLOCK;
    }
    int fd;
    do {
        fd = ::open(path.c_str(), oflags, 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        int err = errno;
        return fail(CFileException::CauseFromErrno(err), err);
    }
    // A directory opens for reading but cannot be read as a file.
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        ::close(fd);
        return fail(CFileException::accessDenied, EISDIR);
    }
    if ((oflags & O_NONBLOCK) != 0) {
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    }
    m_fd = fd;
    return true;
}

bool CFile::OpenDataFile(const std::string& path, std::uint64_t maxBytes, std::string_view what,
                         CFileException* error) {
    if (!Open(path, modeRead | typeBinary, error)) {
        return false;
    }
    // Open() never waits, and nothing has been read: the checks come before the first read.
    struct stat st {};
    if (::fstat(m_fd, &st) != 0) {
        const int err = errno;
        Abort();
        if (error != nullptr) {
            *error = CFileException(CFileException::CauseFromErrno(err), err, path);
        }
        return false;
    }
    std::string reason;
    CFileException::Operation operation = CFileException::Operation::open;
    if (!S_ISREG(st.st_mode)) {
        reason = "not a regular file";
    } else if (static_cast<std::uint64_t>(st.st_size) > maxBytes) {
        reason = "larger than " + std::string(what) + " can be (" +
                 (maxBytes >= (1u << 20) ? std::to_string(maxBytes >> 20) + " MiB"
                                         : std::to_string(maxBytes) + " bytes") +
                 ")";
        operation = CFileException::Operation::read;
    }
    if (!reason.empty()) {
        Abort();
        if (error != nullptr) {
            *error = CFileException::WithReason(path, operation, std::move(reason));
        }
        return false;
    }
    return true;
}

bool CFile::ReadDataFile(const std::string& path, std::uint64_t maxBytes, std::string_view what,
                         std::string& bytes, CFileException* error) {
    CFile file;
    if (!file.OpenDataFile(path, maxBytes, what, error)) {
        return false;
    }
    try {
        // The size was checked at the open; a file that grows meanwhile is cut there, one that
        // shrinks ends early, and either then fails the format's own checks.
        bytes.assign(static_cast<std::size_t>(std::min(file.GetLength(), maxBytes)), '\0');
        bytes.resize(file.Read(bytes.data(), bytes.size()));
        file.Close();
    } catch (const CFileException& e) {
        if (error != nullptr) {
            *error = e;
        }
        bytes.clear();
        return false;
    }
    return true;
}

std::size_t CFile::Read(void* buffer, std::size_t count) {
    if (m_fd < 0) {
        throw CFileException(CFileException::invalidFile, EBADF, m_strFilePath,
                             CFileException::Operation::read);
    }
    auto* out = static_cast<char*>(buffer);
    std::size_t done = 0;
    while (done < count) {
        ssize_t n = ::read(m_fd, out + done, count - done);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            int err = errno;
            throw CFileException(CFileException::CauseFromErrno(err), err, m_strFilePath,
                                 CFileException::Operation::read);
        }
        if (n == 0) {
            break;
        }
        done += static_cast<std::size_t>(n);
    }
    return done;
}

void CFile::Write(const void* buffer, std::size_t count) {
    if (m_fd < 0) {
        throw CFileException(CFileException::invalidFile, EBADF, m_strFilePath,
                             CFileException::Operation::write);
    }
    const auto* in = static_cast<const char*>(buffer);
    std::size_t done = 0;
    while (done < count) {
        ssize_t n = ::write(m_fd, in + done, count - done);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            int err = errno;
            throw CFileException(CFileException::CauseFromErrno(err), err, m_strFilePath,
                                 CFileException::Operation::write);
        }
        done += static_cast<std::size_t>(n);
    }
}

std::uint64_t CFile::GetLength() const {
    struct stat st {};
    if (m_fd < 0 || ::fstat(m_fd, &st) != 0) {
        int err = m_fd < 0 ? EBADF : errno;
        throw CFileException(CFileException::CauseFromErrno(err), err, m_strFilePath,
                             CFileException::Operation::seek);
    }
    return st.st_size > 0 ? static_cast<std::uint64_t>(st.st_size) : 0;
}

std::uint64_t CFile::GetPosition() const {
    off_t pos = m_fd < 0 ? -1 : ::lseek(m_fd, 0, SEEK_CUR);
    if (pos < 0) {
        int err = m_fd < 0 ? EBADF : errno;
        throw CFileException(CFileException::CauseFromErrno(err), err, m_strFilePath,
                             CFileException::Operation::seek);
    }
    return static_cast<std::uint64_t>(pos);
}

void CFile::Close() {
    if (m_fd < 0) {
        return;
    }
    int fd = m_fd;
    m_fd = -1;
    // On Linux the descriptor is gone even when close() reports an error: never retry.
    if (::close(fd) != 0 && errno != EINTR) {
        int err = errno;
        throw CFileException(CFileException::CauseFromErrno(err), err, m_strFilePath,
                             CFileException::Operation::close);
    }
}

void CFile::Abort() {
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
}

std::string CFile::GetFileName() const {
    auto slash = m_strFilePath.rfind('/');
    return slash == std::string::npos ? m_strFilePath : m_strFilePath.substr(slash + 1);
}
