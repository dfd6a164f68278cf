// The main window's year window: "Year..." (Ctrl+Shift+Y) opens it, and it follows the fields.
#include <QAction>
#include <QMenu>
#include <QTimer>

#include "DaybreakView.h"
#include "WorldMapDlg.h"
#include "YearDlg.h"

void CDaybreakView::CreateYearItem(QMenu* menu) {
    QAction* year = menu->addAction(QStringLiteral("Year..."));
    year->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Y));
    connect(year, &QAction::triggered, this, [this] { ShowYearWindow(); });
}

CYearDlg* CDaybreakView::YearWindow() const {
    return m_yearDlg;
}

// Placed once, when first opened: later it stays where the user put it.
void CDaybreakView::ShowYearWindow() {
    const bool first = m_yearDlg == nullptr;
    if (first) {
        m_yearDlg = new CYearDlg(this);
    }
    RefreshYearWindow();
    if (first) {
        m_yearDlg->PlaceBeside(*this);
    }
    m_yearDlg->show();
    m_yearDlg->raise();
    m_yearDlg->activateWindow();
}

// A command shows the members more than once (a zip choice also refills the city list): the
// year is redrawn once, after the command.
void CDaybreakView::MembersShown() {
    if ((!m_yearDlg && !m_mapDlg) || m_yearRefreshQueued) {
        return;
    }
    m_yearRefreshQueued = true;
    QTimer::singleShot(0, this, [this] {
        m_yearRefreshQueued = false;
        RefreshYearWindow();
        RefreshWorldMap();
    });
}

// A request the engines refuse has been reported by the command that made it; the year window
// keeps the last year it could draw.
void CDaybreakView::RefreshYearWindow() {
    if (!m_yearDlg) {
        return;
    }
    try {
        const CYearRequest request = m_dlg.YearRequest();
        if (m_yearDlg->Year().request != request || m_yearDlg->Year().days.empty()) {
            m_yearDlg->ShowYear(request);
        }
    } catch (const std::exception&) {
    }
}
