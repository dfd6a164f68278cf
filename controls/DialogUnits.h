// Dialog units: the layout unit of every window of the program. Positions and sizes are given in
// these units and turned into pixels from the dialog's font, so that a larger font gives a
// proportionally larger window.
//
// One horizontal unit is a quarter of the font's average character width and one vertical unit
// an eighth of its height. The average character width is the advance of the 52 letters "a".."z"
// and "A".."Z" divided by 52, rounded to the nearest pixel; the height is QFontMetrics::height().
// Conversions round to the nearest pixel (halves away from zero).
//
//     DialogUnits du(dialog->font());
//     okButton->setGeometry(du.ToPixels(353, 7, 50, 14));
//     dialog->resize(du.ToPixels(QSize(410, 270)));
//
// FitDialogFont picks a smaller font for a dialog that would not fit on its screen in the
// font it was given (a large desktop font, 2x scaling on a small screen).
#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QRect>
#include <QSize>
#include <QString>

namespace daybreak {

class DialogUnits {
public:
    explicit DialogUnits(const QFont& font) {
        const QFontMetrics metrics(font);
        static const QString kLetters =
            QStringLiteral("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ");
        m_baseX = (metrics.horizontalAdvance(kLetters) + 26) / 52;
        m_baseY = metrics.height();
        if (m_baseX < 1) {
            m_baseX = 1;
        }
        if (m_baseY < 1) {
            m_baseY = 1;
        }
    }

    // Pixels per four horizontal units and per eight vertical units.
    int BaseX() const { return m_baseX; }
    int BaseY() const { return m_baseY; }

    int ToPixelsX(int units) const { return Scale(units, m_baseX, 4); }
    int ToPixelsY(int units) const { return Scale(units, m_baseY, 8); }

    QSize ToPixels(QSize units) const {
        return {ToPixelsX(units.width()), ToPixelsY(units.height())};
    }
    QRect ToPixels(int x, int y, int width, int height) const {
        return {ToPixelsX(x), ToPixelsY(y), ToPixelsX(width), ToPixelsY(height)};
    }

private:
    static int Scale(int units, int base, int divisor) {
        const long long product = static_cast<long long>(units) * base;
        const long long half = divisor / 2;
        return static_cast<int>(product >= 0 ? (product + half) / divisor
                                             : -((-product + half) / divisor));
    }

    int m_baseX = 1;
    int m_baseY = 1;
};

// The font in which a dialog of `units` dialog units, plus `extra` pixels around them (menu
// bar, window frame), fits into `available` pixels: `font` itself when it fits, else the
// largest smaller size in steps of half a point (of a pixel for a font sized in pixels),
// never below 6 points (8 pixels); at that floor the dialog may still be too large.
inline QFont FitDialogFont(const QFont& font, QSize units, QSize extra, QSize available) {
    const auto fits = [&](const QFont& candidate) {
        const QSize size = DialogUnits(candidate).ToPixels(units) + extra;
        return size.width() <= available.width() && size.height() <= available.height();
    };
    if (available.isEmpty() || fits(font)) {
        return font;
    }
    const bool inPoints = font.pointSizeF() > 0;
    const double step = inPoints ? 0.5 : 1.0;
    const double smallest = inPoints ? 6.0 : 8.0;
    double size = inPoints ? font.pointSizeF() : font.pixelSize();
    QFont fitted = font;
    while (size - step >= smallest) {
        size -= step;
        if (inPoints) {
            fitted.setPointSizeF(size);
        } else {
            fitted.setPixelSize(static_cast<int>(size));
        }
        if (fits(fitted)) {
            break;
        }
    }
    return fitted;
}

}  // namespace daybreak
