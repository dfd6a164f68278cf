#include "ErrorReporter.h"

#include "Exception.h"

void CCollectingErrorReporter::ReportError(const CException& error) {
    m_messages.push_back(error.GetErrorMessage());
}

CStreamErrorReporter::CStreamErrorReporter(std::ostream& out, std::string prefix)
    : m_out(out), m_prefix(std::move(prefix)) {}

void CStreamErrorReporter::ReportError(const CException& error) {
    m_out << m_prefix << error.GetErrorMessage() << '\n';
    m_out.flush();
}
