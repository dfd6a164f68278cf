// CTimzoneDLG, "Timezone Help Dialog", tells the user which number to type into the main
// window's time-zone offset field: two fixed tables of places and zones with their hour
// offsets, western hemisphere on the left, eastern on the right. Offsets are hours to subtract
// from UTC: positive west of Greenwich, negative east of it.
//
// Every dialog builds both lists afresh from the tables, in table order; a sort by a header
// click lasts only as long as the dialog. It reads and writes nothing of its owner.
//
//     CTimzoneDLG help(mainWindow);
//     help.exec();
#pragma once

#include <QDialog>

#include "ReportCtrl.h"

class QGroupBox;
class QPushButton;

class CTimzoneDLG : public QDialog {
    Q_OBJECT

public:
    explicit CTimzoneDLG(QWidget* parent = nullptr);

    CReportCtrl& WestList() { return m_westList; }
    CReportCtrl& EastList() { return m_eastList; }
    QPushButton* OkButton() const { return m_okButton; }

    // The width unit of the columns: a sixth of the western list's client width, in pixels.
    int ColumnUnit() const { return m_columnUnit; }

private:
    bool OnInitDialog();
    void SetupColumns();
    void FillZoneLists();

    QPushButton* m_okButton = nullptr;
    QGroupBox* m_westGroup = nullptr;
    QGroupBox* m_eastGroup = nullptr;
    CReportCtrl m_westList;
    CReportCtrl m_eastList;
    int m_columnUnit = 0;
};
