// The program's start: its command line before and after Qt takes its own options, and the
// window it opens. Each case builds its own application with the platform it names, so these
// tests set no platform through the environment.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <QApplication>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <QWidget>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "DaybreakApp.h"
#include "DaybreakVersion.h"
#include "TempDir.h"

namespace fs = std::filesystem;

namespace {

bool HasSession(const std::vector<std::string>& args,
                const std::map<std::string, std::string>& env) {
    return CDaybreakApp::HasGraphicalSession(args, [&env](const char* name) -> const char* {
        const auto found = env.find(name);
        return found == env.end() ? nullptr : found->second.c_str();
    });
}

// Arguments as main receives them; the application may take some out.
struct Arguments {
    explicit Arguments(std::vector<std::string> args) : strings(std::move(args)) {
        for (std::string& arg : strings) {
            pointers.push_back(arg.data());
        }
        pointers.push_back(nullptr);
        argc = static_cast<int>(strings.size());
    }
    std::vector<std::string> strings;
    std::vector<char*> pointers;
    int argc = 0;
};

// Runs the main window and hands it, once shown, to `inspect`; then closes it.
int RunWindow(CDaybreakApp& app, const std::function<void(QWidget*)>& inspect) {
    QTimer::singleShot(0, qApp, [inspect] {
        QWidget* window = QApplication::activeModalWidget();
        ASSERT_NE(window, nullptr);
        inspect(window);
        window->close();
    });
    return app.InitInstance();
}

TEST(DaybreakAppCommandLine, HelpAndVersionEndTheProgramFirst) {
    const struct {
        std::vector<std::string> args;
        std::optional<int> status;
        std::string out;
    } rows[] = {
        {{"daybreak"}, std::nullopt, ""},
        {{"daybreak", "--bogus"}, std::nullopt, ""},
        {{"daybreak", "--version"}, 0, std::string(kDaybreakVersion) + "\n"},
        {{"daybreak", "-style", "Fusion", "--help"}, 0, CDaybreakApp::HelpText()},
    };
    for (const auto& row : rows) {
        std::ostringstream out;
        EXPECT_EQ(CDaybreakApp::HandleCommandLine(row.args, out), row.status) << row.args.back();
        EXPECT_EQ(out.str(), row.out);
    }
    std::istringstream help(CDaybreakApp::HelpText());
    for (std::string line; std::getline(help, line);) {
        EXPECT_LT(line.size(), 80u) << line;
    }
}

TEST(DaybreakAppCommandLine, AGraphicalSessionIsADisplayOrANamedPlatform) {
    const std::map<std::string, std::string> none;
    EXPECT_TRUE(HasSession({"daybreak"}, {{"DISPLAY", ":0"}}));
    EXPECT_TRUE(HasSession({"daybreak"}, {{"WAYLAND_DISPLAY", "wayland-0"}}));
    EXPECT_TRUE(HasSession({"daybreak"}, {{"QT_QPA_PLATFORM", "offscreen"}}));
    EXPECT_TRUE(HasSession({"daybreak", "-platform", "offscreen"}, none));
    EXPECT_FALSE(HasSession({"daybreak"}, none));
    EXPECT_FALSE(HasSession({"daybreak"}, {{"DISPLAY", ""}}));
}

// The real program without a display: bad arguments are refused as with one (status 2); good
// ones, Qt's included, end with the one line and status 1.
TEST(DaybreakAppCommandLine, WithoutADisplayArgumentsAreCheckedThenOneLineEnds) {
    const struct {
        const char* args;
        int status;
        const char* start;
    } rows[] = {
        {"", 1, "daybreak: the window needs a graphical session"},
        {" -style Fusion", 1, "daybreak: the window needs a graphical session"},
        {" --bogus", 2, "daybreak: unknown argument '--bogus'"},
    };
    for (const auto& row : rows) {
        const std::string command = std::string(
                                        "env -u DISPLAY -u WAYLAND_DISPLAY -u "
                                        "QT_QPA_PLATFORM ") +
                                    DAYBREAK_APP_PATH + row.args + " 2>&1";
        FILE* pipe = popen(command.c_str(), "r");
        ASSERT_NE(pipe, nullptr);
        std::string output;
        std::array<char, 256> buffer{};
        while (std::fgets(buffer.data(), buffer.size(), pipe) != nullptr) {
            output += buffer.data();
        }
        const int status = pclose(pipe);
        ASSERT_TRUE(WIFEXITED(status)) << row.args;
        EXPECT_EQ(WEXITSTATUS(status), row.status) << row.args;
        EXPECT_EQ(output.rfind(row.start, 0), 0u) << output;
        EXPECT_EQ(output.find('\n'), output.size() - 1) << output;
    }
    std::ostringstream err;
    EXPECT_EQ(CDaybreakApp::NoGraphicalSession(err), 1);
    EXPECT_NE(err.str().find("daybreak-cli"), std::string::npos);
}

TEST(DaybreakAppStart, QtOptionsStartTheWindowAndWhatRemainsIsRefused) {
    Arguments args({"daybreak", "-platform", "offscreen", "-style", "Fusion", "--bogus"});
    CDaybreakApp app(args.argc, args.pointers.data());
    ASSERT_EQ(args.argc, 2);
    std::ostringstream err;
    EXPECT_EQ(CDaybreakApp::RefuseRemainingArguments(args.argc, args.pointers.data(), err), 2);
    EXPECT_NE(err.str().find("'--bogus'"), std::string::npos) << err.str();
    EXPECT_EQ(CDaybreakApp::RefuseRemainingArguments(1, args.pointers.data(), err), std::nullopt);

    EXPECT_EQ(QApplication::style()->name(), QStringLiteral("fusion"));
    QString title;
    EXPECT_EQ(RunWindow(app, [&title](QWidget* window) { title = window->windowTitle(); }), 0);
    EXPECT_EQ(title, QStringLiteral("Corvane - Lumora.Zezidov"));
}

// A 1440 x 900 screen at twice the usual 96 dots per inch: every font takes twice the pixels,
// and the window in its dialog units would be far taller than the screen.
TEST(DaybreakAppStart, WindowFitsATwiceScaledScreen) {
    const TempDir dir;
    const fs::path config = dir.path() / "screens.json";
    std::ofstream(config) << R"({"screens": [{"name": "2x", "x": 0, "y": 0, "width": 1440,
        "height": 900, "logicalDpi": 192, "logicalBaseDpi": 96, "dpr": 1}]})";
    Arguments args({"daybreak", "-platform", "offscreen:configfile=" + config.string()});
    CDaybreakApp app(args.argc, args.pointers.data());
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    QRect window;
    RunWindow(app, [&window](QWidget* shown) { window = shown->frameGeometry(); });
    EXPECT_LE(window.width(), available.width());
    EXPECT_LE(window.height(), available.height());
}

}  // namespace
