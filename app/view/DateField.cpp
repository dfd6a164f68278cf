#include "DateField.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QSignalBlocker>
#include <QStringList>

CDateField::CDateField(QWidget* parent) : QDateEdit(parent) {}

std::optional<QDate> CDateField::ParseTypedDate(const QString& text, const QString& displayFormat) {
    static const QStringList kForms = {
        QStringLiteral("yyyy-MM-dd"),      QStringLiteral("yyyy-M-d"),
        QStringLiteral("d MMM yyyy"),      QStringLiteral("d MMMM yyyy"),
        QStringLiteral("MMM d yyyy"),      QStringLiteral("MMMM d yyyy"),
        QStringLiteral("MMM d, yyyy"),     QStringLiteral("MMMM d, yyyy"),
        QStringLiteral("d. MMMM yyyy"),    QStringLiteral("d. MMM yyyy"),
        QStringLiteral("ddd, d MMM yyyy"),
    };
    // Runs of blanks count as one; the year has four digits.
    const QString whole = text.simplified();
    if (whole.isEmpty()) {
        return std::nullopt;
    }
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    for (const QLocale& locale : {QLocale(), english}) {
        for (const QString& form : QStringList{displayFormat} + kForms) {
            const QDate date = locale.toDate(whole, form);
            if (date.isValid() && date.year() >= 1000) {
                return date;
            }
        }
    }
    return std::nullopt;
}

// Tab moves between the date sections or on to the next field before keyPressEvent sees it.
bool CDateField::event(QEvent* event) {
    if (m_typing && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Tab || key == Qt::Key_Backtab) {
            EndTyping();
        }
    }
    return QDateEdit::event(event);
}

void CDateField::keyPressEvent(QKeyEvent* event) {
    QLineEdit* line = lineEdit();
    const bool printable = !event->text().isEmpty() && event->text().at(0).isPrint() &&
                           !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    const bool erasing = event->key() == Qt::Key_Backspace || event->key() == Qt::Key_Delete;
    const bool wholeSelected = line->hasSelectedText() && line->selectedText() == line->text();
    if (printable && wholeSelected) {
        m_typing = true;
    }
    if (m_typing &&
        (printable || erasing || event->key() == Qt::Key_Left || event->key() == Qt::Key_Right ||
         event->key() == Qt::Key_Home || event->key() == Qt::Key_End)) {
        // The line alone takes the key: the date sections would read every change of the text
        // or of the cursor as an edit of one of them and put the old date back.
        const QSignalBlocker quiet(line);
        line->event(event);
        return;
    }
    if (m_typing) {
        // Enter, Tab, Escape, the arrows up and down: the typed text ends first.
        EndTyping();
    }
    QDateEdit::keyPressEvent(event);
}

void CDateField::focusOutEvent(QFocusEvent* event) {
    EndTyping();
    QDateEdit::focusOutEvent(event);
}

// While a text is typed any text goes: it is read when the typing ends.
QValidator::State CDateField::validate(QString& input, int& pos) const {
    return m_typing ? QValidator::Intermediate : QDateEdit::validate(input, pos);
}

void CDateField::EndTyping() {
    if (!m_typing) {
        return;
    }
    m_typing = false;
    const std::optional<QDate> typed = ParseTypedDate(lineEdit()->text(), displayFormat());
    const QDate date =
        typed && *typed >= minimumDate() && *typed <= maximumDate() ? *typed : this->date();
    // Shown in the field's own format, with dateChanged() when the date is new.
    setDate(date);
    lineEdit()->setText(textFromDateTime(QDateTime(date, QTime(0, 0))));
}
