// CDateField is the main window's date picker: a QDateEdit in the user's short date format that
// also takes a whole date typed or pasted over it in the forms people write, "2026-12-07",
// "07 Dec 2026", "December 7, 2026" or the short format itself, with English month names or
// the user's own.
//
// Typing over the whole selected date starts a plain text: the keys edit it as a line, not
// spread over the day, month and year as the date sections would, until Enter, Tab or the
// focus leaving ends it. Then a whole date sets the field, and anything else puts the previous
// date back. Within the date in its own format the keys edit its sections as in any date field.
//
//     CDateField::ParseTypedDate(QStringLiteral("07 Dec 2026"), QStringLiteral("M/d/yyyy"));
#pragma once

#include <QDateEdit>

#include <optional>

class CDateField : public QDateEdit {
    Q_OBJECT

public:
    explicit CDateField(QWidget* parent = nullptr);

    // The date a whole typed text names, in the forms above or `displayFormat`, or nothing.
    static std::optional<QDate> ParseTypedDate(const QString& text, const QString& displayFormat);

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    QValidator::State validate(QString& input, int& pos) const override;

private:
    void EndTyping();

    bool m_typing = false;
};
