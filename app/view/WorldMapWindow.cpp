// The main window's world map: "World Map..." (Ctrl+M) opens it, it follows the fields, and a
// point picked on it goes to the fields.
#include <QAction>
#include <QMenu>

#include "DaybreakView.h"
#include "WorldMapDlg.h"

void CDaybreakView::CreateWorldMapItem(QMenu* menu) {
    QAction* map = menu->addAction(QStringLiteral("World Map..."));
    map->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_M));
    connect(map, &QAction::triggered, this, [this] { ShowWorldMap(); });
}

CWorldMapDlg* CDaybreakView::WorldMapWindow() const {
    return m_mapDlg;
}

void CDaybreakView::ShowWorldMap() {
    if (m_mapDlg == nullptr) {
        m_mapDlg = new CWorldMapDlg(m_archiveDirectory, this);
        connect(m_mapDlg, &CWorldMapDlg::PointPicked, this,
                [this](double lat, double lon, std::optional<float> offset) {
                    m_dlg.OnMapPoint(lat, lon, offset);
                });
    }
    RefreshWorldMap();
    m_mapDlg->show();
    m_mapDlg->raise();
    m_mapDlg->activateWindow();
}

// As the year window: the last place and date the engines took.
void CDaybreakView::RefreshWorldMap() {
    if (!m_mapDlg) {
        return;
    }
    try {
        const CYearRequest request = m_dlg.YearRequest();
        if (!(m_mapDlg->Request() == request)) {
            m_mapDlg->ShowRequest(request);
        }
    } catch (const std::exception&) {
    }
}
