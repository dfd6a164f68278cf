// Data exchange between a dialog's edit fields, check boxes and date pickers and the values
// the dialog's logic keeps.
//
// One CQtDataExchange is one run in one direction: from the controls into the values
// (saveAndValidate true) or from the values into the controls. Number fields read back as a
// double or a float; a text that is not a number shows "Please enter a number.", puts the
// focus on that field and makes the exchange function return false, so that the caller stops
// the run there and every later value keeps what it held.
//
//     CQtDataExchange dx(true, reportMessage);
//     if (!DDX_Text(dx, latitudeEdit, latitude)) return false;
//
// Writing into a control never lets the control notify its owner: a value set by the
// exchange is the program's own, not the user's.
#pragma once

#include <QString>

#include <functional>
#include <string>

#include "CTime.h"

class QAbstractButton;
class QDateEdit;
class QLineEdit;
class QWidget;

namespace daybreak {

inline constexpr const char* kEnterNumberMessage = "Please enter a number.";

class CQtDataExchange {
public:
    using MessageSink = std::function<void(const QString&)>;

    // `showMessage` tells the user why a field was refused (a message box in the window).
    CQtDataExchange(bool saveAndValidate, MessageSink showMessage);

    const bool m_bSaveAndValidate;

    // Reports `message`, moves the focus to `control` and returns false.
    bool Fail(QWidget* control, const QString& message);

private:
    MessageSink m_showMessage;
};

bool DDX_Text(CQtDataExchange& dx, QLineEdit* edit, double& value);
bool DDX_Text(CQtDataExchange& dx, QLineEdit* edit, float& value);
// Strings are the program's narrow Windows-1252 text; the field shows their Unicode form.
void DDX_Text(CQtDataExchange& dx, QLineEdit* edit, std::string& value);
// 0 unchecked, 1 checked.
void DDX_Check(CQtDataExchange& dx, QAbstractButton* button, int& value);
// The picker shows the local calendar date of `value`; reading back changes only the date and
// keeps the time of day `value` held (a date the runtime cannot represent keeps `value`).
void DDX_DateTimeCtrl(CQtDataExchange& dx, QDateEdit* edit, CTime& value);

}  // namespace daybreak
