// The program's one way of telling the user about a failure: a modal message box with an OK
// button over the window that owns the reporter.
#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

#include "ErrorReporter.h"

namespace daybreak {

void ShowErrorMessage(QWidget* parent, const QString& message);

class CMessageBoxReporter : public IErrorReporter {
public:
    explicit CMessageBoxReporter(QWidget* parent = nullptr) : m_parent(parent) {}

    // The exception's standard message (UTF-8).
    void ReportError(const CException& error) override;

private:
    QPointer<QWidget> m_parent;
};

}  // namespace daybreak
