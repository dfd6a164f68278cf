#include "DaybreakView.h"

#include <QCalendarWidget>
#include <QCheckBox>
#include <QDateEdit>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QStringList>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>
#include <array>

#include "AboutDlg.h"
#include "CalculationMenu.h"
#include "ColorStatic.h"
#include "CoordinateText.h"
#include "Cp1252.h"
#include "DataExchange.h"
#include "DateField.h"
#include "DayDetailsDlg.h"
#include "DialogUnits.h"
#include "FindPlaceDlg.h"
#include "LinkColor.h"
#include "MessageBox.h"
#include "NumberText.h"
#include "Resource.h"
#include "ResultField.h"
#include "ResultText.h"
#include "SortedComboBox.h"
#include "TimzoneDLG.h"
#include "UserGuideWindow.h"

using daybreak::DialogUnits;

namespace {

// Client area of the main window, in dialog units.
constexpr int kClientWidth = 320;
constexpr int kClientHeight = 278;
// Height the template gives a one-line field (edit, combo box field, date picker).
constexpr int kFieldHeight = 14;
// The settings key of File > Recent Places.
constexpr const char* kRecentKey = "RecentPlaces";
// The clock note's link.
constexpr const char* kFollowClockLink = "follow-clock";

// Short date with a four-digit year, in the user's order of day, month and year.
QString ShortDateFormat() {
    QString format = QLocale().dateFormat(QLocale::ShortFormat);
    if (!format.contains(QLatin1String("yyyy"))) {
        format.replace(QLatin1String("yy"), QLatin1String("yyyy"));
    }
    return format;
}

}  // namespace

// The daylight-saving check box as a button window.
class CDaybreakView::CheckBoxWindow : public IButtonWindow {
public:
    explicit CheckBoxWindow(QCheckBox* box) : m_box(box) {}
    void SetCheck(int check) override { m_box->setChecked(check != 0); }
    void EnableWindow(bool enable) override { m_box->setEnabled(enable); }

private:
    QCheckBox* m_box;
};

// The "Help..." text as a coloured text. On a dark colour scheme it takes the palette's link
// colour instead of the one asked for, which is made for a light background.
class CDaybreakView::HelpText : public IColorText {
public:
    explicit HelpText(CColorStatic* text) : m_text(text) {}
    void SetTextColorAndRedraw(std::uint32_t rgb) override {
        m_text->SetTextColor(daybreak::LinkColorOn(m_text->BackgroundColor(), m_text->palette(),
                                                   QColor::fromRgb(static_cast<QRgb>(rgb))));
    }

private:
    CColorStatic* m_text;
};

// Qt opens a date picker's calendar left-aligned under the picker; this one opens right-aligned,
// its right edge under the picker's, and stays on the picker's screen.
class CDaybreakView::CalendarAlignment : public QObject {
public:
    explicit CalendarAlignment(QDateEdit* picker) : QObject(picker), m_picker(picker) {
        m_picker->calendarWidget()->window()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* popup = qobject_cast<QWidget*>(watched);
        if (event->type() == QEvent::Show && popup != nullptr) {
            const QPoint pickerRight = m_picker->mapToGlobal(QPoint(m_picker->width(), 0));
            int x = pickerRight.x() - popup->width();
            if (const QScreen* screen = m_picker->screen()) {
                const QRect area = screen->availableGeometry();
                x = std::clamp(x, area.left(),
                               std::max(area.left(), area.right() + 1 - popup->width()));
            }
            popup->move(x, popup->y());
        }
        return false;
    }

private:
    QDateEdit* m_picker;
};

// One run of the exchange over the view's widgets.
class CDaybreakView::Exchange : public CDataExchange {
public:
    Exchange(CDaybreakView& view, bool saveAndValidate)
        : CDataExchange(saveAndValidate),
          m_view(view),
          m_qt(saveAndValidate,
               [&view](const QString& message) { daybreak::ShowErrorMessage(&view, message); }) {}

    void Text(int id, double& value) override {
        if (!daybreak::DDX_Text(m_qt, Edit(id), value)) {
            Fail();
        }
    }
    void Text(int id, float& value) override {
        if (!daybreak::DDX_Text(m_qt, Edit(id), value)) {
            Fail();
        }
    }
    // A result field keeps the full text; the three times show what the logic made of them.
    void Text(int id, std::string& value) override {
        auto* field = qobject_cast<CResultField*>(m_view.Item(id));
        if (field == nullptr) {
            daybreak::DDX_Text(m_qt, Edit(id), value);
        } else if (m_bSaveAndValidate) {
            value = daybreak::ToCp1252(field->FullText());
        } else {
            const CResultTexts texts = m_view.m_dlg.ResultTextsOf(id, value);
            field->SetResultText(daybreak::FromCp1252(texts.full),
                                 daybreak::FromCp1252(texts.shown),
                                 daybreak::FromCp1252(texts.tooltip));
        }
    }
    void Check(int id, int& value) override {
        daybreak::DDX_Check(m_qt, qobject_cast<QCheckBox*>(m_view.Item(id)), value);
    }
    void DateTime(int id, CTime& value) override {
        daybreak::DDX_DateTimeCtrl(m_qt, qobject_cast<QDateEdit*>(m_view.Item(id)), value);
    }
    IComboBox* ComboBox(int id) override { return qobject_cast<CSortedComboBox*>(m_view.Item(id)); }
    IButtonWindow* ButtonWindow(int id) override {
        return id == IDC_DST ? m_view.m_dstWindow.get() : nullptr;
    }
    IColorText* ColorText(int id) override {
        return id == IDC_HELP_LINK ? m_view.m_helpText.get() : nullptr;
    }

private:
    QLineEdit* Edit(int id) const { return qobject_cast<QLineEdit*>(m_view.Item(id)); }

    CDaybreakView& m_view;
    daybreak::CQtDataExchange m_qt;
};

CDaybreakView::CDaybreakView(const std::filesystem::path& archiveDirectory, QWidget* parent)
    : QDialog(parent), m_dlg(*this) {
    Q_INIT_RESOURCE(daybreak);
    m_hIcon = QIcon(QStringLiteral(":/daybreak.svg"));
    m_dlg.SetArchiveDirectory(archiveDirectory);
    m_archiveDirectory = archiveDirectory;

    setWindowTitle(QStringLiteral("Corvane - Lumora.Zezidov"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setWindowIcon(m_hIcon);

    CreateMenu();
    FitToScreen();
    CreateControls();
    ConnectHandlers();
    m_dlg.OnInitDialog();
    m_stateCombo->setFocus(Qt::OtherFocusReason);
}

CDaybreakView::~CDaybreakView() = default;

void CDaybreakView::ShowYearWindow() {
    m_calculationMenu->ShowYearWindow();
}

CYearDlg* CDaybreakView::YearWindow() const {
    return m_calculationMenu->YearWindow();
}

void CDaybreakView::ShowWorldMap() {
    m_calculationMenu->ShowWorldMap();
}

CWorldMapDlg* CDaybreakView::WorldMapWindow() const {
    return m_calculationMenu->WorldMapWindow();
}

void CDaybreakView::ShowDayDetails(const CDayDetails& details) {
    CDayDetailsDlg dialog(details, this);
    dialog.exec();
}

void CDaybreakView::CreateMenu() {
    m_menuBar = new QMenuBar(this);
    m_menuBar->setNativeMenuBar(false);
    QMenu* file = m_menuBar->addMenu(QStringLiteral("&File"));
    QAction* exit = file->addAction(QStringLiteral("Exit"));
    exit->setData(ID_FILE_EXIT);
    exit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    connect(exit, &QAction::triggered, this, [this] { m_dlg.OnFileExit(); });
    QAction* find = new QAction(QStringLiteral("Find Place..."), file);
    file->insertAction(exit, find);
    m_recentMenu = new QMenu(QStringLiteral("&Recent Places"), file);
    file->insertMenu(exit, m_recentMenu);
    file->insertSeparator(exit);
    // The places of earlier runs: "TX<tab>Mission - 78572", the entry as UTF-8.
    std::vector<CRecentPlace> recent;
    for (const QString& kept : QSettings().value(QLatin1String(kRecentKey)).toStringList()) {
        const QStringList parts = kept.split(QLatin1Char('\t'));
        if (parts.size() == 2) {
            recent.push_back({parts[0].toStdString(), daybreak::ToCp1252(parts[1])});
        }
    }
    m_dlg.SetRecentPlaces(std::move(recent));
    FillRecentMenu();
    find->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    connect(find, &QAction::triggered, this, [this] { m_dlg.OnFindPlace(); });
    m_calculationMenu = std::make_unique<CCalculationMenu>(*this, *m_menuBar, m_dlg, m_dlg.Chosen(),
                                                           m_archiveDirectory);
    QMenu* help = m_menuBar->addMenu(QStringLiteral("&Help"));
    QAction* guide = help->addAction(QStringLiteral("Daybreak Help"));
    guide->setShortcut(QKeySequence::HelpContents);
    connect(guide, &QAction::triggered, this, [this] { ShowUserGuide(); });
    // The same table as the "Help..." text beside the time zone, within reach of the keyboard.
    QAction* zones = help->addAction(QStringLiteral("Time Zones..."));
    connect(zones, &QAction::triggered, this, [this] { m_dlg.OnHelpLink(); });
    QAction* about = help->addAction(QStringLiteral("About Lumora.Zezidov"));
    about->setData(ID_HELP_ABOUT);
    connect(about, &QAction::triggered, this, [this] { m_dlg.OnHelpAbout(); });
}

// The window is laid out in dialog units of its font; with a large desktop font or high
// scaling on a small screen that can be larger than the screen, so the font shrinks until the
// window fits. The window frame is not known before the window is shown: the style's title-bar
// height and frame width stand for it.
void CDaybreakView::FitToScreen() {
    const QScreen* where = screen();
    if (where == nullptr) {
        return;
    }
    const int frame = style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
    const QSize extra(2 * frame, m_menuBar->sizeHint().height() +
                                     style()->pixelMetric(QStyle::PM_TitleBarHeight) + 2 * frame);
    const QFont fitted = daybreak::FitDialogFont(font(), QSize(kClientWidth, kClientHeight), extra,
                                                 where->availableGeometry().size());
    if (fitted != font()) {
        setFont(fitted);
    }
}

void CDaybreakView::CreateControls() {
    m_client = new QWidget(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setMenuBar(m_menuBar);
    layout->addWidget(m_client);

    const DialogUnits du(font());
    const auto place = [&du](QWidget* widget, int x, int y, int w, int h) {
        widget->setGeometry(du.ToPixels(x, y, w, h));
    };
    // A label keeps its template place but never clips its text in a wider font.
    const auto label = [&](const char* text, int x, int y, int w) {
        auto* shown = new QLabel(QString::fromLatin1(text), m_client);
        shown->setTextFormat(Qt::PlainText);
        const QRect field = du.ToPixels(x, y, w, kFieldHeight);
        const int width = std::max(field.width(), shown->sizeHint().width());
        // Centred on the row of the field beside it.
        shown->setGeometry(field.x(), field.y(), width, field.height());
        shown->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        return shown;
    };
    const auto lineEdit = [&](int x, int y, int w) {
        auto* edit = new QLineEdit(m_client);
        place(edit, x, y, w, kFieldHeight);
        return edit;
    };
    const auto resultField = [&](int y) {
        auto* field = new CResultField(m_client);
        place(field, 90, y, 200, kFieldHeight);
        return field;
    };
    const auto combo = [&](int y) {
        auto* box = new CSortedComboBox(m_client);
        place(box, 90, y, 152, kFieldHeight);
        return box;
    };

    // Template order, which is the tab order.
    m_stateCombo = combo(15);
    m_zipCombo = combo(35);
    m_cityCombo = combo(55);
    m_dateEdit = new CDateField(m_client);
    m_dateEdit->setCalendarPopup(true);
    // The years the solar engine computes.
    m_dateEdit->setDateRange(QDate(kFirstResultYear, 1, 1), QDate(kLastResultYear, 12, 31));
    m_dateEdit->setDisplayFormat(ShortDateFormat());
    place(m_dateEdit, 90, 75, 152, kFieldHeight);
    new CalendarAlignment(m_dateEdit);
    m_offsetEdit = lineEdit(90, 95, 48);
    m_dstCheck = new QCheckBox(QStringLiteral("Daylight Sa&vings Time"), m_client);
    {
        const QRect box = du.ToPixels(157, 95, 85, kFieldHeight);
        m_dstCheck->setGeometry(
            box.x(), box.y(), std::max(box.width(), m_dstCheck->sizeHint().width()), box.height());
    }
    m_latitudeEdit = lineEdit(90, 115, 48);
    m_longitudeEdit = lineEdit(90, 135, 48);
    m_calculateButton = new QPushButton(QStringLiteral("C&alculate"), m_client);
    place(m_calculateButton, 260, 15, 50, kFieldHeight);
    m_clearButton = new QPushButton(QStringLiteral("Cl&ear"), m_client);
    place(m_clearButton, 260, 50, 50, kFieldHeight);
    // Neither is the default button: Qt would make a focused one the default, framed.
    for (QPushButton* button : {m_calculateButton, m_clearButton}) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }

    // Each label names its field for screen readers and, with its underlined letter (Alt and
    // the letter), moves the focus there.
    const auto names = [](QLabel* shown, QWidget* field) {
        shown->setBuddy(field);
        field->setAccessibleName(shown->text().remove(QLatin1Char('&')).remove(QLatin1Char(':')));
    };
    names(label("&State/Possession Code:", 7, 15, 77), m_stateCombo);
    names(label("&Zip Code:", 7, 35, 32), m_zipCombo);
    names(label("C&ity/Town/Zip:", 7, 55, 48), m_cityCombo);
    names(label("&Date:", 7, 75, 19), m_dateEdit);
    // "Time Zone (", the blue "Help..." and "):" read as one label; each piece starts where
    // the one before it ends, whatever the font.
    QLabel* timeZone = label("&Time Zone (", 7, 95, 38);
    timeZone->setBuddy(m_offsetEdit);  // first: a label without buddy shows "&" as a character
    timeZone->resize(timeZone->sizeHint().width(), timeZone->height());
    m_offsetEdit->setAccessibleName(QStringLiteral("Time Zone"));
    m_offsetEdit->setAccessibleDescription(
        QStringLiteral("Hours behind UTC: 6 for US Central, -5.5 for India"));
    m_helpLink = new CColorStatic(QStringLiteral("Help..."), m_client);
    m_helpLink->setAccessibleName(QStringLiteral("Time-zone help"));
    m_helpLink->setCursor(Qt::PointingHandCursor);
    m_helpLink->setGeometry(timeZone->geometry().right() + 1, timeZone->y(),
                            m_helpLink->sizeHint().width(), timeZone->height());
    m_helpLink->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    QLabel* close = label("):", 67, 95, 8);
    close->setGeometry(m_helpLink->geometry().right() + 1, timeZone->y(), close->sizeHint().width(),
                       timeZone->height());
    names(label("&Latitude:", 7, 115, 30), m_latitudeEdit);
    names(label("Lo&ngitude:", 7, 135, 35), m_longitudeEdit);
    m_sunriseEdit = resultField(155);
    m_sunsetEdit = resultField(175);
    m_solarNoonEdit = resultField(195);
    m_cityNameEdit = resultField(215);
    m_countyNameEdit = resultField(235);
    names(label("Local Sunrise:", 7, 155, 45), m_sunriseEdit);
    names(label("Local Sunset:", 7, 175, 44), m_sunsetEdit);
    names(label("Local Solar Noon:", 7, 195, 56), m_solarNoonEdit);
    names(label("City Name:", 7, 215, 36), m_cityNameEdit);
    names(label("County Name:", 7, 235, 47), m_countyNameEdit);

    // Below the results: what the window has to say about them (ShowNotes), hidden while
    // there is nothing.
    m_notesLabel = new QLabel(m_client);
    place(m_notesLabel, 7, 252, 306, 24);
    m_notesLabel->setWordWrap(true);
    m_notesLabel->setTextFormat(Qt::RichText);
    m_notesLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_notesLabel->setAccessibleName(QStringLiteral("Notes"));
    m_notesLabel->setTextInteractionFlags(Qt::LinksAccessibleByMouse |
                                          Qt::LinksAccessibleByKeyboard);
    m_notesLabel->hide();

    m_dstWindow = std::make_unique<CheckBoxWindow>(m_dstCheck);
    m_helpText = std::make_unique<HelpText>(m_helpLink);

    m_client->setFixedSize(du.ToPixels(QSize(kClientWidth, kClientHeight)));
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void CDaybreakView::ConnectHandlers() {
    // A place pasted or typed as maps write it, latitude then longitude east positive, into
    // either field: the two numbers go to their fields in the window's units when the field
    // is left or Enter is pressed.
    for (QLineEdit* field : {m_latitudeEdit, m_longitudeEdit}) {
        connect(field, &QLineEdit::editingFinished, this, [this, field] {
            const std::optional<daybreak::CCoordinatePair> pair =
                daybreak::ParseCoordinatePair(field->text().toStdString());
            if (pair) {
                m_latitudeEdit->setText(
                    QString::fromStdString(daybreak::FormatDoubleText(pair->latitude)));
                m_longitudeEdit->setText(
                    QString::fromStdString(daybreak::FormatDoubleText(0.0 - pair->longitudeEast)));
            }
        });
    }
    // The clock note's link turns on Daylight Saving from the Date, as its menu item does.
    connect(m_notesLabel, &QLabel::linkActivated, this, [this](const QString& link) {
        if (link == QLatin1String(kFollowClockLink) && m_calculationMenu) {
            m_calculationMenu->DstFromDateAction()->setChecked(true);
        }
    });
    connect(m_helpLink, &CColorStatic::clicked, this, [this] { m_dlg.OnHelpLink(); });
    connect(m_calculateButton, &QPushButton::clicked, this, [this] { m_dlg.OnCalculate(); });
    connect(m_stateCombo, &QComboBox::activated, this, [this] { m_dlg.OnSelchangeState(); });
    connect(m_zipCombo, &QComboBox::activated, this, [this] { m_dlg.OnSelchangeZip(); });
    connect(m_dateEdit, &QDateEdit::dateChanged, this, [this] { m_dlg.OnDateTimeChange(); });
    connect(m_dstCheck, &QCheckBox::clicked, this, [this] { m_dlg.OnCalculate(); });
    connect(m_clearButton, &QPushButton::clicked, this, [this] { m_dlg.OnClear(); });
    connect(m_cityCombo, &QComboBox::activated, this, [this] { m_dlg.OnSelchangeCity(); });
}

QWidget* CDaybreakView::Item(int id) const {
    switch (id) {
        case IDC_CALCULATE:
            return m_calculateButton;
        case IDC_STATE_COMBO:
            return m_stateCombo;
        case IDC_ZIP_COMBO:
            return m_zipCombo;
        case IDC_TIMEZONE_OFFSET:
            return m_offsetEdit;
        case IDC_LATITUDE:
            return m_latitudeEdit;
        case IDC_LONGITUDE:
            return m_longitudeEdit;
        case IDC_SUNRISE:
            return m_sunriseEdit;
        case IDC_SUNSET:
            return m_sunsetEdit;
        case IDC_SOLAR_NOON:
            return m_solarNoonEdit;
        case IDC_DATE:
            return m_dateEdit;
        case IDC_DST:
            return m_dstCheck;
        case IDC_CITY_NAME:
            return m_cityNameEdit;
        case IDC_COUNTY_NAME:
            return m_countyNameEdit;
        case IDC_CLEAR:
            return m_clearButton;
        case IDC_CITY_COMBO:
            return m_cityCombo;
        case IDC_HELP_LINK:
            return m_helpLink;
        default:
            return nullptr;
    }
}

std::unique_ptr<CDataExchange> CDaybreakView::BeginExchange(bool saveAndValidate) {
    return std::make_unique<Exchange>(*this, saveAndValidate);
}

void CDaybreakView::ReportError(const std::string& message) {
    daybreak::ShowErrorMessage(this, QString::fromStdString(message));
}

void CDaybreakView::EndDialog(int result) {
    done(result);
}

void CDaybreakView::RecentPlacesChanged(const std::vector<CRecentPlace>& places) {
    QStringList kept;
    for (const CRecentPlace& place : places) {
        kept << QString::fromStdString(place.state) + QLatin1Char('\t') +
                    daybreak::FromCp1252(place.cityEntry);
    }
    QSettings().setValue(QLatin1String(kRecentKey), kept);
    FillRecentMenu();
}

void CDaybreakView::FillRecentMenu() {
    m_recentMenu->clear();
    const std::vector<CRecentPlace>& places = m_dlg.RecentPlaces();
    for (std::size_t i = 0; i < places.size(); ++i) {
        // "&1 Mission - 78572, TX": the number is the item's key.
        const QString text = QStringLiteral("&%1 %2, %3")
                                 .arg(QString::number(i + 1),
                                      daybreak::FromCp1252(places[i].cityEntry)
                                          .replace(QLatin1Char('&'), QLatin1String("&&")),
                                      QString::fromStdString(places[i].state));
        QAction* item = m_recentMenu->addAction(text);
        connect(item, &QAction::triggered, this, [this, i] { m_dlg.OnRecentPlace(i); });
    }
    m_recentMenu->setEnabled(!places.empty());
}

void CDaybreakView::ShowNotes(const CWindowNotes& notes) {
    QStringList lines;
    if (!notes.signs.empty()) {
        lines << QString::fromStdString(notes.signs).toHtmlEscaped();
    }
    if (!notes.zone.empty()) {
        lines << QString::fromStdString(notes.zone).toHtmlEscaped();
    }
    if (!notes.clock.empty()) {
        lines << QString::fromStdString(notes.clock).toHtmlEscaped() +
                     QStringLiteral(" <a href=\"%1\">Follow the place's clock</a>")
                         .arg(QLatin1String(kFollowClockLink));
    }
    m_notesLabel->setText(lines.join(QStringLiteral("<br>")));
    m_notesLabel->setVisible(!lines.isEmpty());
}

void CDaybreakView::ShowAboutBox() {
    CAboutDlg about(this);
    about.exec();
}

void CDaybreakView::ShowUserGuide() {
    if (m_guide == nullptr) {
        m_guide = new CUserGuideWindow(this);
        m_guide->setAttribute(Qt::WA_DeleteOnClose);
    }
    m_guide->show();
    m_guide->raise();
    m_guide->activateWindow();
}

void CDaybreakView::ShowTimeZoneHelp() {
    CTimzoneDLG help(this);
    help.exec();
}

std::optional<CFoundPlace> CDaybreakView::ChooseFoundPlace(CPlaceService& places) {
    CFindPlaceDlg find(places, this);
    if (find.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return find.Chosen();
}

void CDaybreakView::accept() {
    m_dlg.OnOK();
}

void CDaybreakView::reject() {
    m_dlg.OnCancel();
}

// Enter confirms and never ends the window: on a push button it presses that button, in a
// place list with text it chooses the entry, in the date or a number field it takes the typed
// value and computes as Calculate does; elsewhere, an empty list included, it does nothing.
// Escape, the close box and File > Exit end the window.
void CDaybreakView::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const bool plain = event->modifiers() == Qt::NoModifier ||
                       (event->modifiers() == Qt::KeypadModifier && event->key() == Qt::Key_Enter);
    if (!(enter && plain)) {
        QDialog::keyPressEvent(event);
        return;
    }
    QWidget* focus = focusWidget();
    if (auto* button = qobject_cast<QPushButton*>(focus)) {
        // The buttons are not auto-default (no default frame), so they leave Enter to us.
        button->click();
    } else if (CommitTypedEntry()) {
        return;
    } else if (IsInputField(focus)) {
        m_dlg.OnCalculate();
    }
}

// The fields whose value Enter confirms: the date and the three numbers.
bool CDaybreakView::IsInputField(const QWidget* widget) const {
    for (const QWidget* field : std::initializer_list<const QWidget*>{
             m_dateEdit, m_offsetEdit, m_latitudeEdit, m_longitudeEdit}) {
        if (widget == field || (widget != nullptr && field->isAncestorOf(widget))) {
            return true;
        }
    }
    return false;
}

// Enter in a place list with text: the entry chosen as a click would choose it. True when the
// focus is in one of the three lists with text, whether or not an entry matched: Enter there
// never ends the window.
bool CDaybreakView::CommitTypedEntry() {
    CSortedComboBox* box = nullptr;
    for (CSortedComboBox* combo : {m_stateCombo, m_zipCombo, m_cityCombo}) {
        if (focusWidget() == combo ||
            (focusWidget() != nullptr && combo->isAncestorOf(focusWidget()))) {
            box = combo;
        }
    }
    const QString typed = box != nullptr ? box->currentText() : QString();
    if (typed.isEmpty()) {
        return false;
    }
    const std::string text = daybreak::ToCp1252(typed);
    if (box == m_stateCombo) {
        m_dlg.OnStateTyped(text);
    } else if (box == m_zipCombo) {
        m_dlg.OnZipTyped(text);
    } else {
        m_dlg.OnCityTyped(text);
    }
    return true;
}
