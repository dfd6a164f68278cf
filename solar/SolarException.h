#pragma once
// The one error type of the solar engine. what() is a complete sentence for the user, shown
// as it stands in a message box or on a terminal.

#include <string>
#include <utility>

#include "Exception.h"

class CSolarException : public CMessageException {
public:
    enum class Cause {
        NonFiniteInput,  // latitude, longitude or offset is NaN, infinite or far too large
        BadDate,         // the date cannot be read, or lies outside the years supported
        TableTooLong,    // a table of more days than LocalSolarTable makes
    };

    CSolarException(Cause cause, std::string message)
        : CMessageException(std::move(message)), m_cause(cause) {}

    Cause GetCause() const noexcept { return m_cause; }

private:
    Cause m_cause;
};

inline constexpr const char* kNonFiniteInputMessage =
    "Cannot compute: latitude, longitude and offset must be finite numbers";
