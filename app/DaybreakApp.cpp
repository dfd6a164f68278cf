#include "DaybreakApp.h"

#include <cstdio>
#include <cstring>

#include "DaybreakView.h"

namespace {
constexpr const char* kVersion = "1.0.0.1";
}

std::optional<int> CDaybreakApp::HandleCommandLine(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("%s\n", kVersion);
        return 0;
    }
    if (argc > 1) {
        std::fprintf(stderr, "daybreak: unknown argument '%s' (the only option is --version)\n",
                     argv[1]);
        return 2;
    }
    return std::nullopt;
}

CDaybreakApp::CDaybreakApp(int& argc, char** argv) : m_app(argc, argv) {
    QCoreApplication::setOrganizationName(QStringLiteral("Tamarack-PC"));
    QCoreApplication::setApplicationName(QStringLiteral("Lumora.Zezidov"));
    QCoreApplication::setApplicationVersion(QString::fromLatin1(kVersion));
    QGuiApplication::setDesktopFileName(QStringLiteral("daybreak"));
}

int CDaybreakApp::InitInstance() {
    CDaybreakView dialog;
    dialog.exec();
    return 0;
}
