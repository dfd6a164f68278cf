// Windows-1252 is the narrow character set of the location archives: their strings are kept
// as Windows-1252 bytes and converted to Unicode only where a person sees them.
//
// The five bytes the code page leaves undefined (81, 8D, 8F, 90, 9D) map to the C1 control
// characters of the same value and back, so every byte string survives a round trip.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "Exception.h"

// Windows-1252 bytes to UTF-8. Never fails.
std::string Windows1252ToUtf8(std::string_view narrow);

// UTF-16 to Windows-1252; a character the code page lacks, an unpaired surrogate included,
// becomes "?" (one "?" per character, so a surrogate pair gives one).
std::string Utf16ToWindows1252(std::u16string_view wide);

// Thrown by Utf8ToWindows1252 for malformed UTF-8 or a character the code page lacks.
class CEncodingError : public CMessageException {
public:
    CEncodingError(const std::string& message, std::size_t offset, char32_t codePoint);
    std::size_t m_offset;  // byte offset of the offending sequence in the UTF-8 input
    char32_t m_codePoint;  // the character, or 0xFFFD for malformed UTF-8
};

// UTF-8 to Windows-1252, for writing archives. Throws CEncodingError for malformed UTF-8 or a
// character with no Windows-1252 form, e.g. "character U+4E2D at byte 3 has no Windows-1252
// form".
std::string Utf8ToWindows1252(std::string_view utf8);

// The Unicode character of one Windows-1252 byte.
char32_t Windows1252ToCodePoint(std::uint8_t byte);
