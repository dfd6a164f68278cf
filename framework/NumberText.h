// Text form of the numbers in the window's edit fields.
//
// A double shows with 15 significant digits and a float with 6, in general notation without
// trailing zeros ("41.88", "6", "-3.5", "1e+20"). Reading accepts a whole finite number after
// the blanks around it are trimmed: "41.88", " 6 ", "+2", "1e3". Anything else ("", "abc",
// "12abc", "nan", "inf", "1e400") is refused, and so is a float text whose value does not fit
// a float. The decimal point is always '.', whatever the user's locale.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace daybreak {

std::string FormatDoubleText(double value);
std::string FormatFloatText(float value);

std::optional<double> ParseDoubleText(std::string_view text);
std::optional<float> ParseFloatText(std::string_view text);

}  // namespace daybreak
