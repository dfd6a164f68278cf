#include "NumberText.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace daybreak {
namespace {

constexpr int kDoubleDigits = 15;  // significant digits a double keeps through text
constexpr int kFloatDigits = 6;    // the same for a float

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

template <typename T>
std::string Format(T value, int digits) {
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, digits);
    return std::string(buffer, result.ptr);
}

}  // namespace

std::string FormatDoubleText(double value) {
    return Format(value, kDoubleDigits);
}

// Widened to double first, so that a float shows the digits of its own value (6.1f reads
// "6.1", not "6.0999999").
std::string FormatFloatText(float value) {
    return Format(static_cast<double>(value), kFloatDigits);
}

std::optional<double> ParseDoubleText(std::string_view text) {
    text = Trim(text);
    // from_chars takes no leading '+', which people type; a second sign stays an error.
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
            return std::nullopt;
        }
    }
    if (text.empty()) {
        return std::nullopt;
    }
    double value = 0.0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec != std::errc() || result.ptr != text.data() + text.size() ||
        !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

std::optional<float> ParseFloatText(std::string_view text) {
    const auto value = ParseDoubleText(text);
    if (!value || std::fabs(*value) > static_cast<double>(std::numeric_limits<float>::max())) {
        return std::nullopt;
    }
    return static_cast<float>(*value);
}

}  // namespace daybreak
