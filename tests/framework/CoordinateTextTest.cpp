#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "CoordinateText.h"

using daybreak::ParseCoordinatePair;

namespace {

// Map order, east positive, hemisphere letters for either sign; anything else is no pair.
TEST(CoordinatePair, ReadsThePairsMapsGiveAndNothingElse) {
    const struct {
        const char* text;
        std::optional<double> latitude;
        double longitudeEast;
    } rows[] = {
        {"41.88, -87.63", 41.88, -87.63},
        {"41.88,-87.63", 41.88, -87.63},
        {" 41.88N , 87.63W ", 41.88, -87.63},
        {"41.88N 87.63W", 41.88, -87.63},
        {"33.87 S, 151.21 E", -33.87, 151.21},
        {"0,0", 0, 0},
        {"41.88", std::nullopt, 0},
        {"91, 0", std::nullopt, 0},
        {"41.88, 181", std::nullopt, 0},
        {"-41.88S, 10", std::nullopt, 0},
        {"41.88, abc", std::nullopt, 0},
        {"41.88W, 87.63", std::nullopt, 0},
        {",", std::nullopt, 0},
    };
    for (const auto& row : rows) {
        const auto pair = ParseCoordinatePair(row.text);
        ASSERT_EQ(pair.has_value(), row.latitude.has_value()) << row.text;
        if (pair) {
            EXPECT_DOUBLE_EQ(pair->latitude, *row.latitude) << row.text;
            EXPECT_DOUBLE_EQ(pair->longitudeEast, row.longitudeEast) << row.text;
        }
    }
}

}  // namespace
