#include "ArchiveException.h"

CArchiveException::CArchiveException(Cause cause, std::string fileName)
    : m_cause(cause), m_strFileName(std::move(fileName)) {}

std::string CArchiveException::GetErrorMessage() const {
    // Each text is completed by " in archive NAME." or, for memory, ".".
    const char* text = "Unknown archive error";
    switch (m_cause) {
        case none:
            text = "No archive error";
            break;
        case genericException:
            text = "Unknown archive error";
            break;
        case readOnly:
            text = "Attempt to write to an archive opened for reading";
            break;
        case endOfFile:
            text = "Unexpected end of data";
            break;
        case writeOnly:
            text = "Attempt to read from an archive opened for writing";
            break;
        case badIndex:
            text = "Invalid data format";
            break;
        case badClass:
            text = "Unexpected object type";
            break;
        case badSchema:
            text = "Unsupported object version";
            break;
        case bufferFull:
            text = "Archive buffer full";
            break;
    }
    std::string message = text;
    if (!m_strFileName.empty()) {
        message += " in archive ";
        message += m_strFileName;
    }
    message += '.';
    return message;
}
