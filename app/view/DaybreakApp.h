// CDaybreakApp is the program: it sets up the application (its name, version and the company
// key "Tamarack-PC" under which the settings are kept: the options and recent places), runs
// the main window modally and ends when the window closes.
//
// The command line is read in steps. Before any window exists, HandleCommandLine answers
// --help and --version. Then the application takes Qt's standard options out of the arguments
// (-style Fusion, -platform offscreen, -reverse, ...); anything left is refused by
// RefuseRemainingArguments with exit status 2. Without a graphical session the application is
// made offscreen only so that the arguments are checked the same way; then the program ends
// with one line and status 1.
//
//     if (auto status = CDaybreakApp::HandleCommandLine(argc, argv)) return *status;
//     const bool session = CDaybreakApp::HasGraphicalSession(argc, argv);
//     if (!session) qputenv("QT_QPA_PLATFORM", "offscreen");
//     CDaybreakApp app(argc, argv);              // argc and argv lose Qt's options
//     if (auto status = CDaybreakApp::RefuseRemainingArguments(argc, argv, std::cerr))
//         return *status;
//     if (!session) return CDaybreakApp::NoGraphicalSession(std::cerr);
//     return app.InitInstance();
#pragma once

#include <QApplication>

#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

class CDaybreakApp {
public:
    // Reads an environment variable; nullptr when it is not set.
    using EnvironmentLookup = std::function<const char*(const char*)>;

    // 0 after --help or --version, which end the program before anything else (and need no
    // display); otherwise nothing.
    static std::optional<int> HandleCommandLine(const std::vector<std::string>& args,
                                                std::ostream& out);
    // The same over main's arguments and standard output.
    static std::optional<int> HandleCommandLine(int argc, char** argv);

    // Whether a window can be opened: DISPLAY or WAYLAND_DISPLAY is set, or a platform is named
    // (QT_QPA_PLATFORM, -platform).
    static bool HasGraphicalSession(const std::vector<std::string>& args,
                                    const EnvironmentLookup& environment);
    // The same over main's arguments and the process's environment.
    static bool HasGraphicalSession(int argc, char** argv);

    // The one line that says no window can open and where the same results are; status 1.
    static int NoGraphicalSession(std::ostream& err);

    static std::string HelpText();

    CDaybreakApp(int& argc, char** argv);

    // After the application took Qt's options: 2, with a line on `err`, when an argument is
    // left.
    static std::optional<int> RefuseRemainingArguments(int argc, char** argv, std::ostream& err);

    // Runs the main window; the exit status of the program.
    int InitInstance();

private:
    QApplication m_app;
};
