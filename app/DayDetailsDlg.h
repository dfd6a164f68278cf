// CDayDetailsDlg, "Day Details": every event of one day for the main window's place, from the
// precise engine, as a two-column list (event, local date and time or why there is none)
// under a heading naming the date and the place. OK, Enter, Escape and the close box close it.
#pragma once

#include <QDialog>

#include <string>
#include <vector>

#include "SunEvents.h"

class QTableWidget;

class CDayDetailsDlg : public QDialog {
    Q_OBJECT

public:
    CDayDetailsDlg(const std::string& heading, const std::vector<CSunLine>& lines,
                   QWidget* parent = nullptr);

    QTableWidget* List() const { return m_list; }

private:
    QTableWidget* m_list = nullptr;
};
