// Takes the pictures of the program's windows that the documentation shows: the main window
// with Mission, TX on a summer date, its Day Details, the About box, the time-zone help, the user
// guide and the year window for Chicago in 2007. Not installed; run by tools/screenshot.sh under a
// virtual display.
//
//     daybreak_screenshot OUTPUT_DIR [dark]
//
// With "dark" the windows take a dark colour scheme as a desktop would set it, to see that
// every text and link stays readable there.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <QPalette>
#include <QPixmap>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>

#include <cstdio>
#include <cstring>

#include "AboutDlg.h"
#include "DaybreakApp.h"
#include "DaybreakView.h"
#include "Resource.h"
#include "TimzoneDLG.h"
#include "UserGuideWindow.h"
#include "WorldMapDlg.h"
#include "YearDlg.h"

namespace {

bool Save(QWidget& window, const QDir& dir, const char* name) {
    window.show();
    window.raise();
    window.activateWindow();
    // Let the window map and paint, including the hyperlink's and the lists' first layout.
    for (int i = 0; i < 10; ++i) {
        QCoreApplication::processEvents();
    }
    const QString path = dir.filePath(QString::fromLatin1(name));
    if (!window.grab().save(path)) {
        std::fprintf(stderr, "daybreak_screenshot: cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

bool Choose(QComboBox* combo, const QString& text) {
    const int index = combo->findText(text);
    if (index < 0) {
        std::fprintf(stderr, "daybreak_screenshot: no item '%s'\n", qPrintable(text));
        return false;
    }
    combo->setCurrentIndex(index);
    emit combo->activated(index);
    return true;
}

// Dark window and controls, light text and links, as dark desktop schemes have them.
QPalette DarkPalette() {
    QPalette dark(QColor(0x35, 0x35, 0x35));
    dark.setColor(QPalette::Window, QColor(0x22, 0x20, 0x20));
    dark.setColor(QPalette::WindowText, QColor(0xee, 0xee, 0xee));
    dark.setColor(QPalette::Base, QColor(0x1a, 0x1a, 0x1a));
    dark.setColor(QPalette::AlternateBase, QColor(0x2a, 0x2a, 0x2a));
    dark.setColor(QPalette::Text, QColor(0xee, 0xee, 0xee));
    dark.setColor(QPalette::Button, QColor(0x42, 0x42, 0x45));
    dark.setColor(QPalette::ButtonText, QColor(0xee, 0xee, 0xee));
    dark.setColor(QPalette::Highlight, QColor(0x2a, 0x82, 0xda));
    dark.setColor(QPalette::HighlightedText, Qt::white);
    dark.setColor(QPalette::Link, QColor(0x2a, 0x82, 0xda));
    dark.setColor(QPalette::LinkVisited, QColor(0x80, 0x20, 0x20));
    return dark;
}

}  // namespace

int main(int argc, char** argv) {
    const bool dark = argc == 3 && std::strcmp(argv[2], "dark") == 0;
    if (argc != 2 && !dark) {
        std::fprintf(stderr, "usage: daybreak_screenshot OUTPUT_DIR [dark]\n");
        return 2;
    }
    QApplication app(argc, argv);
    if (dark) {
        QApplication::setPalette(DarkPalette());
    }
    QCoreApplication::setOrganizationName(QStringLiteral("Tamarack-PC"));
    QCoreApplication::setApplicationName(QStringLiteral("Lumora.Zezidov"));
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    // The pictures show the defaults, and the options chosen here stay out of the user's own.
    QTemporaryDir settings;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());

    CDaybreakView view;
    auto* date = qobject_cast<QDateEdit*>(view.Item(IDC_DATE));
    date->setDate(QDate(2007, 6, 21));
    view.show();
    if (!Choose(qobject_cast<QComboBox*>(view.Item(IDC_STATE_COMBO)), QStringLiteral("Texas"))) {
        return 1;
    }
    // Mission keeps daylight saving time in summer; the state change cleared the box.
    qobject_cast<QCheckBox*>(view.Item(IDC_DST))->setChecked(true);
    if (!Choose(qobject_cast<QComboBox*>(view.Item(IDC_ZIP_COMBO)), QStringLiteral("78572"))) {
        return 1;
    }
    view.Item(IDC_STATE_COMBO)->setFocus();
    bool ok = Save(view, dir, "main.png");

    // Day Details is modal: it is taken once it shows, then closed.
    QTimer::singleShot(0, &view, [&ok, &dir] {
        if (QWidget* details = QApplication::activeModalWidget()) {
            ok = Save(*details, dir, "details.png") && ok;
            details->close();
        }
    });
    view.Dialog().OnDayDetails();

    CAboutDlg about(&view);
    ok = Save(about, dir, "about.png") && ok;
    about.hide();

    CTimzoneDLG help(&view);
    ok = Save(help, dir, "tzhelp.png") && ok;
    help.hide();

    CUserGuideWindow guide(&view);
    ok = Save(guide, dir, "guide.png") && ok;
    guide.FollowLink(QUrl(QStringLiteral("accuracy.md")));
    ok = Save(guide, dir, "guide-accuracy.png") && ok;
    guide.hide();

    // The year window: Chicago, 2007, daylight saving from the date.
    for (QAction* menu : view.MenuBar()->actions()) {
        for (QAction* item : menu->menu()->actions()) {
            if (item->text() == QStringLiteral("Daylight Saving from the Date")) {
                item->setChecked(true);
            }
        }
    }
    if (!Choose(qobject_cast<QComboBox*>(view.Item(IDC_STATE_COMBO)), QStringLiteral("Illinois"))) {
        return 1;
    }
    if (!Choose(qobject_cast<QComboBox*>(view.Item(IDC_ZIP_COMBO)), QStringLiteral("60601"))) {
        return 1;
    }
    view.ShowYearWindow();
    ok = Save(*view.YearWindow(), dir, "year.png") && ok;
    view.YearWindow()->hide();

    // The world map: the same date at 19:00 in Chicago, dusk over the Americas.
    view.ShowWorldMap();
    view.WorldMapWindow()->SetMinutes(19 * 60);
    ok = Save(*view.WorldMapWindow(), dir, "map.png") && ok;
    return ok ? 0 : 1;
}
