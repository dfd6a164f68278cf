// CDaybreakApp is the program: it sets up the application (its name, version and the company
// key "Tamarack-PC" under which the toolkit would keep settings; the program keeps none), runs
// the main window modally and ends when the window closes.
//
// The command line is read in two steps. Before any window exists, HandleCommandLine answers
// --help and --version, and ends the program with one line when there is no graphical session
// to open the window in. Then the application takes Qt's standard options out of the
// arguments (-style Fusion, -platform offscreen, -reverse, ...); anything left is refused by
// RefuseRemainingArguments with exit status 2.
//
//     if (auto status = CDaybreakApp::HandleCommandLine(argc, argv)) return *status;
//     CDaybreakApp app(argc, argv);              // argc and argv lose Qt's options
//     if (auto status = CDaybreakApp::RefuseRemainingArguments(argc, argv, std::cerr))
//         return *status;
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

    // The exit status when the program ends before its window: 0 after --help or --version
    // (which need no display), 1 when no graphical session is at hand: neither DISPLAY nor
    // WAYLAND_DISPLAY is set and no platform is named (QT_QPA_PLATFORM, -platform).
    static std::optional<int> HandleCommandLine(const std::vector<std::string>& args,
                                                std::ostream& out, std::ostream& err,
                                                const EnvironmentLookup& environment);
    // The same over main's arguments, the process's environment and standard output and error.
    static std::optional<int> HandleCommandLine(int argc, char** argv);

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
