#include "DataExchange.h"

#include "Cp1252.h"
#include "NumberText.h"

#include <QAbstractButton>
#include <QDateEdit>
#include <QLineEdit>
#include <QSignalBlocker>

#include <utility>

namespace daybreak {
namespace {

template <typename T, typename Parse, typename Format>
bool ExchangeNumber(CQtDataExchange& dx, QLineEdit* edit, T& value, Parse parse, Format format) {
    if (dx.m_bSaveAndValidate) {
        const auto parsed = parse(edit->text().toStdString());
        if (!parsed) {
            return dx.Fail(edit, QString::fromLatin1(kEnterNumberMessage));
        }
        value = *parsed;
        return true;
    }
    const QSignalBlocker quiet(edit);
    edit->setText(QString::fromStdString(format(value)));
    return true;
}

}  // namespace

CQtDataExchange::CQtDataExchange(bool saveAndValidate, MessageSink showMessage)
    : m_bSaveAndValidate(saveAndValidate), m_showMessage(std::move(showMessage)) {}

bool CQtDataExchange::Fail(QWidget* control, const QString& message) {
    if (m_showMessage) {
        m_showMessage(message);
    }
    if (control != nullptr) {
        control->setFocus(Qt::OtherFocusReason);
        if (auto* edit = qobject_cast<QLineEdit*>(control)) {
            edit->selectAll();
        }
    }
    return false;
}

bool DDX_Text(CQtDataExchange& dx, QLineEdit* edit, double& value) {
    return ExchangeNumber(dx, edit, value, ParseDoubleText, FormatDoubleText);
}

bool DDX_Text(CQtDataExchange& dx, QLineEdit* edit, float& value) {
    return ExchangeNumber(dx, edit, value, ParseFloatText, FormatFloatText);
}

void DDX_Text(CQtDataExchange& dx, QLineEdit* edit, std::string& value) {
    if (dx.m_bSaveAndValidate) {
        value = ToCp1252(edit->text());
        return;
    }
    const QSignalBlocker quiet(edit);
    edit->setText(FromCp1252(value));
    edit->setCursorPosition(0);
}

void DDX_Check(CQtDataExchange& dx, QAbstractButton* button, int& value) {
    if (dx.m_bSaveAndValidate) {
        value = button->isChecked() ? 1 : 0;
        return;
    }
    const QSignalBlocker quiet(button);
    button->setChecked(value != 0);
}

void DDX_DateTimeCtrl(CQtDataExchange& dx, QDateEdit* edit, CTime& value) {
    if (dx.m_bSaveAndValidate) {
        const QDate date = edit->date();
        const auto read = CTime::FromLocal(date.year(), date.month(), date.day(), value.GetHour(),
                                           value.GetMinute(), value.GetSecond());
        if (read) {
            value = *read;
        }
        return;
    }
    const QSignalBlocker quiet(edit);
    edit->setDate(QDate(value.GetYear(), value.GetMonth(), value.GetDay()));
}

}  // namespace daybreak
