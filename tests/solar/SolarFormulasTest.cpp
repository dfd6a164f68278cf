#include <gtest/gtest.h>

#include <cmath>

#include "MonthInfo.h"
#include "SolarFormulas.h"
#include "SolarTerms.h"

namespace {

constexpr double kShortPi = 3.1415926;

// The sunrise/sunset formula for one day index, written out from the definitions, to check
// which day index the engine's two passes chose.
double EventForDayIndex(bool sunrise, int d, double lat, double lon) {
    const double gamma = d * 0.01721420602739726;
    const double delta = SolarDeclination(gamma);
    const double latRad = lat * kShortPi / 180;
    const double h = std::acos(std::cos(1.585334892421111) / (std::cos(latRad) * std::cos(delta)) -
                               std::tan(latRad) * std::tan(delta)) *
                     180 / kShortPi;
    return 720 + 4 * (sunrise ? lon - h : lon + h) - EquationOfTime(gamma);
}

TEST(SolarFormulas, SeriesAtTheStartOfTheYear) {
    EXPECT_NEAR(EquationOfTime(0), -2.90416896, 1e-12);
    EXPECT_NEAR(SolarDeclination(0), -0.399752, 1e-12);
    // The stored constants carry the short pi, not the full-precision one.
    EXPECT_DOUBLE_EQ(solar::kRadiansPerDay, 2 * kShortPi / 365);
    EXPECT_DOUBLE_EQ(solar::kZenith, 90.833 * kShortPi / 180);
}

TEST(SolarFormulas, PublishedEventMinutes) {
    struct Row {
        double lat, lon;
        int n;
        double sunrise, sunset, noon;
    };
    const Row rows[] = {
        {41.88, 87.63, 172, 615.79, 1528.14, 1071.85},   // Chicago, summer solstice
        {41.88, 87.63, 1, 797.24, 1349.61, 1073.42},     // Chicago, 1 January
        {13.44, -144.79, 172, -245.19, 529.52, 142.17},  // Guam: sunrise before 00:00 UTC
        {21.31, 157.86, 172, 950.17, 1755.59, 1352.77},  // Honolulu
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.lat << ", " << r.lon << ", n " << r.n);
        EXPECT_NEAR(SunriseMinutesUtc(r.n, r.lat, r.lon), r.sunrise, 0.005);
        EXPECT_NEAR(SunsetMinutesUtc(r.n, r.lat, r.lon), r.sunset, 0.005);
        EXPECT_NEAR(SolarNoonMinutesUtc(r.n, r.lon), r.noon, 0.005);
    }
}

TEST(SolarFormulas, SecondPassUsesTheDayOfTheFirstEstimate) {
    // Chicago, n 172: sunrise falls inside the UTC day (day index 171), sunset after 24:00 UTC
    // (day index 172).
    EXPECT_EQ(SunriseMinutesUtc(172, 41.88, 87.63), EventForDayIndex(true, 171, 41.88, 87.63));
    EXPECT_EQ(SunsetMinutesUtc(172, 41.88, 87.63), EventForDayIndex(false, 172, 41.88, 87.63));
    // Chicago, n 1: the sunset estimate with day index 1 (1350.39) is inside the day, so the
    // final pass uses day index 0 (1349.61).
    EXPECT_NEAR(EventForDayIndex(false, 1, 41.88, 87.63), 1350.39, 0.005);
    EXPECT_EQ(SunsetMinutesUtc(1, 41.88, 87.63), EventForDayIndex(false, 0, 41.88, 87.63));
    // Guam: a negative sunrise that is not a whole day early keeps day index 171.
    EXPECT_EQ(SunriseMinutesUtc(172, 13.44, -144.79), EventForDayIndex(true, 171, 13.44, -144.79));
}

TEST(SolarFormulas, DayCarryTruncatesTowardZero) {
    struct Row {
        double minutes;
        int carry;
    };
    const Row rows[] = {
        {0, 0},     {1439.99, 0},  {1440, -1},  {2879.99, -1}, {-1439.99, 0},
        {-1440, 1}, {-2879.99, 1}, {-59.99, 0}, {719.5, 0},    {2880, -2},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(solar::detail::DayCarry(r.minutes), r.carry) << r.minutes;
    }
}

TEST(SolarFormulas, SolarNoonCarryOnlyAtLongitude180) {
    const double e0 = EquationOfTime(0);
    const double e1 = EquationOfTime(0.01721420602739726);
    EXPECT_EQ(SolarNoonMinutesUtc(1, -180), 720 - 720 - e0);
    EXPECT_EQ(SolarNoonMinutesUtc(1, 179.999), 720 + 4 * 179.999 - e0);
    EXPECT_EQ(SolarNoonMinutesUtc(1, 180), 720 + 720 - e1);  // day index n, not n - 1
    // Sunrise and sunset at the two ends of the date line are a whole day apart.
    EXPECT_NEAR(SunriseMinutesUtc(80, 10, 180) - SunriseMinutesUtc(80, 10, -180), 1440, 1e-9);
    // Sunset at 180 first falls after 24:00 UTC and is recomputed with day index n.
    EXPECT_EQ(SunsetMinutesUtc(80, 10, 180), EventForDayIndex(false, 80, 10, 180));
    EXPECT_EQ(SunsetMinutesUtc(80, 10, -180), EventForDayIndex(false, 79, 10, -180));
}

TEST(MonthTables, LengthsAndSums) {
    int common = 0;
    int leap = 0;
    for (int i = 0; i < 12; ++i) {
        common += g_Months[i].m_nDays;
        leap += g_LeapMonths[i].m_nDays;
        EXPECT_EQ(g_Months[i].m_strName, g_LeapMonths[i].m_strName);
        EXPECT_EQ(g_Months[i].m_nDays, g_LeapMonths[i].m_nDays + (i == 1 ? -1 : 0));
    }
    EXPECT_EQ(common, 365);
    EXPECT_EQ(leap, 366);
    EXPECT_EQ(g_Months[0].m_strName, "January");
    EXPECT_EQ(g_Months[11].m_strName, "December");
}

}  // namespace
