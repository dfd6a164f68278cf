#include <QString>
#include <QtGlobal>

#include <iostream>

#include "DaybreakApp.h"

int main(int argc, char** argv) {
    if (const auto status = CDaybreakApp::HandleCommandLine(argc, argv)) {
        return *status;
    }
    // Without a session the application still reads Qt's options, offscreen and silent, so that
    // a bad argument is refused with the same status whether or not a window could open.
    const bool session = CDaybreakApp::HasGraphicalSession(argc, argv);
    if (!session) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    }
    CDaybreakApp app(argc, argv);
    if (const auto status = CDaybreakApp::RefuseRemainingArguments(argc, argv, std::cerr)) {
        return *status;
    }
    if (!session) {
        return CDaybreakApp::NoGraphicalSession(std::cerr);
    }
    return app.InitInstance();
}
