// CAboutDlg, "About Lumora.Zezidov": the icon, the version, our notice of rights, a link to a
// page on the calculation, where the calculation and the place data come from. It reads and
// writes nothing of the main window. OK, Enter, Escape and the close box close it.
#pragma once

#include <QDialog>

class CXHyperLink;

class CAboutDlg : public QDialog {
    Q_OBJECT

public:
    explicit CAboutDlg(QWidget* parent = nullptr);

    // The line naming the place data's sources and licences.
    static QString DataCreditLine();
    // Where the link leads.
    static QString WebAddress();

    CXHyperLink* m_webLink = nullptr;
};
