// CFileException: a file could not be opened, read, written or closed. It keeps the cause as
// a portable code, the operating system's errno, the file's path and the operation that
// failed, and builds its standard message from them, e.g.
//
//     Cannot open file /opt/daybreak/bin/timezone.arc.TX: No such file or directory
#pragma once

#include <string>

#include "Exception.h"

class CFileException : public CException {
public:
    enum Cause {
        none,
        genericException,
        fileNotFound,
        badPath,
        tooManyOpenFiles,
        accessDenied,
        invalidFile,
        removeCurrentDir,
        directoryFull,
        badSeek,
        hardIO,
        sharingViolation,
        lockViolation,
        diskFull,
        endOfFile,
    };

    // What was being done when the failure struck; it picks the message's verb.
    enum class Operation { open, read, write, seek, close };

    CFileException() = default;
    CFileException(Cause cause, int osError, std::string fileName,
                   Operation operation = Operation::open);

    // Maps an errno value to the portable cause.
    static Cause CauseFromErrno(int osError);

    // A failure with no system error behind it and a reason of its own, e.g. "not a regular
    // file" or "larger than a state archive can be (8 MiB)".
    static CFileException WithReason(std::string fileName, Operation operation, std::string reason);

    std::string GetErrorMessage() const override;
    // The message's reason alone ("No such file or directory", "not a regular file").
    std::string GetReason() const;

    Cause m_cause = none;
    int m_lOsError = 0;  // errno, or 0 when the failure has no system error behind it
    std::string m_strFileName;
    Operation m_operation = Operation::open;
    std::string m_strReason;  // when set, shown instead of the system's or the cause's text
};
