// The year window on small and scaled screens: each case builds its own application on an
// offscreen screen of the size it names, at the scale it names.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialogButtonBox>
#include <QImage>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

#include <fstream>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "DayDetailsDlg.h"
#include "DaybreakView.h"
#include "TempDir.h"
#include "YearChart.h"
#include "YearDlg.h"

namespace {

// A screen of `width` x `height` pixels at QT_SCALE_FACTOR `scale`, with the main window and
// the year window opened on it, handed to `inspect`.
void OnScreen(int width, int height, const char* scale,
              const std::function<void(CDaybreakView&, CYearDlg&)>& inspect) {
    const TempDir dir;
    const auto config = dir.path() / "screens.json";
    std::ofstream(config) << R"({"screens": [{"name": "s", "x": 0, "y": 0, "width": )" << width
                          << R"(, "height": )" << height
                          << R"(, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})";
    qputenv("QT_SCALE_FACTOR", scale);
    std::string platform = "offscreen:configfile=" + config.string();
    std::vector<char*> argv = {const_cast<char*>("daybreak"), const_cast<char*>("-platform"),
                               platform.data(), nullptr};
    int argc = 3;
    {
        QApplication app(argc, argv.data());
        CDaybreakView view;
        view.show();
        view.ShowYearWindow();
        CYearDlg* year = view.YearWindow();
        ASSERT_NE(year, nullptr);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(year));
        inspect(view, *year);
    }
    qunsetenv("QT_SCALE_FACTOR");
}

}  // namespace

// The whole window, its buttons included, on the screen; beside the main window, not over
// it, when the screen has room for both.
TEST(YearWindowScreen, FitsTheScreenAndOpensBesideTheMainWindow) {
    const struct {
        int width, height;
        const char* scale;
        bool beside;
    } rows[] = {{1366, 768, "1", true},  {1366, 768, "1.5", false}, {1366, 768, "2", false},
                {1600, 1000, "1", true}, {1600, 1000, "1.5", true}, {1600, 1000, "2", false}};
    for (const auto& row : rows) {
        OnScreen(row.width, row.height, row.scale, [&row](CDaybreakView& view, CYearDlg& year) {
            const std::string name =
                std::to_string(row.width) + "x" + std::to_string(row.height) + "@" + row.scale;
            const QRect available = year.screen()->availableGeometry();
            EXPECT_TRUE(available.contains(year.frameGeometry())) << name;
            // The main window, if moved over to make room, stays on the screen.
            const QRect main = view.frameGeometry();
            EXPECT_TRUE(main.width() > available.width() ||
                        (main.left() >= available.left() && main.right() <= available.right()))
                << name;
            auto* buttons = year.findChild<QDialogButtonBox*>();
            ASSERT_NE(buttons, nullptr);
            const QRect shown(buttons->mapToGlobal(QPoint(0, 0)), buttons->size());
            EXPECT_TRUE(available.contains(shown)) << name;
            EXPECT_EQ(!year.frameGeometry().intersects(view.frameGeometry()), row.beside)
                << name << ": main " << view.frameGeometry().x() << "+"
                << view.frameGeometry().width() << ", year " << year.frameGeometry().x() << "+"
                << year.frameGeometry().width();
        });
    }
}

// The main window and Day Details, with every event of a day, fit each of these screens too.
TEST(WindowsOnScreens, MainWindowAndDayDetailsFit) {
    CDayDetails details{"Thursday, June 21, 2007, Chicago",
                        "Sunrise, sunset and solar noon as "
                        "in the main window; the twilights from the precise engine.",
                        {},
                        {},
                        {}};
    for (int i = 0; i < 20; ++i) {
        details.lines.push_back({"Morning Golden Hour Start", "05:15:23 (Friday, June 22, 2007)"});
    }
    for (const auto& [width, height] : {std::pair{1366, 768}, std::pair{1600, 1000}}) {
        for (const char* scale : {"1", "1.5", "2"}) {
            OnScreen(width, height, scale, [&](CDaybreakView& view, CYearDlg&) {
                const std::string name =
                    std::to_string(width) + "x" + std::to_string(height) + "@" + scale;
                const QRect available = view.screen()->availableGeometry();
                EXPECT_LE(view.frameGeometry().width(), available.width()) << name;
                EXPECT_LE(view.frameGeometry().height(), available.height()) << name;
                CDayDetailsDlg dialog(details, &view);
                dialog.show();
                ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
                EXPECT_LE(dialog.frameGeometry().width(), available.width()) << name;
                EXPECT_LE(dialog.frameGeometry().height(), available.height()) << name;
            });
        }
    }
}

// At twice the scale the PNG has twice the pixels of the chart's size: as sharp as the screen.
TEST(YearWindowScreen, PngIsAsSharpAsTheScreen) {
    OnScreen(1600, 1000, "2", [](CDaybreakView&, CYearDlg& year) {
        const QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("year.png"));
        ASSERT_EQ(year.Export(YearExportKind::Png, path), std::nullopt);
        const QImage image(path);
        const QSize chart = year.Chart()->size().expandedTo(year.Chart()->sizeHint());
        EXPECT_EQ(image.size(), chart * 2);
    });
}
