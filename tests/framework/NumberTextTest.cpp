// The text form of numbers in the window's edit fields, and the Windows-1252 edge.
#include <gtest/gtest.h>

#include <limits>

#include "Cp1252.h"
#include "NumberText.h"

using namespace daybreak;

TEST(NumberText, ReadsWholeFiniteNumbersOnly) {
    const struct {
        const char* text;
        std::optional<double> value;
    } rows[] = {
        {"41.88", 41.88},
        {"  -87.63\t", -87.63},
        {"+6", 6.0},
        {"1e3", 1000.0},
        {".5", 0.5},
        {"0", 0.0},
        {"", std::nullopt},
        {"   ", std::nullopt},
        {"abc", std::nullopt},
        {"12abc", std::nullopt},
        {"1 2", std::nullopt},
        {"nan", std::nullopt},
        {"inf", std::nullopt},
        {"-inf", std::nullopt},
        {"1e400", std::nullopt},
        {"+-1", std::nullopt},
        {"41,88", std::nullopt},
        {"0x10", std::nullopt},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(ParseDoubleText(row.text), row.value) << '"' << row.text << '"';
    }
    EXPECT_EQ(ParseFloatText("-3.5"), -3.5f);
    EXPECT_EQ(ParseFloatText("1e39"), std::nullopt);  // a double, but no float
    EXPECT_EQ(ParseFloatText("x"), std::nullopt);
}

TEST(NumberText, WritesSignificantDigitsWithoutTrailingZeros) {
    const struct {
        double value;
        const char* text;
    } doubles[] = {
        {0.0, "0"},
        {41.88, "41.88"},
        {-98.35164, "-98.35164"},
        {6.0, "6"},
        {1e20, "1e+20"},
        {0.1 + 0.2, "0.3"},
        {123456789012345678.0, "1.23456789012346e+17"},
    };
    for (const auto& row : doubles) {
        EXPECT_EQ(FormatDoubleText(row.value), row.text);
    }
    EXPECT_EQ(FormatFloatText(6.1f), "6.1");
    EXPECT_EQ(FormatFloatText(-3.5f), "-3.5");
    EXPECT_EQ(FormatFloatText(1234567.0f), "1.23457e+06");
    // What is written reads back as the same double.
    for (const double value : {41.88, -87.63, 26.21466, 1.0 / 3.0}) {
        EXPECT_EQ(ParseDoubleText(FormatDoubleText(value)), std::stod(FormatDoubleText(value)));
    }
}

TEST(Cp1252, EveryByteSurvivesTheRoundTripAndUnknownCharactersBecomeQuestionMarks) {
    std::string all;
    for (int byte = 1; byte < 256; ++byte) {
        all.push_back(static_cast<char>(byte));
    }
    EXPECT_EQ(ToCp1252(FromCp1252(all)), all);
    EXPECT_EQ(FromCp1252("\x80\x9F\xFC"), QString::fromUtf8("€Ÿü"));
    EXPECT_EQ(ToCp1252(QString::fromUtf8("中 😀 ü")), "? ? \xFC");
}
