#include "DaybreakApp.h"

int main(int argc, char** argv) {
    if (const auto status = CDaybreakApp::HandleCommandLine(argc, argv)) {
        return *status;
    }
    CDaybreakApp app(argc, argv);
    return app.InitInstance();
}
