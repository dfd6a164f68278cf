#include "CoordinateText.h"

#include <cctype>
#include <string>

#include "NumberText.h"

namespace daybreak {

namespace {

std::string_view Trim(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) {
        text.remove_prefix(1);
    }
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) {
        text.remove_suffix(1);
    }
    return text;
}

// One coordinate: a number, or a number without sign and a hemisphere letter (`positive`
// keeps it, `negative` turns it), within `limit` degrees.
std::optional<double> Coordinate(std::string_view text, char positive, char negative,
                                 double limit) {
    text = Trim(text);
    double sign = 1;
    if (!text.empty()) {
        const char last = static_cast<char>(std::toupper(static_cast<unsigned char>(text.back())));
        if (last == positive || last == negative) {
            text = Trim(text.substr(0, text.size() - 1));
            if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
                return std::nullopt;  // a sign and a letter: which one meant it?
            }
            sign = last == negative ? -1 : 1;
        }
    }
    const std::optional<double> value = ParseDoubleText(text);
    if (!value || !(*value * sign >= -limit && *value * sign <= limit)) {
        return std::nullopt;
    }
    return *value * sign;
}

}  // namespace

std::optional<CCoordinatePair> ParseCoordinatePair(std::string_view text) {
    // A comma between the two, or else a blank after a hemisphere letter ("41.88N 87.63W").
    std::size_t split = text.find(',');
    std::size_t skip = 1;
    if (split == std::string_view::npos) {
        const std::string_view trimmed = Trim(text);
        for (std::size_t i = 0; i + 1 < trimmed.size(); ++i) {
            const char c = static_cast<char>(std::toupper(static_cast<unsigned char>(trimmed[i])));
            if ((c == 'N' || c == 'S') && trimmed[i + 1] == ' ') {
                text = trimmed;
                split = i + 1;
                skip = 0;
                break;
            }
        }
    }
    if (split == std::string_view::npos) {
        return std::nullopt;
    }
    const auto latitude = Coordinate(text.substr(0, split), 'N', 'S', 90);
    const auto longitude = Coordinate(text.substr(split + skip), 'E', 'W', 180);
    if (!latitude || !longitude) {
        return std::nullopt;
    }
    return CCoordinatePair{*latitude, *longitude};
}

}  // namespace daybreak
