// CException is the root of the failures the platform layer raises: a file that cannot be
// opened or read (CFileException), an archive whose data ends early or is used the wrong way
// round (CArchiveException). Every one of them can say what went wrong in one sentence meant
// for the user, so a caller that catches CException can show any of them the same way:
//
//     try { ... } catch (const CException& e) { e.ReportError(reporter); }
//
// Messages are UTF-8 text; file names appear in them as the bytes of the path.
#pragma once

#include <exception>
#include <string>

class IErrorReporter;

class CException : public std::exception {
public:
    ~CException() override;

    // The standard message for this failure, one sentence for the user.
    virtual std::string GetErrorMessage() const = 0;

    // Shows the standard message through the reporter (a message box in the window, standard
    // error in the command-line tool).
    void ReportError(IErrorReporter& reporter) const;

    // The same text as GetErrorMessage(), for code that only knows std::exception.
    const char* what() const noexcept override;

protected:
    CException() = default;
    CException(const CException&) = default;
    CException& operator=(const CException&) = default;

private:
    mutable std::string m_what;
};
