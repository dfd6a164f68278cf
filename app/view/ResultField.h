// CResultField is one of the main window's five read-only fields (the three times, the city and
// the county).
//
// It looks read-only the way the platform draws a read-only edit: framed, on the window's own
// colour with the window's text colour, not on the white of an input field; the colours follow
// the palette when the colour scheme changes. It takes the focus only when clicked, so Tab
// passes it by.
//
// It shows one text and keeps another: the full text, and what it shows, which may be a
// shorter form of it (ResultText.h) so that the whole text is seen at a glance; the tooltip is
// the full text unless another is given. The field always shows the start of its text.
#pragma once

#include <QLineEdit>
#include <QString>

class CResultField : public QLineEdit {
    Q_OBJECT

public:
    explicit CResultField(QWidget* parent = nullptr);

    // `shown` empty: shows `full`; `tooltip` empty: `full` is the tooltip.
    void SetResultText(const QString& full, const QString& shown = QString(),
                       const QString& tooltip = QString());
    QString FullText() const { return m_full; }

protected:
    void changeEvent(QEvent* event) override;

private:
    void ApplyReadOnlyPalette();

    QString m_full;
    bool m_applyingPalette = false;
};
