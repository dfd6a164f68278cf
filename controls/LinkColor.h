// Link colours that stay readable on the background they are drawn on.
//
// The program's links have fixed colours made for a light background: the main window's
// "Help..." is pure blue, the About box's link RGB(0, 0, 238) and its visited colour a dark
// purple. On a dark colour scheme those hardly show, so there a link takes the palette's own
// link colour (QPalette::Link, or QPalette::LinkVisited for a visited link), which a dark scheme
// makes light:
//
//     help->SetTextColor(daybreak::LinkColorOn(help->BackgroundColor(), help->palette(),
//                                               QColor(0, 0, 255)));
#pragma once

#include <QColor>
#include <QPalette>

namespace daybreak {

// Dark: less than half the full HSL lightness.
inline bool IsDarkBackground(const QColor& background) {
    return background.lightness() < 128;
}

// `preferred` on a light background; the palette's `role` colour on a dark one.
inline QColor LinkColorOn(const QColor& background, const QPalette& palette,
                          const QColor& preferred, QPalette::ColorRole role = QPalette::Link) {
    return IsDarkBackground(background) ? palette.color(role) : preferred;
}

}  // namespace daybreak
