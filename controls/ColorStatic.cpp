#include "ColorStatic.h"

#include <QMouseEvent>
#include <QPainter>

CColorStatic::CColorStatic(QWidget* parent) : CColorStatic(QString(), parent) {}

CColorStatic::CColorStatic(const QString& text, QWidget* parent)
    : QLabel(text, parent), m_crBackground(palette().color(QPalette::Window)) {
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void CColorStatic::SetTextColor(const QColor& color) {
    m_crText = color;
    if (isVisible()) {
        repaint();
    } else {
        update();
    }
}

void CColorStatic::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.fillRect(rect(), m_crBackground);
    painter.setPen(m_crText);
    painter.setFont(font());
    painter.drawText(contentsRect(), static_cast<int>(alignment()) | Qt::TextSingleLine, text());
}

void CColorStatic::mousePressEvent(QMouseEvent* event) {
    m_pressed = event->button() == Qt::LeftButton;
    event->accept();
}

void CColorStatic::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = m_pressed && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    m_pressed = false;
    event->accept();
    if (click) {
        emit clicked();
    }
}
