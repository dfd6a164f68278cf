#include "LinkColor.h"

#include <algorithm>
#include <cmath>

namespace daybreak {

namespace {

// Relative luminance of an sRGB colour.
double Luminance(const QColor& colour) {
    auto channel = [](double value) {
        return value <= 0.04045 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
    };
    const QColor rgb = colour.toRgb();
    return 0.2126 * channel(rgb.redF()) + 0.7152 * channel(rgb.greenF()) +
           0.0722 * channel(rgb.blueF());
}

}  // namespace

double ContrastRatio(const QColor& a, const QColor& b) {
    const double la = Luminance(a);
    const double lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor WithContrast(const QColor& colour, const QColor& background, double minimum) {
    if (ContrastRatio(colour, background) >= minimum) {
        return colour;
    }
    const bool lighten = IsDarkBackground(background);
    QColor result = colour.toHsl();
    // Lightness moves a step at a time toward white or black; 255 steps reach either end.
    for (int step = 0; step < 255 && ContrastRatio(result, background) < minimum; ++step) {
        const int lightness = std::clamp(result.lightness() + (lighten ? 1 : -1), 0, 255);
        result.setHsl(result.hslHue(), result.hslSaturation(), lightness, result.alpha());
    }
    return result.toRgb();
}

}  // namespace daybreak
