// CDaybreakView is the main window: a QDialog laid out in the proportions of the original
// dialog template (320 x 278 dialog units, controls at their template places, in template tab
// order), with the File and Help menus. Its font shrinks when the window would not fit on its
// screen otherwise; the date picker's calendar opens right-aligned. It holds no logic: it
// implements the control interfaces and IDaybreakWindow for its CDaybreakDlg, and forwards each
// user action to the dialog's handler.
//
// Only user actions reach the handlers: combo boxes report activated() (a choice by the user),
// the check box clicked(), the date picker dateChanged() outside the exchange's own writes,
// which block the picker's signals. Enter never ends the window: in a combo box with text it
// chooses the entry its completion shows (a state also by its code), in the date or a number
// field it computes as Calculate does.
#pragma once

#include <QDialog>
#include <QIcon>
#include <QPointer>

#include <filesystem>
#include <memory>

#include "DaybreakDlg.h"
#include "DialogControls.h"
#include "UserGuideWindow.h"

class CCalculationMenu;
class CColorStatic;
class CResultField;
class CSortedComboBox;
class CYearDlg;
class QAction;
class QCheckBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QMenu;
class CWorldMapDlg;
class QMenuBar;
class QPushButton;
class QWidget;

class CDaybreakView : public QDialog, public IDaybreakWindow {
    Q_OBJECT

public:
    // `archiveDirectory` empty: the archives beside the executable.
    explicit CDaybreakView(const std::filesystem::path& archiveDirectory = {},
                           QWidget* parent = nullptr);
    ~CDaybreakView() override;

    CDaybreakDlg& Dialog() { return m_dlg; }

    // IDaybreakWindow
    std::unique_ptr<CDataExchange> BeginExchange(bool saveAndValidate) override;
    void ReportError(const std::string& message) override;
    void EndDialog(int result) override;
    void ShowAboutBox() override;
    void ShowTimeZoneHelp() override;
    void ShowDayDetails(const CDayDetails& details) override;
    void ShowNotes(const CWindowNotes& notes) override;
    void RecentPlacesChanged(const std::vector<CRecentPlace>& places) override;
    std::optional<CFoundPlace> ChooseFoundPlace(CPlaceService& places) override;

    // The year window ("Year...", Ctrl+Shift+Y) and the world map ("World Map...", Ctrl+M) of
    // the Calculation menu (CCalculationMenu): opened or raised, they follow the fields' place
    // and date from then on. Null until opened.
    void ShowYearWindow();
    CYearDlg* YearWindow() const;
    void ShowWorldMap();
    CWorldMapDlg* WorldMapWindow() const;

    // Help > Daybreak Help (F1): the user guide, opened or raised; it stays open beside the
    // window. Null until opened.
    void ShowUserGuide();
    CUserGuideWindow* UserGuideWindow() const { return m_guide; }

    // The control that stands for a dialog item id, or nullptr.
    QWidget* Item(int id) const;
    QMenuBar* MenuBar() const { return m_menuBar; }

public slots:
    void accept() override;
    void reject() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    class CheckBoxWindow;
    class HelpText;
    class CalendarAlignment;
    class Exchange;

    void FitToScreen();
    void CreateControls();
    void CreateMenu();
    void ConnectHandlers();
    void FillRecentMenu();
    bool CommitTypedEntry();
    bool IsInputField(const QWidget* widget) const;

    CDaybreakDlg m_dlg;
    QIcon m_hIcon;
    QMenuBar* m_menuBar = nullptr;
    QMenu* m_recentMenu = nullptr;
    std::unique_ptr<CCalculationMenu> m_calculationMenu;
    std::filesystem::path m_archiveDirectory;
    QWidget* m_client = nullptr;

    CSortedComboBox* m_stateCombo = nullptr;
    CSortedComboBox* m_zipCombo = nullptr;
    CSortedComboBox* m_cityCombo = nullptr;
    QDateEdit* m_dateEdit = nullptr;
    QLineEdit* m_offsetEdit = nullptr;
    QCheckBox* m_dstCheck = nullptr;
    QLineEdit* m_latitudeEdit = nullptr;
    QLineEdit* m_longitudeEdit = nullptr;
    QPushButton* m_calculateButton = nullptr;
    QPushButton* m_clearButton = nullptr;
    CColorStatic* m_helpLink = nullptr;
    QLabel* m_notesLabel = nullptr;
    CResultField* m_sunriseEdit = nullptr;
    CResultField* m_sunsetEdit = nullptr;
    CResultField* m_solarNoonEdit = nullptr;
    CResultField* m_cityNameEdit = nullptr;
    CResultField* m_countyNameEdit = nullptr;

    std::unique_ptr<CheckBoxWindow> m_dstWindow;
    std::unique_ptr<HelpText> m_helpText;
    QPointer<CUserGuideWindow> m_guide;
};
