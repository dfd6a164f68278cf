#include "MessageBox.h"

#include <QCoreApplication>
#include <QMessageBox>

#include "Exception.h"

namespace daybreak {

void ShowErrorMessage(QWidget* parent, const QString& message) {
    QMessageBox box(QMessageBox::Warning, QCoreApplication::applicationName(), message,
                    QMessageBox::Ok, parent);
    box.exec();
}

void CMessageBoxReporter::ReportError(const CException& error) {
    ShowErrorMessage(m_parent, QString::fromStdString(error.GetErrorMessage()));
}

}  // namespace daybreak
