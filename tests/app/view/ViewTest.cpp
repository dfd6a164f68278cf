// The main window under the offscreen platform, driven with mouse and keyboard events.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSettings>
#include <QSignalSpy>
#include <QStyleOptionComboBox>
#include <QTableWidget>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTimer>

#include <filesystem>
#include <fstream>
#include <functional>
#include <vector>

#include "AboutDlg.h"
#include "ColorStatic.h"
#include "DateField.h"
#include "DayDetailsDlg.h"
#include "DaybreakView.h"
#include "FindPlaceDlg.h"
#include "LinkColor.h"
#include "PlaceArchive.h"
#include "Resource.h"
#include "StateTable.h"
#include "SunDayChartView.h"
#include "SunEvents.h"
#include "TempDir.h"
#include "TimeZoneList.h"
#include "WorldMap.h"
#include "WorldMapDlg.h"
#include "WorldMapView.h"
#include "WorldPlaces.h"
#include "XHyperLink.h"
#include "YearDlg.h"
#include "ZoneFile.h"

namespace fs = std::filesystem;

namespace {

// Waits for the next modal window other than `owner`, hands it to `inspect`, then closes it.
// Must be armed before the action that opens the window.
void CloseNextModal(QWidget* owner, std::function<void(QWidget*)> inspect) {
    auto* timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, owner, inspect] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || modal == owner) {
            return;
        }
        timer->stop();
        timer->deleteLater();
        inspect(modal);
        modal->close();
    });
    timer->start();
}

// Texas: Mission 78572 and El Paso 79901. Alaska: Barrow 99723.
void WriteArchives(const fs::path& directory) {
    WriteArchive(directory / "timezone.arc.TX",
                 {{"Mission", "TX", "78572", "Hidalgo", "Y", 26.21466, -98.35164, 6},
                  {"El Paso", "TX", "79901", "El Paso", "Y", 31.76, -106.48, 7}});
    WriteArchive(directory / "timezone.arc.AK",
                 {{"Barrow", "AK", "99723", "North Slope", "Y", 71.2346, -156.8174, 9}});
    WriteArchive(directory / "timezone.arc.NY",
                 {{"New York", "NY", "10001", "New York", "Y", 40.75, -73.99, 5},
                  {"New York", "NY", "10002", "New York", "Y", 40.71, -73.98, 5},
                  {"New York Mills", "NY", "13417", "Oneida", "Y", 43.10, -75.29, 5}});
    std::ofstream zones(directory / kZoneFileName, std::ios::binary);
    zones << EncodeZoneFile(
        {{"TX", "78572", "America/Chicago"}, {"NY", "10001", "America/New_York"}});
    std::ofstream world(directory / kWorldPlacesFileName, std::ios::binary);
    world << EncodeWorldPlaces(
        {{"Paris", "FR", "France", "\u00cele-de-France", "Europe/Paris", 2138551, 48.85341, 2.3488},
         {"New York City", "US", "United States", "New York", "America/New_York", 8175133, 40.71427,
          -74.00597}});
}

// True when the field shows its whole text: with the cursor at the end (the field scrolls
// to it when it paints), the first character is still at the left edge.
bool ShowsWhole(QLineEdit* field) {
    field->end(false);
    field->repaint();
    const bool whole = field->cursorPositionAt(QPoint(1, field->height() / 2)) == 0;
    field->home(false);
    return whole;
}

// A dark scheme as a desktop would set it: dark window, light text, light links.
QPalette DarkPalette() {
    QPalette dark(QColor(53, 53, 53));
    dark.setColor(QPalette::Window, QColor(53, 53, 53));
    dark.setColor(QPalette::WindowText, Qt::white);
    dark.setColor(QPalette::Base, QColor(35, 35, 35));
    dark.setColor(QPalette::Text, Qt::white);
    dark.setColor(QPalette::Button, QColor(53, 53, 53));
    dark.setColor(QPalette::Link, QColor(42, 130, 218));
    dark.setColor(QPalette::LinkVisited, QColor(180, 120, 230));
    return dark;
}

class DaybreakViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_TimeZoneList.RemoveAll();
        WriteArchives(m_dir.path());
        m_view = std::make_unique<CDaybreakView>(m_dir.path());
        m_view->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_view.get()));
    }
    void TearDown() override {
        m_view.reset();
        g_TimeZoneList.RemoveAll();
    }

    QLineEdit* Edit(int id) { return qobject_cast<QLineEdit*>(m_view->Item(id)); }
    QDateEdit* Date() { return qobject_cast<QDateEdit*>(m_view->Item(IDC_DATE)); }
    QComboBox* Combo(int id) { return qobject_cast<QComboBox*>(m_view->Item(id)); }
    QCheckBox* Dst() { return qobject_cast<QCheckBox*>(m_view->Item(IDC_DST)); }
    void TypeInto(int id, const QString& text) {
        Edit(id)->clear();
        QTest::keyClicks(Edit(id), text);
    }
    void Click(int id) { QTest::mouseClick(m_view->Item(id), Qt::LeftButton); }
    // Picks an item as a user does: opens the list and clicks the item.
    void Choose(int id, const QString& text) {
        QComboBox* combo = Combo(id);
        const int index = combo->findText(text);
        ASSERT_GE(index, 0) << text.toStdString();
        combo->showPopup();
        QAbstractItemView* list = combo->view();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(list->window()));
        const QModelIndex item = combo->model()->index(index, 0);
        list->scrollTo(item);
        const QPoint at = list->visualRect(item).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        QTRY_COMPARE(combo->currentIndex(), index);
    }
    // The ids of the controls Tab visits, in order, from the state list on.
    std::vector<int> TabOrder() {
        std::vector<int> ids;
        QWidget* widget = Combo(IDC_STATE_COMBO);
        for (int step = 0; step < 200 && ids.size() < 10; ++step) {
            for (int id = IDC_CALCULATE; id <= IDC_HELP_LINK; ++id) {
                QWidget* item = m_view->Item(id);
                if (item != nullptr && (widget == item || widget->parentWidget() == item) &&
                    (widget->focusPolicy() & Qt::TabFocus) && (ids.empty() || ids.back() != id)) {
                    ids.push_back(id);
                }
            }
            widget = widget->nextInFocusChain();
        }
        return ids;
    }
    QAction* MenuAction(const QString& text) {
        for (QAction* menu : m_view->MenuBar()->actions()) {
            for (QAction* item : menu->menu()->actions()) {
                if (item->text() == text) {
                    return item;
                }
            }
        }
        return nullptr;
    }

    TempDir m_dir;
    std::unique_ptr<CDaybreakView> m_view;
};

TEST_F(DaybreakViewTest, OpensWithTheStartStateAndTheTemplateTexts) {
    EXPECT_EQ(m_view->windowTitle(), QStringLiteral("Corvane - Lumora.Zezidov"));
    QComboBox* states = Combo(IDC_STATE_COMBO);
    ASSERT_EQ(states->count(), 59);
    for (int i = 0; i < states->count(); ++i) {
        EXPECT_EQ(states->itemText(i).toStdString(),
                  g_StateTable[static_cast<std::size_t>(i)].name);
    }
    EXPECT_EQ(states->currentIndex(), -1);
    EXPECT_TRUE(states->isEditable());
    EXPECT_EQ(Combo(IDC_ZIP_COMBO)->count(), 0);
    EXPECT_EQ(Combo(IDC_CITY_COMBO)->count(), 0);
    for (const int id : {IDC_LATITUDE, IDC_LONGITUDE, IDC_TIMEZONE_OFFSET}) {
        EXPECT_EQ(Edit(id)->text(), QStringLiteral("0"));
    }
    for (const int id : {IDC_SUNRISE, IDC_SUNSET, IDC_SOLAR_NOON, IDC_CITY_NAME, IDC_COUNTY_NAME}) {
        EXPECT_TRUE(Edit(id)->text().isEmpty());
        EXPECT_TRUE(Edit(id)->isReadOnly());
    }
    EXPECT_EQ(qobject_cast<QDateEdit*>(m_view->Item(IDC_DATE))->date(), QDate::currentDate());
    EXPECT_FALSE(Dst()->isChecked());
    EXPECT_TRUE(Dst()->isEnabled());
    auto* help = qobject_cast<CColorStatic*>(m_view->Item(IDC_HELP_LINK));
    EXPECT_EQ(help->text(), QStringLiteral("Help..."));
    EXPECT_EQ(help->TextColor(), QColor(0, 0, 255));
    QWidget* focus = m_view->focusWidget();
    EXPECT_TRUE(focus == Combo(IDC_STATE_COMBO) || focus->parentWidget() == Combo(IDC_STATE_COMBO));
    // Tab order follows the template; the read-only result fields are no tab stops.
    EXPECT_EQ(TabOrder(), (std::vector<int>{IDC_STATE_COMBO, IDC_ZIP_COMBO, IDC_CITY_COMBO,
                                            IDC_DATE, IDC_TIMEZONE_OFFSET, IDC_DST, IDC_LATITUDE,
                                            IDC_LONGITUDE, IDC_CALCULATE, IDC_CLEAR}));
    EXPECT_NE(MenuAction(QStringLiteral("Exit")), nullptr);
    EXPECT_NE(MenuAction(QStringLiteral("About Lumora.Zezidov")), nullptr);
}

// A screen reader names every field, list and chart of the main window, the year window and
// Day Details: by its accessible name, or a button by its own text. Alt and a label's letter
// move the focus to its field.
TEST_F(DaybreakViewTest, EveryFieldHasANameAndLabelsReachTheirFields) {
    auto expectNamed = [](QWidget* root) {
        for (QWidget* widget : root->findChildren<QWidget*>()) {
            QWidget* parent = widget->parentWidget();
            if (qobject_cast<QComboBox*>(parent) || qobject_cast<QAbstractSpinBox*>(parent) ||
                qobject_cast<QAbstractItemView*>(parent) || qobject_cast<QMenuBar*>(parent) ||
                widget->window() != root) {
                continue;  // a part of a control, or a popup of its own
            }
            if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
                EXPECT_FALSE(button->text().remove(QLatin1Char('&')).isEmpty() &&
                             button->accessibleName().isEmpty())
                    << root->windowTitle().toStdString() << " " << widget->metaObject()->className()
                    << " " << widget->parentWidget()->metaObject()->className();
            } else if (qobject_cast<QLineEdit*>(widget) || qobject_cast<QComboBox*>(widget) ||
                       qobject_cast<QAbstractSpinBox*>(widget) ||
                       qobject_cast<QAbstractItemView*>(widget)) {
                EXPECT_FALSE(widget->accessibleName().isEmpty())
                    << root->windowTitle().toStdString() << " "
                    << widget->metaObject()->className();
            }
        }
    };
    expectNamed(m_view.get());
    TypeInto(IDC_LATITUDE, QStringLiteral("41.88"));
    TypeInto(IDC_LONGITUDE, QStringLiteral("87.63"));
    TypeInto(IDC_TIMEZONE_OFFSET, QStringLiteral("6"));
    Click(IDC_CALCULATE);
    m_view->ShowYearWindow();
    expectNamed(static_cast<QWidget*>(m_view->YearWindow()));
    CloseNextModal(m_view.get(), expectNamed);
    m_view->Dialog().OnDayDetails();
    EXPECT_EQ(Edit(IDC_LATITUDE)->accessibleName(), QStringLiteral("Latitude"));
    m_view->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_view.get()));
    QTest::keyClick(m_view.get(), Qt::Key_N, Qt::AltModifier);
    EXPECT_EQ(m_view->focusWidget(), Edit(IDC_LONGITUDE));
}

// A whole date typed over the selected one is taken as written, in the forms people type.
TEST_F(DaybreakViewTest, TypedDatesAreReadWhole) {
    m_view->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_view.get()));
    for (const char* typed : {"07 Dec 2026", "2026-12-07", "December 7, 2026", "Dec 7 2026"}) {
        Date()->setDate(QDate(2007, 6, 21));
        Date()->setFocus();
        QTest::keyClick(Date(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(Date(), QString::fromLatin1(typed));
        QTest::keyClick(Date(), Qt::Key_Tab);
        EXPECT_EQ(Date()->date(), QDate(2026, 12, 7)) << typed;
    }
    // Enter ends the text too; a text that is no date puts the date back.
    QTest::keyClick(Date(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(Date(), QStringLiteral("2007-06-21"));
    QTest::keyClick(Date(), Qt::Key_Return);
    EXPECT_EQ(Date()->date(), QDate(2007, 6, 21));
    QTest::keyClick(Date(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(Date(), QStringLiteral("Smarch 7"));
    QTest::keyClick(Date(), Qt::Key_Tab);
    EXPECT_EQ(Date()->date(), QDate(2007, 6, 21));
    EXPECT_EQ(Date()->text(), QLocale().toString(QDate(2007, 6, 21), Date()->displayFormat()));
    const QString format = Date()->displayFormat();
    EXPECT_EQ(CDateField::ParseTypedDate(QStringLiteral(" 7  dec 2026 "), format),
              QDate(2026, 12, 7));
    for (const char* partial : {"", "07 Dec", "07 Dec 20", "2026-12", "Smarch 7, 2026"}) {
        EXPECT_FALSE(CDateField::ParseTypedDate(QString::fromLatin1(partial), format)) << partial;
    }
}

TEST_F(DaybreakViewTest, CalculateShowsTheResultsAndTheCheckBoxRecomputes) {
    qobject_cast<QDateEdit*>(m_view->Item(IDC_DATE))->setDate(QDate(2007, 6, 21));
    TypeInto(IDC_LATITUDE, QStringLiteral("41.88"));
    TypeInto(IDC_LONGITUDE, QStringLiteral("87.63"));
    TypeInto(IDC_TIMEZONE_OFFSET, QStringLiteral("6"));
    QTest::mouseClick(Dst(), Qt::LeftButton);  // ticking recomputes at once
    EXPECT_EQ(Edit(IDC_SUNRISE)->text(), QStringLiteral("Thursday, June 21, 2007,  05:15:47"));
    EXPECT_EQ(Edit(IDC_SUNSET)->text(), QStringLiteral("Thursday, June 21, 2007,  20:28:08"));
    EXPECT_EQ(Edit(IDC_SOLAR_NOON)->text(), QStringLiteral("Thursday, June 21, 2007,  12:51:50"));

    QTest::mouseClick(Dst(), Qt::LeftButton);
    EXPECT_EQ(Edit(IDC_SUNRISE)->text(), QStringLiteral("Thursday, June 21, 2007,  04:15:47"));
    Click(IDC_CALCULATE);
    EXPECT_EQ(Edit(IDC_SUNSET)->text(), QStringLiteral("Thursday, June 21, 2007,  19:28:08"));

    // A date the user picks recomputes.
    auto* date = qobject_cast<QDateEdit*>(m_view->Item(IDC_DATE));
    date->setFocus();
    date->setDate(QDate(2007, 1, 1));
    EXPECT_EQ(Edit(IDC_SUNRISE)->text(), QStringLiteral("Monday, January 01, 2007,  07:17:14"));
}

TEST_F(DaybreakViewTest, ChoosingAStateThenAZipFillsEveryField) {
    Choose(IDC_STATE_COMBO, QStringLiteral("Texas"));
    ASSERT_EQ(Combo(IDC_ZIP_COMBO)->count(), 2);
    EXPECT_EQ(Combo(IDC_ZIP_COMBO)->currentIndex(), -1);
    EXPECT_EQ(Combo(IDC_CITY_COMBO)->itemText(0), QStringLiteral("El Paso - 79901"));
    QTest::mouseClick(Dst(), Qt::LeftButton);
    Choose(IDC_ZIP_COMBO, QStringLiteral("78572"));
    EXPECT_EQ(Edit(IDC_LATITUDE)->text(), QStringLiteral("26.21466"));
    EXPECT_EQ(Edit(IDC_LONGITUDE)->text(), QStringLiteral("98.35164"));
    EXPECT_EQ(Edit(IDC_TIMEZONE_OFFSET)->text(), QStringLiteral("6"));
    EXPECT_EQ(Edit(IDC_CITY_NAME)->text(), QStringLiteral("Mission"));
    EXPECT_EQ(Edit(IDC_COUNTY_NAME)->text(), QStringLiteral("Hidalgo"));
    for (const int id : {IDC_SUNRISE, IDC_SUNSET, IDC_SOLAR_NOON}) {
        EXPECT_FALSE(Edit(id)->text().isEmpty());
    }
    // The city list was rebuilt by the program: no choice, and no handler ran for it.
    EXPECT_EQ(Combo(IDC_CITY_COMBO)->currentIndex(), -1);
    EXPECT_TRUE(Combo(IDC_CITY_COMBO)->currentText().isEmpty());
    EXPECT_TRUE(Dst()->isChecked());

    Choose(IDC_CITY_COMBO, QStringLiteral("El Paso - 79901"));
    EXPECT_EQ(Edit(IDC_CITY_NAME)->text(), QStringLiteral("El Paso"));
    EXPECT_EQ(Edit(IDC_TIMEZONE_OFFSET)->text(), QStringLiteral("7"));
    EXPECT_EQ(Combo(IDC_ZIP_COMBO)->currentIndex(), -1);

    Click(IDC_CLEAR);
    EXPECT_EQ(Combo(IDC_STATE_COMBO)->count(), 59);
    EXPECT_EQ(Combo(IDC_STATE_COMBO)->currentIndex(), -1);
    EXPECT_EQ(Combo(IDC_ZIP_COMBO)->count(), 0);
    EXPECT_EQ(Edit(IDC_LATITUDE)->text(), QStringLiteral("0"));
    EXPECT_TRUE(Edit(IDC_CITY_NAME)->text().isEmpty());
}

TEST_F(DaybreakViewTest, EnterInAListWithTextChoosesTheEntryAndTheWindowStays) {
    Combo(IDC_STATE_COMBO)->setFocus();
    QTest::keyClicks(Combo(IDC_STATE_COMBO), QStringLiteral("tx"));
    QTest::keyClick(Combo(IDC_STATE_COMBO), Qt::Key_Return);
    ASSERT_TRUE(m_view->isVisible());
    EXPECT_EQ(Combo(IDC_STATE_COMBO)->currentText(), QStringLiteral("Texas"));
    ASSERT_EQ(Combo(IDC_ZIP_COMBO)->count(), 2);

    Combo(IDC_ZIP_COMBO)->setFocus();
    QTest::keyClicks(Combo(IDC_ZIP_COMBO), QStringLiteral("78572"));
    QTest::keyClick(Combo(IDC_ZIP_COMBO), Qt::Key_Return);
    EXPECT_TRUE(m_view->isVisible());
    EXPECT_EQ(Edit(IDC_CITY_NAME)->text(), QStringLiteral("Mission"));
    EXPECT_FALSE(Edit(IDC_SUNRISE)->text().isEmpty());
    // Neither push button is the default, so none shows the default frame.
    EXPECT_FALSE(qobject_cast<QPushButton*>(m_view->Item(IDC_CALCULATE))->isDefault());
    EXPECT_FALSE(qobject_cast<QPushButton*>(m_view->Item(IDC_CALCULATE))->autoDefault());
}

TEST_F(DaybreakViewTest, FindPlaceSelectsAPlaceOfAnotherStateAsAUserWould) {
    Choose(IDC_STATE_COMBO, QStringLiteral("Texas"));
    CloseNextModal(m_view.get(), [](QWidget* window) {
        auto* find = qobject_cast<CFindPlaceDlg*>(window);
        ASSERT_NE(find, nullptr);
        QTest::keyClicks(find->SearchField(), QStringLiteral("BARR"));
        ASSERT_EQ(find->Matches()->count(), 1);
        QTest::keyClick(find->SearchField(), Qt::Key_Return);
    });
    QTest::keyClick(m_view.get(), Qt::Key_F, Qt::ControlModifier);
    EXPECT_EQ(Combo(IDC_STATE_COMBO)->currentText(), QStringLiteral("Alaska"));
    EXPECT_EQ(Combo(IDC_CITY_COMBO)->currentText(), QStringLiteral("Barrow - 99723"));
    EXPECT_EQ(Edit(IDC_CITY_NAME)->text(), QStringLiteral("Barrow"));
    EXPECT_EQ(Edit(IDC_COUNTY_NAME)->text(), QStringLiteral("North Slope"));
    EXPECT_EQ(Edit(IDC_LATITUDE)->text(), QStringLiteral("71.2346"));
    EXPECT_EQ(Edit(IDC_LONGITUDE)->text(), QStringLiteral("156.8174"));
    EXPECT_EQ(Edit(IDC_TIMEZONE_OFFSET)->text(), QStringLiteral("9"));
    EXPECT_FALSE(Edit(IDC_SUNSET)->text().isEmpty());
    EXPECT_EQ(Combo(IDC_ZIP_COMBO)->count(), 1);
    EXPECT_TRUE(m_view->isVisible());
}

TEST_F(DaybreakViewTest, FindPlaceGivesATownsZipCodesOneRowAndFillsAWorldTownWithItsClock) {
    const auto find = [this](const QString& typed, const QString& row) {
        CloseNextModal(m_view.get(), [&](QWidget* window) {
            auto* dialog = qobject_cast<CFindPlaceDlg*>(window);
            ASSERT_NE(dialog, nullptr);
            QTest::keyClicks(dialog->SearchField(), typed);
            ASSERT_GE(dialog->Matches()->count(), 1);
            EXPECT_EQ(dialog->Matches()->item(0)->text(), row);
            QTest::keyClick(dialog->SearchField(), Qt::Key_Return);
        });
        MenuAction(QStringLiteral("Find Place..."))->trigger();
    };
    find(QStringLiteral("new york"), QStringLiteral("New York, NY, 2 zip codes"));
    EXPECT_EQ(Combo(IDC_STATE_COMBO)->currentText(), QStringLiteral("New York"));
    EXPECT_EQ(Combo(IDC_CITY_COMBO)->currentText(), QStringLiteral("New York - 10001"));

    QSettings().remove(QStringLiteral("DaylightSavingFromDate"));
    MenuAction(QStringLiteral("Daylight Saving from the Date"))->trigger();
    Date()->setDate(QDate(2026, 6, 21));
    find(QStringLiteral("Paris, France"), QStringLiteral("Paris, France (\u00cele-de-France)"));
    EXPECT_EQ(Combo(IDC_STATE_COMBO)->currentIndex(), -1);
    EXPECT_EQ(Edit(IDC_CITY_NAME)->text(), QStringLiteral("Paris"));
    EXPECT_EQ(Edit(IDC_COUNTY_NAME)->text(), QStringLiteral("\u00cele-de-France, France"));
    EXPECT_EQ(Edit(IDC_LATITUDE)->text(), QStringLiteral("48.85341"));
    EXPECT_EQ(Edit(IDC_LONGITUDE)->text(), QStringLiteral("-2.3488"));
    EXPECT_EQ(Edit(IDC_TIMEZONE_OFFSET)->text(), QStringLiteral("-1"));
    EXPECT_TRUE(Dst()->isEnabled());
    EXPECT_TRUE(Dst()->isChecked());
    EXPECT_EQ(Edit(IDC_SUNRISE)->text(), QStringLiteral("Sunday, June 21, 2026,  05:47:34"));
    MenuAction(QStringLiteral("Daylight Saving from the Date"))->trigger();
}

TEST_F(DaybreakViewTest, TextThatIsNotANumberAsksForOneAndShowsThePreviousValue) {
    TypeInto(IDC_LATITUDE, QStringLiteral("41.88"));
    Click(IDC_CALCULATE);
    TypeInto(IDC_LATITUDE, QStringLiteral("abc"));
    QString message;
    CloseNextModal(m_view.get(),
                   [&message](QWidget* box) { message = qobject_cast<QMessageBox*>(box)->text(); });
    Click(IDC_CALCULATE);
    EXPECT_EQ(message, QStringLiteral("Please enter a number."));
    EXPECT_EQ(Edit(IDC_LATITUDE)->text(), QStringLiteral("41.88"));
    EXPECT_EQ(m_view->focusWidget(), Edit(IDC_LATITUDE));

    // Blanks around a number are fine; Enter in a number field takes it and computes.
    TypeInto(IDC_LONGITUDE, QStringLiteral("  87.63 "));
    TypeInto(IDC_TIMEZONE_OFFSET, QStringLiteral("6"));
    Edit(IDC_LONGITUDE)->setFocus();
    QTest::keyClick(Edit(IDC_LONGITUDE), Qt::Key_Return);
    EXPECT_TRUE(m_view->isVisible());
    EXPECT_DOUBLE_EQ(m_view->Dialog().m_longitude, 87.63);
    EXPECT_FALSE(Edit(IDC_SUNRISE)->text().isEmpty());
}

TEST_F(DaybreakViewTest, ExitEscapeAndEnterOnABadFieldEndTheDialogOrNot) {
    TypeInto(IDC_TIMEZONE_OFFSET, QStringLiteral("six"));
    QString message;
    CloseNextModal(m_view.get(),
                   [&message](QWidget* box) { message = qobject_cast<QMessageBox*>(box)->text(); });
    Edit(IDC_TIMEZONE_OFFSET)->setFocus();
    QTest::keyClick(Edit(IDC_TIMEZONE_OFFSET), Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(message, QStringLiteral("Please enter a number."));  // Enter computes
    EXPECT_TRUE(m_view->isVisible());

    // Enter on a push button presses that button; the dialog stays.
    TypeInto(IDC_TIMEZONE_OFFSET, QStringLiteral("6"));
    TypeInto(IDC_LATITUDE, QStringLiteral("41.88"));
    TypeInto(IDC_LONGITUDE, QStringLiteral("87.63"));
    m_view->Item(IDC_CALCULATE)->setFocus();
    QTest::keyClick(m_view->Item(IDC_CALCULATE), Qt::Key_Return);
    EXPECT_TRUE(m_view->isVisible());
    EXPECT_FALSE(Edit(IDC_SUNRISE)->text().isEmpty());

    // Enter never ends the window: in the date or a number field it confirms and computes,
    // in an empty list it does nothing.
    auto* date = qobject_cast<QDateEdit*>(m_view->Item(IDC_DATE));
    date->setDate(QDate(2007, 6, 21));
    TypeInto(IDC_LATITUDE, QStringLiteral("41.88"));
    Edit(IDC_LATITUDE)->setFocus();
    QTest::keyClick(Edit(IDC_LATITUDE), Qt::Key_Return);
    EXPECT_TRUE(m_view->isVisible());
    EXPECT_EQ(Edit(IDC_LATITUDE)->text(), QStringLiteral("41.88"));
    EXPECT_EQ(Edit(IDC_SUNRISE)->text(), QStringLiteral("Thursday, June 21, 2007,  04:15:47"));
    date->setFocus();
    QTest::keyClick(date, Qt::Key_Enter, Qt::KeypadModifier);
    Combo(IDC_CITY_COMBO)->setFocus();
    QTest::keyClick(Combo(IDC_CITY_COMBO), Qt::Key_Return);
    EXPECT_TRUE(m_view->isVisible());

    QTest::keyClick(m_view.get(), Qt::Key_Escape);
    EXPECT_FALSE(m_view->isVisible());
    EXPECT_EQ(m_view->result(), IDCANCEL);

    m_view->show();
    m_view->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_view.get()));
    QTest::keyClick(Edit(IDC_LATITUDE), Qt::Key_Q, Qt::ControlModifier);
    EXPECT_FALSE(m_view->isVisible());

    m_view->show();
    QAction* exit = MenuAction(QStringLiteral("Exit"));
    ASSERT_NE(exit, nullptr);
    exit->trigger();
    EXPECT_FALSE(m_view->isVisible());
    EXPECT_EQ(m_view->result(), 0);
}

TEST_F(DaybreakViewTest, HelpTextAndAboutMenuOpenTheirDialogs) {
    QString helpTitle;
    CloseNextModal(m_view.get(), [&helpTitle](QWidget* w) { helpTitle = w->windowTitle(); });
    QTest::mouseClick(m_view->Item(IDC_HELP_LINK), Qt::LeftButton);
    EXPECT_EQ(helpTitle, QStringLiteral("Timezone Help Dialog"));
    helpTitle.clear();
    CloseNextModal(m_view.get(), [&helpTitle](QWidget* w) { helpTitle = w->windowTitle(); });
    MenuAction(QStringLiteral("Time Zones..."))->trigger();
    EXPECT_EQ(helpTitle, QStringLiteral("Timezone Help Dialog"));

    QStringList texts;
    QString link;
    CloseNextModal(m_view.get(), [&](QWidget* w) {
        texts << w->windowTitle();
        for (const QLabel* label : w->findChildren<QLabel*>()) {
            texts << label->text();
        }
        link = w->findChild<CXHyperLink*>()->text();
    });
    MenuAction(QStringLiteral("About Lumora.Zezidov"))->trigger();
    for (const char* line : {"About Lumora.Zezidov", "Lumora.Zezidov Version 1.0",
                             "This program is based on the sunrise/sunset calculator",
                             "hosted by NOAA. The data is derived from the U.S.",
                             "Census Bureau, and other sources."}) {
        EXPECT_TRUE(texts.contains(QString::fromLatin1(line))) << line;
    }
    EXPECT_TRUE(texts.contains(
        QString(CAboutDlg::DataCreditLine()).replace(QLatin1Char('-'), QChar(0x2011))));
    EXPECT_EQ(link, CAboutDlg::WebAddress());
    EXPECT_TRUE(m_view->isVisible());
}

// At the June solstice, 12:00 UTC: the Sun overhead near 23.44 N on the Greenwich meridian,
// day there and night on the date line. The reference point is the pinned ephemeris package's
// (tools/reference/make-subsolar-reference.mjs).
TEST(WorldMapWindow, JuneSolsticeNoonLightsGreenwichAndDarkensTheDateLine) {
    CWorldMapDlg dialog(DAYBREAK_ARCHIVE_DIR);
    dialog.SetClock([] { return qint64{0}; });  // 1970: never the date shown
    CYearRequest request;
    request.date = CCivilDate{2007, 6, 21};
    dialog.ShowRequest(request);
    dialog.SetMinutes(12 * 60);
    dialog.resize(1000, 600);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    const CSubsolarPoint& sun = dialog.Map()->Subsolar();
    EXPECT_NEAR(sun.latitude, 23.44, 0.5);
    EXPECT_NEAR(sun.longitudeEast, 0, 0.5);
    EXPECT_NEAR(sun.latitude, 23.4413, 0.05);
    EXPECT_NEAR(sun.longitudeEast, 0.4273, 0.05);
    const QImage& frame = dialog.Map()->Frame();
    const qreal ratio = frame.devicePixelRatio();
    const auto gray = [&](double lat, double lon) {
        return qGray(frame.pixel((dialog.Map()->PointOf(lat, lon) * ratio).toPoint()));
    };
    EXPECT_GT(gray(0, 0), 150);
    EXPECT_LT(gray(0, 179.5), 100);
    EXPECT_TRUE(dialog.Heading().contains(QStringLiteral("23.44° N")));
    // Hovering names the point and its clock: Chicago keeps daylight time in June.
    EXPECT_TRUE(dialog.Map()
                    ->HoverText(dialog.Map()->PointOf(41.88, -87.63))
                    .endsWith(QStringLiteral("W  07:00 America/Chicago")));
}

// The shipped outlines load, and a changed byte is caught.
TEST(WorldMapWindow, ShippedOutlinesLoadAndADamagedFileIsRefused) {
    const CWorldMap map = CWorldMap::Load(DAYBREAK_ARCHIVE_DIR);
    ASSERT_TRUE(map.IsKnown()) << map.Problem();
    EXPECT_GT(map.Land().size(), 1000u);
    QFile file(
        QString::fromStdString((fs::path(DAYBREAK_ARCHIVE_DIR) / kWorldMapFileName).string()));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_LE(file.size(), 3 << 20);
    std::string bytes = file.readAll().toStdString();
    bytes[bytes.size() / 2] ^= 1;
    EXPECT_NE(CWorldMap::Parse(bytes).Problem().find("checksum"), std::string::npos);
}

// A click on the map puts the point into the fields, longitude WEST positive, and the times
// follow at once.
TEST_F(DaybreakViewTest, AClickOnTheWorldMapPutsThePointIntoTheFields) {
    qobject_cast<QDateEdit*>(m_view->Item(IDC_DATE))->setDate(QDate(2007, 6, 21));
    TypeInto(IDC_TIMEZONE_OFFSET, QStringLiteral("6"));
    QTest::keyClick(m_view.get(), Qt::Key_M, Qt::ControlModifier);
    CWorldMapDlg* window = m_view->WorldMapWindow();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    CWorldMapView* map = window->Map();
    QTest::mouseClick(map, Qt::LeftButton, {}, map->PointOf(41.88, -87.63).toPoint());
    const double step = 180.0 / map->height() + 0.01;  // a pixel, in degrees
    EXPECT_NEAR(Edit(IDC_LATITUDE)->text().toDouble(), 41.88, step);
    EXPECT_NEAR(Edit(IDC_LONGITUDE)->text().toDouble(), 87.63, step);
    EXPECT_TRUE(Edit(IDC_SUNRISE)->text().startsWith(QStringLiteral("Thursday, June 21, 2007")));
    // The map follows the fields back: the place is marked where it was clicked.
    QTRY_COMPARE(window->Request().latitude, Edit(IDC_LATITUDE)->text().toDouble());
}

// Every event shows without scrolling, and the window stays on its screen.
TEST(DayDetailsWindow, ShowsEveryRowWithinTheScreen) {
    CDayDetails details{"Thursday, June 21, 2007, Chicago", "A note.", {}, {}, {}};
    for (int i = 0; i < 20; ++i) {
        details.lines.push_back({"Morning Golden Hour Start", "05:15:23 (Friday, June 22, 2007)"});
    }
    details.chart = CSunDayChart{};
    details.chart->curve = SunDayCurve(CCivilDate{2007, 6, 21}, -5 * 3600, 41.88, 87.63, 289);
    details.moon = CMoonDetails{};
    details.moon->lines.assign(7, {"Next Full Moon", "Saturday, June 30, 2007,  08:48:42"});
    for (const bool pictures : {false, true}) {
        CDayDetails shown = details;
        if (!pictures) {
            shown.chart.reset();
            shown.moon.reset();
        }
        CDayDetailsDlg dialog(shown);
        dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
        if (!pictures) {  // the pictures on this small screen go under the list, which gives way
            EXPECT_EQ(dialog.List()->verticalScrollBar()->maximum(), 0);
            EXPECT_EQ(dialog.List()->horizontalScrollBar()->maximum(), 0);
        }
        const QRect screen = dialog.screen()->availableGeometry();
        EXPECT_LE(dialog.frameGeometry().height(), screen.height());
        EXPECT_LE(dialog.frameGeometry().width(), screen.width());
    }
}

// The Sun's day marks sunrise at the engine's time on its scale, and its curve crosses the
// horizon's altitude there; the Moon's lines stand beside it.
TEST_F(DaybreakViewTest, DayDetailsDrawsTheSunsDayWithSunriseWhereTheEnginePutsIt) {
    m_view->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(m_view.get()));
    qobject_cast<QDateEdit*>(m_view->Item(IDC_DATE))->setDate(QDate(2007, 6, 21));
    TypeInto(IDC_LATITUDE, QStringLiteral("41.88"));
    TypeInto(IDC_LONGITUDE, QStringLiteral("87.63"));
    TypeInto(IDC_TIMEZONE_OFFSET, QStringLiteral("6"));
    MenuAction(QStringLiteral("Precise Calculation"))->setChecked(true);
    const CSunEventResult sunrise =
        PreciseSunDay(CCivilDate{2007, 6, 21}, 41.88, 87.63, 6.0f, 0)[SunEvent::Sunrise];
    const double minutes =
        sunrise.time.hour * 60 + sunrise.time.minute + sunrise.time.second / 60.0;
    double markX = -1, engineX = 0, curveAtMark = 0;
    QStringList moon;
    CloseNextModal(m_view.get(), [&](QWidget* w) {
        auto* dialog = qobject_cast<CDayDetailsDlg*>(w);
        ASSERT_NE(dialog, nullptr);
        ASSERT_NE(dialog->Chart(), nullptr);
        markX = dialog->Chart()->SunriseX().value_or(-1);
        engineX = dialog->Chart()->XOfMinutes(minutes);
        curveAtMark = dialog->Chart()
                          ->HoverText(QPointF(markX, dialog->Chart()->PlotRect().center().y()))
                          .section(QStringLiteral("elevation "), 1)
                          .section(QChar(0xb0), 0, 0)
                          .toDouble();
        for (int row = 0; row < dialog->MoonList()->rowCount(); ++row) {
            moon << dialog->MoonList()->item(row, 0)->text();
        }
    });
    QTest::keyClick(m_view.get(), Qt::Key_D, Qt::ControlModifier);
    EXPECT_NEAR(markX, engineX, 1.0);
    EXPECT_NEAR(curveAtMark, -0.833, 0.35);  // a pixel is about five minutes' climb of 0.6 deg
    EXPECT_EQ(moon, QStringList({"Moonrise", "Moonset", "Moon Transit", "Phase", "Illumination",
                                 "Next Full Moon", "Next New Moon"}));
}

TEST_F(DaybreakViewTest, PreciseCalculationIsRememberedAndDayDetailsOpenWithCtrlD) {
    QSettings().remove(QStringLiteral("PreciseCalculation"));
    m_view = std::make_unique<CDaybreakView>(m_dir.path());  // starts from the default
    m_view->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(m_view.get()));
    QAction* precise = MenuAction(QStringLiteral("Precise Calculation"));
    ASSERT_NE(precise, nullptr);
    EXPECT_FALSE(precise->isChecked());

    qobject_cast<QDateEdit*>(m_view->Item(IDC_DATE))->setDate(QDate(2007, 6, 21));
    TypeInto(IDC_LATITUDE, QStringLiteral("41.88"));
    TypeInto(IDC_LONGITUDE, QStringLiteral("87.63"));
    TypeInto(IDC_TIMEZONE_OFFSET, QStringLiteral("6"));
    QTest::mouseClick(Dst(), Qt::LeftButton);
    EXPECT_EQ(Edit(IDC_SUNRISE)->text(), QStringLiteral("Thursday, June 21, 2007,  05:15:47"));
    precise->trigger();
    EXPECT_EQ(Edit(IDC_SUNRISE)->text(), QStringLiteral("Thursday, June 21, 2007,  05:15:23"));
    EXPECT_EQ(m_view->windowTitle(),
              QStringLiteral("Corvane - Lumora.Zezidov (Precise Calculation)"));

    QStringList rows;
    CloseNextModal(m_view.get(), [&rows](QWidget* w) {
        rows << w->windowTitle();
        const auto* list = w->findChild<QTableWidget*>();
        for (int row = 0; row < list->rowCount(); ++row) {
            rows << list->item(row, 0)->text() + QStringLiteral(": ") + list->item(row, 1)->text();
        }
    });
    QTest::keyClick(m_view.get(), Qt::Key_D, Qt::ControlModifier);
    EXPECT_TRUE(rows.contains(QStringLiteral("Day Details")));
    EXPECT_TRUE(rows.contains(QStringLiteral("Civil Dusk: 21:03:32")));

    // The next window starts as this one was left, and says so.
    m_view = std::make_unique<CDaybreakView>(m_dir.path());
    EXPECT_TRUE(MenuAction(QStringLiteral("Precise Calculation"))->isChecked());
    EXPECT_TRUE(m_view->windowTitle().endsWith(QStringLiteral("(Precise Calculation)")));
    MenuAction(QStringLiteral("Precise Calculation"))->trigger();
    EXPECT_FALSE(QSettings().value(QStringLiteral("PreciseCalculation")).toBool());
    EXPECT_EQ(m_view->windowTitle(), QStringLiteral("Corvane - Lumora.Zezidov"));
}

}  // namespace

namespace {

constexpr int kResultIds[] = {IDC_SUNRISE, IDC_SUNSET, IDC_SOLAR_NOON, IDC_CITY_NAME,
                              IDC_COUNTY_NAME};

TEST_F(DaybreakViewTest, ResultsShowWholeWithTheFullTextInTheirTooltips) {
    // The polar night in Barrow: the engine's note is too long for the field.
    Date()->setDate(QDate(2026, 12, 7));
    Choose(IDC_STATE_COMBO, QStringLiteral("Alaska"));
    Choose(IDC_ZIP_COMBO, QStringLiteral("99723"));
    const QString full = QStringLiteral(
        "No sunrise: the Sun is down all day (next sunrise Sunday, January 24, 2027,  13:06:29)");
    EXPECT_EQ(Edit(IDC_SUNRISE)->text(), QStringLiteral("Sun down all day; rises Jan 24, 2027"));
    EXPECT_EQ(Edit(IDC_SUNRISE)->toolTip(),
              full + QStringLiteral("\nThe Sun next rises on Sunday, January 24, 2027."));
    EXPECT_EQ(Edit(IDC_SOLAR_NOON)->text(), QStringLiteral("Monday, December 07, 2026,  13:18:52"));
    EXPECT_EQ(Edit(IDC_COUNTY_NAME)->toolTip(), QStringLiteral("North Slope"));
    for (const int id : kResultIds) {
        EXPECT_TRUE(ShowsWhole(Edit(id))) << id << " " << Edit(id)->text().toStdString();
    }
    // The dialog reads the full text back, not the shorter form.
    m_view->Dialog().UpdateData(true);
    EXPECT_EQ(m_view->Dialog().m_sunrise, full.toStdString());

    // The longest time the field shows: weekday and month at their longest.
    Date()->setDate(QDate(2027, 9, 29));
    EXPECT_EQ(Edit(IDC_SOLAR_NOON)->text().left(30),
              QStringLiteral("Wednesday, September 29, 2027,"));
    EXPECT_TRUE(ShowsWhole(Edit(IDC_SOLAR_NOON)));
    EXPECT_EQ(Edit(IDC_SOLAR_NOON)->toolTip(), Edit(IDC_SOLAR_NOON)->text());
}

TEST_F(DaybreakViewTest, ResultFieldsLookReadOnlyInAnyScheme) {
    const auto base = [this](int id) { return Edit(id)->palette().color(QPalette::Base); };
    const QColor window = m_view->palette().color(QPalette::Window);
    ASSERT_NE(Edit(IDC_LATITUDE)->palette().color(QPalette::Base), window);
    for (const int id : kResultIds) {
        EXPECT_EQ(base(id), window) << id;
        EXPECT_EQ(Edit(id)->palette().color(QPalette::Text),
                  m_view->palette().color(QPalette::WindowText));
    }
    const QImage field = Edit(IDC_SUNRISE)->grab().toImage();
    EXPECT_EQ(field.pixelColor(field.width() / 2, field.height() / 2), window);

    m_view->setPalette(DarkPalette());
    for (const int id : kResultIds) {
        EXPECT_EQ(base(id), QColor(53, 53, 53)) << id;
    }
    EXPECT_EQ(Edit(IDC_LATITUDE)->palette().color(QPalette::Base), QColor(35, 35, 35));
}

TEST_F(DaybreakViewTest, CalendarOpensRightAligned) {
    QDateEdit* date = Date();
    QStyleOptionComboBox option;
    option.initFrom(date);
    option.editable = true;
    option.subControls = QStyle::SC_All;
    const QRect arrow =
        date->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxArrow, date);
    QTest::mouseClick(date, Qt::LeftButton, {}, arrow.center());
    QWidget* popup = date->calendarWidget()->window();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(popup));
    const QRect picker(date->mapToGlobal(QPoint(0, 0)), date->size());
    EXPECT_EQ(popup->frameGeometry().right(), picker.right());
    EXPECT_GE(popup->y(), picker.bottom());
    popup->close();
}

// On a dark scheme a link takes the palette's link colour, lightened until it reads at 4.5:1 or
// better on the window's own colour, which is also the colour behind it.
TEST(DaybreakViewScheme, LinksTakeThePalettesLinkColourWhenDark) {
    const QPalette before = QApplication::palette();
    const QPalette dark = DarkPalette();
    QApplication::setPalette(dark);
    const QColor window = dark.color(QPalette::Window);
    auto expectReadable = [&window](const QColor& shown, const QColor& palette) {
        EXPECT_GE(daybreak::ContrastRatio(shown, window), daybreak::kLinkContrast);
        EXPECT_NEAR(shown.hslHue(), palette.hslHue(), 2);
    };
    {
        CDaybreakView view;
        view.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
        auto* help = qobject_cast<CColorStatic*>(view.Item(IDC_HELP_LINK));
        EXPECT_EQ(help->BackgroundColor(), window);
        expectReadable(help->TextColor(), QColor(42, 130, 218));
        CAboutDlg about(&view);
        expectReadable(about.m_webLink->CurrentTextColor(), QColor(42, 130, 218));
        about.m_webLink->SetVisited(true);
        expectReadable(about.m_webLink->CurrentTextColor(), QColor(180, 120, 230));
    }
    QApplication::setPalette(before);
}

// Under the results the window says when the place keeps another clock than the box gives,
// with a link that lets the box follow it, and when noon is so far from 12:00 that the signs
// are likely wrong.
// A place pasted as a map gives it fills both fields, the longitude west positive; Enter then
// computes.
TEST_F(DaybreakViewTest, APastedCoordinatePairFillsBothFields) {
    Date()->setDate(QDate(2007, 6, 21));
    TypeInto(IDC_TIMEZONE_OFFSET, QStringLiteral("6"));
    TypeInto(IDC_LATITUDE, QStringLiteral("41.88, -87.63"));
    Edit(IDC_LATITUDE)->setFocus();
    QTest::keyClick(Edit(IDC_LATITUDE), Qt::Key_Return);
    EXPECT_EQ(Edit(IDC_LATITUDE)->text(), QStringLiteral("41.88"));
    EXPECT_EQ(Edit(IDC_LONGITUDE)->text(), QStringLiteral("87.63"));
    EXPECT_EQ(Edit(IDC_SUNRISE)->text(), QStringLiteral("Thursday, June 21, 2007,  04:15:47"));
}

// Every menu shortcut reaches its command from every field: none is a text-editing key of the
// fields (Ctrl+Y, redo in some key schemes, would be taken by a field first).
TEST_F(DaybreakViewTest, MenuShortcutsWorkFromEveryField) {
    m_view->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_view.get()));
    const std::vector<QWidget*> fields = {
        Combo(IDC_STATE_COMBO),    Combo(IDC_ZIP_COMBO), Combo(IDC_CITY_COMBO), Date(),
        Edit(IDC_TIMEZONE_OFFSET), Edit(IDC_LATITUDE),   Edit(IDC_LONGITUDE)};
    for (QAction* menu : m_view->MenuBar()->actions()) {
        for (QAction* item : menu->menu()->actions()) {
            const QKeySequence keys = item->shortcut();
            if (keys.isEmpty() || keys == QKeySequence(Qt::CTRL | Qt::Key_Q)) {
                continue;  // Exit ends the window: seen elsewhere
            }
            // Count the item's triggers without running it: the command opens windows.
            QObject::disconnect(item, &QAction::triggered, nullptr, nullptr);
            QSignalSpy spy(item, &QAction::triggered);
            for (QWidget* field : fields) {
                field->setFocus();
                QWidget* target = field->focusProxy() ? field->focusProxy() : field;
                QTest::keySequence(target, keys);
            }
            EXPECT_EQ(spy.count(), static_cast<int>(fields.size()))
                << item->text().toStdString() << " " << keys.toString().toStdString();
        }
    }
}

// File > Recent Places lists the places chosen, in the next run too, and restores one.
TEST_F(DaybreakViewTest, RecentPlacesAreRememberedAndRestoreThePlace) {
    QSettings().remove(QStringLiteral("RecentPlaces"));
    m_view = std::make_unique<CDaybreakView>(m_dir.path());
    Choose(IDC_STATE_COMBO, QStringLiteral("Texas"));
    Choose(IDC_ZIP_COMBO, QStringLiteral("78572"));
    m_view = std::make_unique<CDaybreakView>(m_dir.path());
    m_view->show();
    QMenu* recent = nullptr;
    for (QMenu* menu : m_view->MenuBar()->findChildren<QMenu*>()) {
        recent = menu->title() == QStringLiteral("&Recent Places") ? menu : recent;
    }
    ASSERT_NE(recent, nullptr);
    ASSERT_EQ(recent->actions().size(), 1);
    EXPECT_EQ(recent->actions().front()->text(), QStringLiteral("&1 Mission - 78572, TX"));
    recent->actions().front()->trigger();
    EXPECT_EQ(Combo(IDC_STATE_COMBO)->currentText(), QStringLiteral("Texas"));
    EXPECT_EQ(Edit(IDC_CITY_NAME)->text(), QStringLiteral("Mission"));
    EXPECT_FALSE(Edit(IDC_SUNRISE)->text().isEmpty());
}

TEST_F(DaybreakViewTest, NotesSayTheClockAndTheSigns) {
    QSettings().remove(QStringLiteral("DaylightSavingFromDate"));
    m_view = std::make_unique<CDaybreakView>(m_dir.path());
    m_view->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(m_view.get()));
    QLabel* notes = nullptr;
    for (QLabel* label : m_view->findChildren<QLabel*>()) {
        if (label->accessibleName() == QStringLiteral("Notes")) {
            notes = label;
        }
    }
    ASSERT_NE(notes, nullptr);
    EXPECT_FALSE(notes->isVisible());

    Date()->setDate(QDate(2007, 6, 21));
    Choose(IDC_STATE_COMBO, QStringLiteral("Texas"));
    Choose(IDC_ZIP_COMBO, QStringLiteral("78572"));
    EXPECT_TRUE(notes->isVisible());
    EXPECT_TRUE(
        notes->text().contains(QStringLiteral("Mission keeps daylight saving time on this date.")));
    emit notes->linkActivated(QStringLiteral("follow-clock"));
    EXPECT_TRUE(MenuAction(QStringLiteral("Daylight Saving from the Date"))->isChecked());
    EXPECT_TRUE(Dst()->isChecked());
    EXPECT_FALSE(notes->isVisible());
    MenuAction(QStringLiteral("Daylight Saving from the Date"))->trigger();

    TypeInto(IDC_LATITUDE, QStringLiteral("41.88"));
    TypeInto(IDC_LONGITUDE, QStringLiteral("-87.63"));  // a map's sign
    TypeInto(IDC_TIMEZONE_OFFSET, QStringLiteral("6"));
    Click(IDC_CALCULATE);
    EXPECT_TRUE(notes->isVisible());
    EXPECT_TRUE(notes->text().contains(QStringLiteral("WEST positive")));
    TypeInto(IDC_LONGITUDE, QStringLiteral("87.63"));
    Click(IDC_CALCULATE);
    EXPECT_FALSE(notes->isVisible());
}

TEST_F(DaybreakViewTest, DaylightSavingFromTheDateIsOffByDefaultAndRemembered) {
    QSettings().remove(QStringLiteral("DaylightSavingFromDate"));
    m_view = std::make_unique<CDaybreakView>(m_dir.path());
    m_view->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(m_view.get()));
    QAction* fromDate = MenuAction(QStringLiteral("Daylight Saving from the Date"));
    ASSERT_NE(fromDate, nullptr);
    EXPECT_FALSE(fromDate->isChecked());

    Date()->setDate(QDate(2007, 6, 21));
    Choose(IDC_STATE_COMBO, QStringLiteral("Texas"));
    Choose(IDC_ZIP_COMBO, QStringLiteral("78572"));
    EXPECT_FALSE(Dst()->isChecked());  // off: the box is the user's alone
    fromDate->trigger();
    EXPECT_TRUE(Dst()->isChecked());
    EXPECT_EQ(Edit(IDC_SUNRISE)->text(), QStringLiteral("Thursday, June 21, 2007,  06:41:40"));
    Date()->setDate(QDate(2007, 12, 21));
    EXPECT_FALSE(Dst()->isChecked());

    m_view =
        std::make_unique<CDaybreakView>(m_dir.path());  // the next run starts as this one ended
    EXPECT_TRUE(MenuAction(QStringLiteral("Daylight Saving from the Date"))->isChecked());
    MenuAction(QStringLiteral("Daylight Saving from the Date"))->trigger();
    EXPECT_FALSE(QSettings().value(QStringLiteral("DaylightSavingFromDate")).toBool());
}

}  // namespace

// F1 opens the user guide beside the window; every link of the guide to one of its sections
// names a heading, and following one moves the view there.
TEST_F(DaybreakViewTest, F1OpensTheUserGuideWhoseSectionLinksWork) {
    QTest::keyClick(m_view.get(), Qt::Key_F1);
    CUserGuideWindow* guide = m_view->UserGuideWindow();
    ASSERT_NE(guide, nullptr);
    EXPECT_TRUE(guide->isVisible());
    QTextBrowser* browser = guide->Browser();
    QStringList anchors, links;
    for (QTextBlock block = browser->document()->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            anchors += format.anchorNames();
            if (format.anchorHref().startsWith(QLatin1Char('#'))) {
                links += format.anchorHref().mid(1);
            }
        }
    }
    EXPECT_GT(anchors.size(), 10);
    ASSERT_FALSE(links.isEmpty());
    for (const QString& link : links) {
        EXPECT_TRUE(anchors.contains(link)) << link.toStdString();
    }
    QCoreApplication::processEvents();
    guide->FollowLink(QUrl(QLatin1Char('#') + anchors.last()));
    EXPECT_GT(browser->verticalScrollBar()->value(), 0);
    EXPECT_TRUE(browser->isBackwardAvailable());
    QTest::keyClick(m_view.get(), Qt::Key_F1);
    EXPECT_EQ(m_view->UserGuideWindow(), guide);
}
