#include "Exception.h"

#include "ErrorReporter.h"

CException::~CException() = default;

void CException::ReportError(IErrorReporter& reporter) const {
    reporter.ReportError(*this);
}

const char* CException::what() const noexcept {
    try {
        m_what = GetErrorMessage();
    } catch (...) {
        return "error";
    }
    return m_what.c_str();
}
