// Link colours that stay readable on the background they are drawn on.
//
// The program's links have fixed colours made for a light background: the main window's
// "Help..." is pure blue, the About box's link RGB(0, 0, 238) and its visited colour a dark
// purple. On a dark colour scheme those hardly show, so there a link takes the palette's own
// link colour (QPalette::Link, or QPalette::LinkVisited for a visited link), which a dark scheme
// makes light. Whichever colour is chosen is then lightened (on a dark background) or darkened
// (on a light one) until it has at least the 4.5:1 contrast that WCAG asks of body text:
//
//     help->SetTextColor(daybreak::LinkColorOn(help->BackgroundColor(), help->palette(),
//                                               QColor(0, 0, 255)));
#pragma once

#include <QColor>
#include <QPalette>

namespace daybreak {

inline constexpr double kLinkContrast = 4.5;

// Dark: less than half the full HSL lightness.
inline bool IsDarkBackground(const QColor& background) {
    return background.lightness() < 128;
}

// WCAG 2 contrast ratio of two colours, 1 to 21.
double ContrastRatio(const QColor& a, const QColor& b);

// `colour` made lighter or darker, keeping its hue, until it has `minimum` contrast on
// `background` (or is white or black).
QColor WithContrast(const QColor& colour, const QColor& background, double minimum = kLinkContrast);

// `preferred` on a light background, the palette's `role` colour on a dark one; either with
// enough contrast to read.
inline QColor LinkColorOn(const QColor& background, const QPalette& palette,
                          const QColor& preferred, QPalette::ColorRole role = QPalette::Link) {
    return WithContrast(IsDarkBackground(background) ? palette.color(role) : preferred, background);
}

}  // namespace daybreak
