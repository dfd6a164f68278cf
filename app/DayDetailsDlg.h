// CDayDetailsDlg, "Day Details": every event of one day for the main window's place as a
// two-column list (event, local clock time or why there is none) under a heading naming the
// date once and the place, and a note on which engine gave the times. The list shows every
// row without scrolling; the window never grows past its screen. OK, Enter, Escape and the
// close box close it.
#pragma once

#include <QDialog>

#include <string>
#include <vector>

#include "DialogControls.h"

class QTableWidget;

class CDayDetailsDlg : public QDialog {
    Q_OBJECT

public:
    explicit CDayDetailsDlg(const CDayDetails& details, QWidget* parent = nullptr);

    QTableWidget* List() const { return m_list; }

private:
    QTableWidget* m_list = nullptr;
};
