// CDayDetailsDlg, "Day Details": every event of one day for the main window's place as a
// two-column list (event, local clock time or why there is none) under a heading naming the
// date once and the place, and a note on which engine gave the times. The list shows every
// row without scrolling; the window never grows past its screen. OK, Enter, Escape and the
// close box close it. With a place, the Sun's day (CSunDayChartView) and the Moon's lines with
// the disc of its phase stand beside the list.
#pragma once

#include <QDialog>

#include <string>
#include <vector>

#include "DialogControls.h"

class QTableWidget;
class CMoonPhaseDisc;
class CSunDayChartView;

class CDayDetailsDlg : public QDialog {
    Q_OBJECT

public:
    explicit CDayDetailsDlg(const CDayDetails& details, QWidget* parent = nullptr);

    QTableWidget* List() const { return m_list; }
    CSunDayChartView* Chart() const { return m_chart; }  // none without a place
    QTableWidget* MoonList() const { return m_moonList; }

private:
    QTableWidget* m_list = nullptr;
    CSunDayChartView* m_chart = nullptr;
    CMoonPhaseDisc* m_moonDisc = nullptr;
    QTableWidget* m_moonList = nullptr;
};
