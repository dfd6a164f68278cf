#include "FileException.h"

#include "Windows1252.h"

#include <cerrno>
#include <cstring>

namespace {

const char* CauseText(CFileException::Cause cause) {
    switch (cause) {
        case CFileException::none:
            return "no error";
        case CFileException::genericException:
            return "unspecified error";
        case CFileException::fileNotFound:
            return "file not found";
        case CFileException::badPath:
            return "invalid path";
        case CFileException::tooManyOpenFiles:
            return "too many open files";
        case CFileException::accessDenied:
            return "access denied";
        case CFileException::invalidFile:
            return "invalid file";
        case CFileException::removeCurrentDir:
            return "cannot remove the current directory";
        case CFileException::directoryFull:
            return "directory full";
        case CFileException::badSeek:
            return "cannot seek";
        case CFileException::hardIO:
            return "hardware input/output error";
        case CFileException::sharingViolation:
            return "sharing violation";
        case CFileException::lockViolation:
            return "lock violation";
        case CFileException::diskFull:
            return "disk full";
        case CFileException::endOfFile:
            return "unexpected end of file";
    }
    return "unspecified error";
}

const char* OperationVerb(CFileException::Operation op) {
    switch (op) {
        case CFileException::Operation::open:
            return "open";
        case CFileException::Operation::read:
            return "read";
        case CFileException::Operation::write:
            return "write";
        case CFileException::Operation::seek:
            return "seek in";
        case CFileException::Operation::close:
            return "close";
    }
    return "use";
}

}  // namespace

CFileException::CFileException(Cause cause, int osError, std::string fileName, Operation operation)
    : m_cause(cause),
      m_lOsError(osError),
      m_strFileName(std::move(fileName)),
      m_operation(operation) {}

CFileException::Cause CFileException::CauseFromErrno(int osError) {
    switch (osError) {
        case 0:
            return none;
        case ENOENT:
            return fileNotFound;
        case ENOTDIR:
        case ENAMETOOLONG:
        case ELOOP:
        case EINVAL:
            return badPath;
        case EMFILE:
        case ENFILE:
            return tooManyOpenFiles;
        case EACCES:
        case EPERM:
        case EROFS:
        case EISDIR:
            return accessDenied;
        case EBADF:
            return invalidFile;
        case ESPIPE:
            return badSeek;
        case EIO:
            return hardIO;
        case EBUSY:
        case ETXTBSY:
            return sharingViolation;
        case ENOLCK:
        case EDEADLK:
            return lockViolation;
        case ENOSPC:
        case EDQUOT:
        case EFBIG:
            return diskFull;
        default:
            return genericException;
    }
}

CFileException CFileException::WithReason(std::string fileName, Operation operation,
                                          std::string reason) {
    CFileException error(invalidFile, 0, std::move(fileName), operation);
    error.m_strReason = std::move(reason);
    return error;
}

std::string CFileException::GetReason() const {
    if (!m_strReason.empty()) {
        return m_strReason;
    }
    return m_lOsError != 0 ? std::strerror(m_lOsError) : CauseText(m_cause);
}

std::string CFileException::GetErrorMessage() const {
    std::string message = "Cannot ";
    message += OperationVerb(m_operation);
    message += " file";
    if (!m_strFileName.empty()) {
        message += ' ';
        message += Utf8ToPrintable(m_strFileName);  // a name the user typed: no control bytes
    }
    message += ": ";
    return message + GetReason();
}
