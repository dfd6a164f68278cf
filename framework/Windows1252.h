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

// How Windows1252ToPrintable marks what must not reach a terminal as it is.
enum class EscapeStyle {
    // Every control character (C0, DEL and C1, U+0080 to U+009F) as \xHH of its code point;
    // nothing else changes, so ordinary text prints exactly as Windows1252ToUtf8 gives it.
    Controls,
    // The same, and tab, line feed, carriage return and backslash as \t, \n, \r and \\, so
    // that a field never splits a tab-separated line and every escape reads back one way.
    Field,
};

// Windows-1252 bytes that came from a file to UTF-8 fit to print on a terminal: the one
// routine for every line the command-line tool writes from archive text.
std::string Windows1252ToPrintable(std::string_view narrow,
                                   EscapeStyle style = EscapeStyle::Controls);

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

// UTF-8 from a user (an argument, a file name) fit to print as Windows1252ToPrintable prints
// archive text; bytes that are not UTF-8 of a Windows-1252 character are taken one by one, so
// no control byte passes either way.
std::string Utf8ToPrintable(std::string_view utf8);

// The Unicode character of one Windows-1252 byte.
char32_t Windows1252ToCodePoint(std::uint8_t byte);
