#pragma once
// The one error type of the solar engine. what() is a complete sentence for the user, shown
// as it stands in a message box or on a terminal.

#include <exception>
#include <string>

class CSolarException : public std::exception {
public:
    enum class Cause {
        NonFiniteInput,  // latitude, longitude or offset is NaN, infinite or far too large
        BadDate,         // the date cannot be read, or lies outside the years supported
        TableTooLong,    // a table of more days than LocalSolarTable makes
    };

    CSolarException(Cause cause, std::string message)
        : m_cause(cause), m_message(std::move(message)) {}

    Cause GetCause() const noexcept { return m_cause; }
    const char* what() const noexcept override { return m_message.c_str(); }

private:
    Cause m_cause;
    std::string m_message;
};

inline constexpr const char* kNonFiniteInputMessage =
    "Cannot compute: latitude, longitude and offset must be finite numbers";
