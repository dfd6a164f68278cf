#include "ResultField.h"

#include <QEvent>
#include <QPalette>
#include <QSignalBlocker>

CResultField::CResultField(QWidget* parent) : QLineEdit(parent) {
    setReadOnly(true);
    setFocusPolicy(Qt::ClickFocus);
    ApplyReadOnlyPalette();
}

void CResultField::SetResultText(const QString& full, const QString& shown,
                                 const QString& tooltip) {
    m_full = full;
    const QSignalBlocker quiet(this);
    setText(shown.isEmpty() ? full : shown);
    setCursorPosition(0);
    setToolTip(tooltip.isEmpty() ? full : tooltip);
}

void CResultField::changeEvent(QEvent* event) {
    QLineEdit::changeEvent(event);
    // A new colour scheme reaches the field as a palette change of its own.
    if (event->type() == QEvent::PaletteChange && !m_applyingPalette) {
        ApplyReadOnlyPalette();
    }
}

// Only the field's base and text roles are set here; every other role, the window colour
// among them, still comes from the parent, so the next scheme change brings new values to copy.
void CResultField::ApplyReadOnlyPalette() {
    QPalette read = palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        read.setColor(group, QPalette::Base, read.color(group, QPalette::Window));
        read.setColor(group, QPalette::Text, read.color(group, QPalette::WindowText));
    }
    if (read == palette()) {
        return;
    }
    m_applyingPalette = true;
    setPalette(read);
    m_applyingPalette = false;
}
