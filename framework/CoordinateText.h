// A place's latitude and longitude written as maps and phones give them: "41.88, -87.63",
// "41.88,-87.63", "41.88N 87.63W", "33.87 S, 151.21 E". The latitude comes first, north
// positive; the longitude second, EAST positive; a hemisphere letter after a number (N or S,
// E or W) gives its sign instead of a minus. Both must lie in their ranges (-90 to 90, -180 to
// 180).
//
//     const auto place = daybreak::ParseCoordinatePair("41.88, -87.63");
//     place->latitude;       // 41.88
//     place->longitudeEast;  // -87.63; the window and the tool turn it west positive
#pragma once

#include <optional>
#include <string_view>

namespace daybreak {

struct CCoordinatePair {
    double latitude = 0;       // degrees, north positive
    double longitudeEast = 0;  // degrees, east positive
};

// Nothing when the text is not such a pair.
std::optional<CCoordinatePair> ParseCoordinatePair(std::string_view text);

}  // namespace daybreak
