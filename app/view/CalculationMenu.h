// CCalculationMenu is the main window's Calculation menu: "Precise Calculation" and "Daylight
// Saving from the Date" (checkable, remembered between runs, off by default), "Day Details..."
// (Ctrl+D), "Year..." (Ctrl+Shift+Y) and "World Map..." (Ctrl+M). It owns the year window and
// the world map once opened; both follow the chosen day (CChosenDay), and a point picked on
// the map goes to the commands. It knows the main window's logic only through
// ICalculationCommands and the model.
#pragma once

#include <QObject>
#include <QPointer>

#include <filesystem>

#include "ChosenDay.h"

class CWorldMapDlg;
class CYearDlg;
class ICalculationCommands;
class QAction;
class QMenuBar;
class QWidget;

class CCalculationMenu : public QObject, public IChosenDayObserver {
public:
    // Adds the menu to `menuBar`; `window` is the main window (its title notes Precise
    // Calculation; the windows opened sit beside it).
    CCalculationMenu(QWidget& window, QMenuBar& menuBar, ICalculationCommands& commands,
                     CChosenDay& chosen, std::filesystem::path archiveDirectory);
    ~CCalculationMenu() override;
    CCalculationMenu(const CCalculationMenu&) = delete;
    CCalculationMenu& operator=(const CCalculationMenu&) = delete;

    QAction* DstFromDateAction() const { return m_dstFromDateAction; }

    // The year window, opened or raised, showing the year of the chosen day; it follows the
    // chosen day from then on. Null until opened. Placed once, when first opened.
    void ShowYearWindow();
    CYearDlg* YearWindow() const;
    // The world map, likewise.
    void ShowWorldMap();
    CWorldMapDlg* WorldMapWindow() const;

    // IChosenDayObserver
    void ChosenDayChanged(const CChosenDay& chosen) override;

private:
    void ShowPreciseNote(bool on);
    void RefreshYearWindow();
    void RefreshWorldMap();

    QWidget& m_window;
    ICalculationCommands& m_commands;
    CChosenDay& m_chosen;
    std::filesystem::path m_archiveDirectory;
    QAction* m_dstFromDateAction = nullptr;
    QPointer<CYearDlg> m_yearDlg;
    QPointer<CWorldMapDlg> m_mapDlg;
    bool m_refreshQueued = false;
};
