#include "DaybreakApp.h"

#include <cstdlib>
#include <cstring>
#include <iostream>

#include "DaybreakVersion.h"
#include "DaybreakView.h"

namespace {

#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
bool IsSet(const CDaybreakApp::EnvironmentLookup& environment, const char* name) {
    const char* value = environment(name);
    return value != nullptr && *value != '\0';
}

// Qt's platform option, in its one-dash and two-dash spellings.
bool NamesPlatform(const std::vector<std::string>& args) {
    for (std::size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "-platform" || args[i] == "--platform") {
            return true;
        }
    }
    return false;
}
#endif

}  // namespace

std::string CDaybreakApp::HelpText() {
    return "Usage: daybreak [--help | --version] [Qt options]\n"
           "\n"
           "The window of Daybreak: local sunrise, sunset and solar noon for places in\n"
           "the United States. Pick a state, then a zip code or a city; or type the\n"
           "latitude, longitude and time-zone offset and press Calculate.\n"
           "\n"
           "  --help      this text\n"
           "  --version   the version\n"
           "\n"
           "Qt's standard options work too, e.g. -style Fusion, -platform offscreen,\n"
           "-reverse. The window needs a graphical session; the same results on the\n"
           "command line come from daybreak-cli (see daybreak-cli --help).\n";
}

std::optional<int> CDaybreakApp::HandleCommandLine(const std::vector<std::string>& args,
                                                   std::ostream& out) {
    for (std::size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "--help" || args[i] == "-h") {
            out << HelpText();
            return 0;
        }
    }
    for (std::size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "--version") {
            out << kDaybreakVersion << '\n';
            return 0;
        }
    }
    return std::nullopt;
}

bool CDaybreakApp::HasGraphicalSession(const std::vector<std::string>& args,
                                       const EnvironmentLookup& environment) {
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
    return IsSet(environment, "DISPLAY") || IsSet(environment, "WAYLAND_DISPLAY") ||
           IsSet(environment, "QT_QPA_PLATFORM") || NamesPlatform(args);
#else
    (void)args;
    (void)environment;
    return true;
#endif
}

int CDaybreakApp::NoGraphicalSession(std::ostream& err) {
    err << "daybreak: the window needs a graphical session and none was found (DISPLAY and "
           "WAYLAND_DISPLAY are unset; start it from a desktop or over ssh -X); on the command "
           "line use daybreak-cli (daybreak-cli --help)\n";
    return 1;
}

std::optional<int> CDaybreakApp::HandleCommandLine(int argc, char** argv) {
    return HandleCommandLine(std::vector<std::string>(argv, argv + argc), std::cout);
}

bool CDaybreakApp::HasGraphicalSession(int argc, char** argv) {
    return HasGraphicalSession(std::vector<std::string>(argv, argv + argc),
                               [](const char* name) -> const char* { return std::getenv(name); });
}

CDaybreakApp::CDaybreakApp(int& argc, char** argv) : m_app(argc, argv) {
    QCoreApplication::setOrganizationName(QStringLiteral("Tamarack-PC"));
    QCoreApplication::setApplicationName(QStringLiteral("Lumora.Zezidov"));
    QCoreApplication::setApplicationVersion(QString::fromLatin1(kDaybreakVersion));
    QGuiApplication::setDesktopFileName(QStringLiteral("daybreak"));
}

std::optional<int> CDaybreakApp::RefuseRemainingArguments(int argc, char** argv,
                                                          std::ostream& err) {
    if (argc <= 1) {
        return std::nullopt;
    }
    err << "daybreak: unknown argument '" << argv[1]
        << "' (the window takes --help, --version and Qt's standard options)\n";
    return 2;
}

int CDaybreakApp::InitInstance() {
    CDaybreakView dialog;
    dialog.exec();
    return 0;
}
