// CDaybreakApp is the program: it sets up the application (its name, version and the company
// key "Tamarack-PC" under which the toolkit would keep settings; the program keeps none), runs
// the main window modally and ends when the window closes.
//
// The one command-line option is --version, which prints "1.0.0.1" and ends without a window
// (and without needing a display).
#pragma once

#include <QApplication>

#include <optional>

class CDaybreakApp {
public:
    // The exit status when the command line is handled without a window: --version, or an
    // argument the program does not know.
    static std::optional<int> HandleCommandLine(int argc, char** argv);

    CDaybreakApp(int& argc, char** argv);

    // Runs the main window; the exit status of the program.
    int InitInstance();

private:
    QApplication m_app;
};
