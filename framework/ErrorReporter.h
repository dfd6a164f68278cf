// IErrorReporter is the one place where a failure is shown to a person. The window shows a
// message box with an OK button; the command-line tool writes a line to standard error; tests
// collect the messages. The caller has already decided that the failure must be shown: the
// normal end of an archive's data, for one, never reaches a reporter.
#pragma once

#include <ostream>
#include <string>
#include <vector>

class CException;

class IErrorReporter {
public:
    virtual ~IErrorReporter() = default;

    // Shows the failure's standard message (CException::GetErrorMessage()).
    virtual void ReportError(const CException& error) = 0;
};

// Keeps each message in order, for a caller that shows them later or keeps one as the reason a
// file is unavailable ("timezone.zones is missing").
class CCollectingErrorReporter : public IErrorReporter {
public:
    void ReportError(const CException& error) override;
    const std::vector<std::string>& Messages() const { return m_messages; }
    // The first message, or "".
    std::string First() const { return m_messages.empty() ? std::string() : m_messages.front(); }

private:
    std::vector<std::string> m_messages;
};

// Writes each message as one line to a stream, after an optional prefix such as
// "daybreak-cli: ".
class CStreamErrorReporter : public IErrorReporter {
public:
    explicit CStreamErrorReporter(std::ostream& out, std::string prefix = {});
    void ReportError(const CException& error) override;

private:
    std::ostream& m_out;
    std::string m_prefix;
};
