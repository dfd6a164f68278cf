#include "ReplaceFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <memory>
#include <random>

#include "Exception.h"
#include "FileException.h"

namespace {

[[noreturn]] void ThrowErrno(int osError, const std::string& path) {
    throw CFileException(CFileException::CauseFromErrno(osError), osError, path,
                         CFileException::Operation::write);
}

const char* KindOf(mode_t mode) {
    if (S_ISDIR(mode)) {
        return "a folder";
    }
    if (S_ISCHR(mode) || S_ISBLK(mode)) {
        return "a device";
    }
    if (S_ISFIFO(mode)) {
        return "a pipe";
    }
    if (S_ISSOCK(mode)) {
        return "a socket";
    }
    return "a special file";
}

// A link is written through to its file, as an editor would; a dangling one is replaced.
std::string ResolvedTarget(const std::string& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) {
        return path;
    }
    std::unique_ptr<char, decltype(&std::free)> real(::realpath(path.c_str(), nullptr), &std::free);
    return real ? std::string(real.get()) : path;
}

// A file of a fresh name in the target's folder (a rename across file systems would copy).
int CreateBeside(const std::string& target, mode_t mode, std::string& tempPath) {
    const std::size_t slash = target.rfind('/');
    const std::string folder =
        slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
    std::random_device seed;
    std::mt19937_64 random(seed());
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempPath = folder + "." + name + "." + std::to_string(random() % 1000000000) + ".tmp";
        const int fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    return -1;
}

}  // namespace

void ReplaceFileContent(const std::string& path, std::string_view bytes) {
    if (path.empty() || path.find('\0') != std::string::npos) {
        throw CFileException(CFileException::badPath, 0, path, CFileException::Operation::write);
    }
    const std::string target = ResolvedTarget(path);
    struct stat st {};
    bool exists = false;
    if (::stat(target.c_str(), &st) == 0) {
        if (!S_ISREG(st.st_mode)) {
            throw CMessageException("Cannot write file " + path + ": it is " + KindOf(st.st_mode) +
                                    ", not a regular file; nothing was written");
        }
        exists = true;
    } else if (errno != ENOENT) {
        ThrowErrno(errno, path);
    }

    std::string tempPath;
    const int fd = CreateBeside(target, 0666, tempPath);
    if (fd < 0) {
        ThrowErrno(errno, path);
    }
    auto fail = [&](int osError) {
        ::close(fd);
        ::unlink(tempPath.c_str());
        ThrowErrno(osError, path);
    };
    if (exists && ::fchmod(fd, st.st_mode & 07777) != 0) {
        fail(errno);
    }
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n =
            ::write(fd, bytes.data() + done, std::min<std::size_t>(bytes.size() - done, SSIZE_MAX));
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            fail(errno);
        }
        if (n == 0) {
            fail(EIO);
        }
        done += static_cast<std::size_t>(n);
    }
    // Every byte on the disk before the name moves: a crash after the rename must not leave
    // an empty file where the old one was.
    if (::fsync(fd) != 0) {
        fail(errno);
    }
    if (::close(fd) != 0) {
        const int err = errno;
        ::unlink(tempPath.c_str());
        ThrowErrno(err, path);
    }
    if (::rename(tempPath.c_str(), target.c_str()) != 0) {
        const int err = errno;
        ::unlink(tempPath.c_str());
        ThrowErrno(err, path);
    }
}
