#include "FileText.h"

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD in UTF-8

// The length of the control character at `at` (1 for C0 and DEL, 2 for C1), or 0.
std::size_t ControlAt(std::string_view text, std::size_t at) {
    const auto byte = static_cast<unsigned char>(text[at]);
    if (byte < 0x20 || byte == 0x7F) {
        return 1;
    }
    if (byte == 0xC2 && at + 1 < text.size()) {
        const auto next = static_cast<unsigned char>(text[at + 1]);
        return next >= 0x80 && next <= 0x9F ? 2 : 0;
    }
    return 0;
}

// The code point of a control character of `length` bytes at `at`.
unsigned ControlCode(std::string_view text, std::size_t at, std::size_t length) {
    return length == 1 ? static_cast<unsigned char>(text[at])
                       : static_cast<unsigned char>(text[at + 1]);  // 0xC2 0x80-0x9F: U+0080-009F
}

// Copies `text`, replacing each control character but those `keep` accepts with U+FFFD.
template <typename Keep>
std::string ReplaceControls(std::string_view text, Keep keep) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = ControlAt(text, i);
        if (length == 0 || keep(text[i])) {
            out += text[i];
            ++i;
            continue;
        }
        out += kReplacement;
        i += length;
    }
    return out;
}

}  // namespace

std::string CsvField(std::string_view text) {
    bool quote = false;
    for (std::size_t i = 0; i < text.size() && !quote; ++i) {
        quote = text[i] == ',' || text[i] == '"' || ControlAt(text, i) != 0;
    }
    if (!quote) {
        return std::string(text);
    }
    const std::string clean = ReplaceControls(text, [](char c) { return c == '\n' || c == '\r'; });
    std::string out = "\"";
    for (const char c : clean) {
        out += c;
        if (c == '"') {
            out += '"';
        }
    }
    return out + "\"";
}

std::string JsonString(std::string_view text) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string out = "\"";
    out.reserve(text.size() + 2);
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = ControlAt(text, i);
        if (length != 0) {
            const unsigned code = ControlCode(text, i, length);
            out += "\\u00";
            out += kHex[code >> 4];
            out += kHex[code & 0xF];
            i += length;
            continue;
        }
        if (text[i] == '"' || text[i] == '\\') {
            out += '\\';
        }
        out += text[i];
        ++i;
    }
    return out + "\"";
}

std::string CalendarText(std::string_view text) {
    return ReplaceControls(text, [](char c) { return c == '\n'; });
}
