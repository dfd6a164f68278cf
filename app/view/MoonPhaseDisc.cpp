#include "MoonPhaseDisc.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>

CMoonPhaseDisc::CMoonPhaseDisc(double fraction, double elongation, QWidget* parent)
    : QWidget(parent), m_fraction(std::clamp(fraction, 0.0, 1.0)), m_waxing(elongation < 180) {
    setAccessibleName(QStringLiteral("Moon phase, %1% lit").arg(m_fraction * 100, 0, 'f', 1));
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

QSize CMoonPhaseDisc::sizeHint() const {
    const int side = fontMetrics().height() * 4;
    return {side, side};
}

void CMoonPhaseDisc::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const double r = std::min(width(), height()) / 2.0 - 2;
    painter.translate(width() / 2.0, height() / 2.0);
    painter.setPen(QPen(palette().color(QPalette::WindowText), 1));
    painter.setBrush(QColor(0x3a, 0x3f, 0x4a));
    painter.drawEllipse(QPointF(0, 0), r, r);
    if (!m_waxing) {
        painter.scale(-1, 1);  // the waning Moon is lit on the left
    }
    // The lit limb is a half circle on the right; the terminator a half ellipse whose width
    // shrinks to nothing at the quarters and bulges right for a crescent, left for gibbous.
    const QRectF circle(-r, -r, 2 * r, 2 * r);
    const double rx = r * std::abs(1 - 2 * m_fraction);
    QPainterPath lit;
    lit.moveTo(0, -r);
    lit.arcTo(circle, 90, -180);
    lit.arcTo(QRectF(-rx, -r, 2 * rx, 2 * r), 270, m_fraction < 0.5 ? 180 : -180);
    lit.closeSubpath();
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0xf4, 0xf1, 0xde));
    painter.drawPath(lit);
}
