#include "CalculationMenu.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>
#include <QTimer>
#include <QWidget>

#include <utility>

#include "CalculationCommands.h"
#include "WorldMapDlg.h"
#include "YearDlg.h"

namespace {

constexpr const char* kPreciseKey = "PreciseCalculation";
constexpr const char* kDstFromDateKey = "DaylightSavingFromDate";
constexpr const char* kPreciseNote = " (Precise Calculation)";

}  // namespace

CCalculationMenu::CCalculationMenu(QWidget& window, QMenuBar& menuBar,
                                   ICalculationCommands& commands, CChosenDay& chosen,
                                   std::filesystem::path archiveDirectory)
    : m_window(window),
      m_commands(commands),
      m_chosen(chosen),
      m_archiveDirectory(std::move(archiveDirectory)) {
    QMenu* menu = menuBar.addMenu(QStringLiteral("&Calculation"));
    QAction* precise = menu->addAction(QStringLiteral("Precise Calculation"));
    precise->setCheckable(true);
    const bool preciseOn = QSettings().value(QString::fromLatin1(kPreciseKey), false).toBool();
    precise->setChecked(preciseOn);
    m_commands.RestorePrecise(preciseOn);
    ShowPreciseNote(preciseOn);
    connect(precise, &QAction::toggled, this, [this](bool on) {
        QSettings().setValue(QString::fromLatin1(kPreciseKey), on);
        ShowPreciseNote(on);
        m_commands.OnPreciseCalculation(on);
    });
    m_dstFromDateAction = menu->addAction(QStringLiteral("Daylight Saving from the Date"));
    m_dstFromDateAction->setCheckable(true);
    const bool dstFromDate =
        QSettings().value(QString::fromLatin1(kDstFromDateKey), false).toBool();
    m_dstFromDateAction->setChecked(dstFromDate);
    m_commands.RestoreDstFromDate(dstFromDate);
    connect(m_dstFromDateAction, &QAction::toggled, this, [this](bool on) {
        QSettings().setValue(QString::fromLatin1(kDstFromDateKey), on);
        m_commands.OnDstFromDate(on);
    });
    QAction* details = menu->addAction(QStringLiteral("Day Details..."));
    details->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_D));
    connect(details, &QAction::triggered, this, [this] { m_commands.OnDayDetails(); });
    QAction* year = menu->addAction(QStringLiteral("Year..."));
    year->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Y));
    connect(year, &QAction::triggered, this, [this] { ShowYearWindow(); });
    QAction* map = menu->addAction(QStringLiteral("World Map..."));
    map->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_M));
    connect(map, &QAction::triggered, this, [this] { ShowWorldMap(); });
    m_chosen.AddObserver(*this);
}

CCalculationMenu::~CCalculationMenu() {
    m_chosen.RemoveObserver(*this);
}

// The title says when the results come from the precise engine.
void CCalculationMenu::ShowPreciseNote(bool on) {
    QString title = m_window.windowTitle();
    const QString note = QString::fromLatin1(kPreciseNote);
    if (title.endsWith(note)) {
        title.chop(note.size());
    }
    m_window.setWindowTitle(on ? title + note : title);
}

void CCalculationMenu::ShowYearWindow() {
    const bool first = m_yearDlg == nullptr;
    if (first) {
        m_yearDlg = new CYearDlg(&m_window);
    }
    RefreshYearWindow();
    if (first) {
        m_yearDlg->PlaceBeside(m_window);
    }
    m_yearDlg->show();
    m_yearDlg->raise();
    m_yearDlg->activateWindow();
}

CYearDlg* CCalculationMenu::YearWindow() const {
    return m_yearDlg;
}

CWorldMapDlg* CCalculationMenu::WorldMapWindow() const {
    return m_mapDlg;
}

void CCalculationMenu::ShowWorldMap() {
    if (m_mapDlg == nullptr) {
        m_mapDlg = new CWorldMapDlg(m_archiveDirectory, &m_window);
        connect(m_mapDlg, &CWorldMapDlg::PointPicked, this,
                [this](double lat, double lon, std::optional<float> offset) {
                    m_commands.OnMapPoint(lat, lon, offset);
                });
    }
    RefreshWorldMap();
    m_mapDlg->show();
    m_mapDlg->raise();
    m_mapDlg->activateWindow();
}

// A command shows the members more than once (a zip choice also refills the city list): the
// windows are redrawn once, after the command.
void CCalculationMenu::ChosenDayChanged(const CChosenDay&) {
    if ((!m_yearDlg && !m_mapDlg) || m_refreshQueued) {
        return;
    }
    m_refreshQueued = true;
    QTimer::singleShot(0, this, [this] {
        m_refreshQueued = false;
        RefreshYearWindow();
        RefreshWorldMap();
    });
}

// The chosen day holds the last request the engines took; a year refused there keeps the last
// year the window could draw.
void CCalculationMenu::RefreshYearWindow() {
    if (!m_yearDlg) {
        return;
    }
    try {
        const CYearRequest& request = m_chosen.Request();
        if (m_yearDlg->Year().request != request || m_yearDlg->Year().days.empty()) {
            m_yearDlg->ShowYear(request);
        }
    } catch (const std::exception&) {
    }
}

void CCalculationMenu::RefreshWorldMap() {
    if (!m_mapDlg) {
        return;
    }
    try {
        const CYearRequest& request = m_chosen.Request();
        if (!(m_mapDlg->Request() == request)) {
            m_mapDlg->ShowRequest(request);
        }
    } catch (const std::exception&) {
    }
}
