#include "Windows1252.h"

#include <cstdio>

namespace {

// Characters of bytes 80..9F; the five bytes the code page leaves undefined keep their own
// value (C1 controls) so that any byte string converts and comes back unchanged.
constexpr char32_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80..87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88..8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90..97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98..9F
};

// The byte of a character, or -1 when the code page lacks it.
int CodePointToWindows1252(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
        return static_cast<int>(cp);
    }
    for (int i = 0; i < 32; ++i) {
        if (kHighControls[i] == cp) {
            return 0x80 + i;
        }
    }
    return -1;
}

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

[[noreturn]] void Fail(const char* what, std::size_t offset, char32_t cp) {
    char message[96];
    if (cp == 0xFFFD) {
        std::snprintf(message, sizeof message, "malformed UTF-8 at byte %zu", offset);
    } else {
        std::snprintf(message, sizeof message, "character U+%04X at byte %zu %s",
                      static_cast<unsigned>(cp), offset, what);
    }
    throw CEncodingError(message, offset, cp);
}

}  // namespace

CEncodingError::CEncodingError(const std::string& message, std::size_t offset, char32_t codePoint)
    : CMessageException(message), m_offset(offset), m_codePoint(codePoint) {}

char32_t Windows1252ToCodePoint(std::uint8_t byte) {
    return byte >= 0x80 && byte < 0xA0 ? kHighControls[byte - 0x80] : byte;
}

std::string Windows1252ToUtf8(std::string_view narrow) {
    std::string out;
    out.reserve(narrow.size());
    for (char c : narrow) {
        AppendUtf8(out, Windows1252ToCodePoint(static_cast<std::uint8_t>(c)));
    }
    return out;
}

std::string Utf16ToWindows1252(std::u16string_view wide) {
    std::string out;
    out.reserve(wide.size());
    for (std::size_t i = 0; i < wide.size(); ++i) {
        char32_t cp = wide[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < wide.size() && wide[i + 1] >= 0xDC00 &&
            wide[i + 1] <= 0xDFFF) {
            ++i;  // a pair is one character, and none beyond U+FFFF is in the code page
            out += '?';
            continue;
        }
        int byte = CodePointToWindows1252(cp);
        out += byte < 0 ? '?' : static_cast<char>(byte);
    }
    return out;
}

std::string Utf8ToWindows1252(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        std::size_t start = i;
        auto lead = static_cast<std::uint8_t>(utf8[i++]);
        char32_t cp;
        int extra;
        char32_t minimum;
        if (lead < 0x80) {
            cp = lead;
            extra = 0;
            minimum = 0;
        } else if ((lead & 0xE0) == 0xC0) {
            cp = lead & 0x1F;
            extra = 1;
            minimum = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            cp = lead & 0x0F;
            extra = 2;
            minimum = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            cp = lead & 0x07;
            extra = 3;
            minimum = 0x10000;
        } else {
            Fail("", start, 0xFFFD);
        }
        for (int k = 0; k < extra; ++k) {
            if (i >= utf8.size() || (static_cast<std::uint8_t>(utf8[i]) & 0xC0) != 0x80) {
                Fail("", start, 0xFFFD);
            }
            cp = (cp << 6) | (static_cast<std::uint8_t>(utf8[i++]) & 0x3F);
        }
        if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            Fail("", start, 0xFFFD);
        }
        int byte = CodePointToWindows1252(cp);
        if (byte < 0) {
            Fail("has no Windows-1252 form", start, cp);
        }
        out += static_cast<char>(byte);
    }
    return out;
}

std::string Windows1252ToPrintable(std::string_view narrow, EscapeStyle style) {
    std::string out;
    out.reserve(narrow.size());
    for (const char c : narrow) {
        const char32_t cp = Windows1252ToCodePoint(static_cast<std::uint8_t>(c));
        if (style == EscapeStyle::Field) {
            const char* shortForm = c == '\t'   ? "\\t"
                                    : c == '\n' ? "\\n"
                                    : c == '\r' ? "\\r"
                                    : c == '\\' ? "\\\\"
                                                : nullptr;
            if (shortForm != nullptr) {
                out += shortForm;
                continue;
            }
        }
        if (cp < 0x20 || (cp >= 0x7F && cp <= 0x9F)) {
            static constexpr char kHex[] = "0123456789ABCDEF";
            out += "\\x";
            out += kHex[cp >> 4];
            out += kHex[cp & 0xF];
        } else {
            AppendUtf8(out, cp);
        }
    }
    return out;
}

std::string Utf8ToPrintable(std::string_view utf8) {
    // Characters of Windows-1252 print as archive text does; any other well-formed character
    // stays as it is (a file name in another script); control characters (C0, DEL, C1) and
    // bytes that are not UTF-8 become \xHH, one a byte.
    std::string out;
    out.reserve(utf8.size());
    auto escape = [&out](std::string_view bytes) {
        static constexpr char kHex[] = "0123456789ABCDEF";
        for (const char c : bytes) {
            const auto b = static_cast<unsigned char>(c);
            out += "\\x";
            out += kHex[b >> 4];
            out += kHex[b & 0xF];
        }
    };
    std::size_t i = 0;
    while (i < utf8.size()) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const std::size_t length = lead < 0x80           ? 1
                                   : (lead >> 5) == 0x6  ? 2
                                   : (lead >> 4) == 0xE  ? 3
                                   : (lead >> 3) == 0x1E ? 4
                                                         : 0;
        bool valid = length > 0 && i + length <= utf8.size();
        for (std::size_t k = 1; valid && k < length; ++k) {
            valid = (static_cast<unsigned char>(utf8[i + k]) & 0xC0) == 0x80;
        }
        if (!valid) {
            escape(utf8.substr(i, 1));
            ++i;
            continue;
        }
        const std::string_view character = utf8.substr(i, length);
        const bool control =
            (length == 1 && (lead < 0x20 || lead == 0x7F)) ||
            (length == 2 && lead == 0xC2 && static_cast<unsigned char>(utf8[i + 1]) < 0xA0);
        if (control) {
            escape(length == 1 ? character : character.substr(1));
        } else {
            out += character;
        }
        i += length;
    }
    return out;
}
