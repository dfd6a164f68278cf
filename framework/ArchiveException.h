// CArchiveException: an archive could not go on. The cause endOfFile is the normal end of a
// stream of records (a read needed more bytes than remain); the others are faults: a read
// through a storing archive (writeOnly), a write through a loading one (readOnly), data that
// makes no sense (badIndex, badClass, badSchema) or anything else (genericException).
#pragma once

#include <string>

#include "Exception.h"

class CArchiveException : public CException {
public:
    enum Cause {
        none,
        genericException,
        readOnly,
        endOfFile,
        writeOnly,
        badIndex,
        badClass,
        badSchema,
        bufferFull,
    };

    CArchiveException() = default;
    explicit CArchiveException(Cause cause, std::string fileName = {});

    // e.g. "Unexpected end of data in archive /opt/daybreak/bin/timezone.arc.TX."
    std::string GetErrorMessage() const override;

    Cause m_cause = none;
    std::string m_strFileName;  // path of the file under the archive, empty for memory
};
