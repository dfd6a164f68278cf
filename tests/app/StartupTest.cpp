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

struct Outcome {
    std::optional<int> status;
    std::string out;
    std::string err;
};

Outcome Handle(const std::vector<std::string>& args,
               const std::map<std::string, std::string>& env) {
    std::ostringstream out;
    std::ostringstream err;
    const auto status =
        CDaybreakApp::HandleCommandLine(args, out, err, [&env](const char* name) -> const char* {
            const auto found = env.find(name);
            return found == env.end() ? nullptr : found->second.c_str();
        });
    return {status, out.str(), err.str()};
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

TEST(DaybreakAppCommandLine, HelpAndVersionNeedNoDisplayAndNoDisplayIsOneLine) {
    const std::map<std::string, std::string> none;
    const struct {
        std::vector<std::string> args;
        std::map<std::string, std::string> env;
        std::optional<int> status;
        std::string out;
    } rows[] = {
        {{"daybreak"}, {{"DISPLAY", ":0"}}, std::nullopt, ""},
        {{"daybreak"}, {{"WAYLAND_DISPLAY", "wayland-0"}}, std::nullopt, ""},
        {{"daybreak"}, {{"QT_QPA_PLATFORM", "offscreen"}}, std::nullopt, ""},
        {{"daybreak", "-platform", "offscreen"}, none, std::nullopt, ""},
        {{"daybreak", "--version"}, none, 0, std::string(kDaybreakVersion) + "\n"},
        {{"daybreak", "-style", "Fusion", "--help"}, none, 0, CDaybreakApp::HelpText()},
        {{"daybreak"}, none, 1, ""},
        {{"daybreak"}, {{"DISPLAY", ""}}, 1, ""},
    };
    for (const auto& row : rows) {
        const Outcome outcome = Handle(row.args, row.env);
        EXPECT_EQ(outcome.status, row.status) << row.args.back();
        EXPECT_EQ(outcome.out, row.out);
        if (row.status == 1) {
            EXPECT_NE(outcome.err.find("graphical session"), std::string::npos);
            EXPECT_NE(outcome.err.find("daybreak-cli"), std::string::npos);
            EXPECT_EQ(outcome.err.find('\n'), outcome.err.size() - 1) << outcome.err;
        } else {
            EXPECT_EQ(outcome.err, "");
        }
    }
    std::istringstream help(CDaybreakApp::HelpText());
    for (std::string line; std::getline(help, line);) {
        EXPECT_LT(line.size(), 80u) << line;
    }
}

TEST(DaybreakAppCommandLine, WithoutADisplayTheProgramEndsWithOneLine) {
    const std::string command =
        std::string("env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM ") + DAYBREAK_APP_PATH +
        " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string output;
    std::array<char, 256> buffer{};
    while (std::fgets(buffer.data(), buffer.size(), pipe) != nullptr) {
        output += buffer.data();
    }
    const int status = pclose(pipe);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1);
    EXPECT_EQ(output.rfind("daybreak: the window needs a graphical session", 0), 0u) << output;
    EXPECT_EQ(output.find('\n'), output.size() - 1) << output;
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
