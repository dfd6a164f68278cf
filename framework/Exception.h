// CException is the one root of the program's errors. Every failure can say what went wrong
// in one sentence meant for the user, so a caller that catches CException can show any of them
// the same way:
//
//     try { ... } catch (const CException& e) { e.ReportError(reporter); }
//
// The family, by what each one means:
//   CFileException      a file could not be opened, read, written or closed (FileException.h)
//   CArchiveException   an archive's data ended or made no sense, or it was used the wrong
//                       way round; endOfFile is the normal end of a load (ArchiveException.h)
//   CMessageException   an error whose sentence is fixed where it is thrown; its subclasses:
//     CSolarException   the solar engine refused an input (SolarException.h)
//     CEncodingError    text with no Windows-1252 form, or malformed UTF-8 (Windows1252.h)
//     CCliError         a bad command line of daybreak-cli (CliOptions.h)
//       CPlaceDataError an archive a nationwide search needed could not be read (PlaceCommands.h)
//     CArchiveNote      a problem inside an archive's data that a load survives: a record
//                       skipped, a cut or damaged end (StateArchive.h)
//     CYearZoneError    a year asked for on a zone the time-zone database lacks (YearTable.h)
//     CYearExportError  the calendar library could not build a year's file (YearExport.h)
//     CPackError        a place list that cannot be packed into archives (PlacesPacker.h)
//     CDataEncodeError  entries one of our data files cannot hold (DataFile.h)
//     CDataFileNote     a data file beside the archives missing or unreadable: the program
//                       goes on without it (DataFile.h)
//   CUserException      a dialog's data exchange stopped at a field the user must correct;
//                       the user has been told already, so it is never reported again
//
// Messages are UTF-8 text; file names appear in them as the bytes of the path.
#pragma once

#include <exception>
#include <string>
#include <utility>

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

// An error whose message is complete when it is thrown.
class CMessageException : public CException {
public:
    explicit CMessageException(std::string message) : m_message(std::move(message)) {}

    std::string GetErrorMessage() const override { return m_message; }
    const char* what() const noexcept override { return m_message.c_str(); }

private:
    std::string m_message;
};

// Stops a dialog's data exchange at a field that did not parse. The exchange has shown its
// message and moved the focus there; the handler that started the run just ends.
class CUserException : public CException {
public:
    CUserException() = default;
    std::string GetErrorMessage() const override { return {}; }
};
