// The main window's Calculation menu: "Precise Calculation" and "Daylight Saving from the
// Date" (checkable, remembered between runs, off by default), "Day Details..." (Ctrl+D),
// "Year..." (Ctrl+Y) and "World Map..." (Ctrl+M).
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>

#include "DayDetailsDlg.h"
#include "DaybreakView.h"

namespace {

constexpr const char* kPreciseKey = "PreciseCalculation";
constexpr const char* kDstFromDateKey = "DaylightSavingFromDate";
constexpr const char* kPreciseNote = " (Precise Calculation)";

}  // namespace

void CDaybreakView::CreateCalculationMenu() {
    QMenu* menu = m_menuBar->addMenu(QStringLiteral("&Calculation"));
    m_preciseAction = menu->addAction(QStringLiteral("Precise Calculation"));
    m_preciseAction->setCheckable(true);
    const bool precise = QSettings().value(QString::fromLatin1(kPreciseKey), false).toBool();
    m_preciseAction->setChecked(precise);
    m_dlg.m_precise = precise;  // the controls do not exist yet: nothing to recompute
    ShowPreciseNote(precise);
    connect(m_preciseAction, &QAction::toggled, this, [this](bool on) {
        QSettings().setValue(QString::fromLatin1(kPreciseKey), on);
        ShowPreciseNote(on);
        m_dlg.OnPreciseCalculation(on);
    });
    QAction* fromDate = menu->addAction(QStringLiteral("Daylight Saving from the Date"));
    m_dstFromDateAction = fromDate;
    fromDate->setCheckable(true);
    const bool dstFromDate =
        QSettings().value(QString::fromLatin1(kDstFromDateKey), false).toBool();
    fromDate->setChecked(dstFromDate);
    m_dlg.m_dstFromDate = dstFromDate;  // takes effect with the first place chosen
    connect(fromDate, &QAction::toggled, this, [this](bool on) {
        QSettings().setValue(QString::fromLatin1(kDstFromDateKey), on);
        m_dlg.OnDstFromDate(on);
    });
    QAction* details = menu->addAction(QStringLiteral("Day Details..."));
    details->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_D));
    connect(details, &QAction::triggered, this, [this] { m_dlg.OnDayDetails(); });
    CreateYearItem(menu);
    CreateWorldMapItem(menu);
}

// The title says when the results come from the precise engine.
void CDaybreakView::ShowPreciseNote(bool on) {
    QString title = windowTitle();
    const QString note = QString::fromLatin1(kPreciseNote);
    if (title.endsWith(note)) {
        title.chop(note.size());
    }
    setWindowTitle(on ? title + note : title);
}

void CDaybreakView::ShowDayDetails(const CDayDetails& details) {
    CDayDetailsDlg dialog(details, this);
    dialog.exec();
}
