#include <iostream>

#include "DaybreakApp.h"

int main(int argc, char** argv) {
    if (const auto status = CDaybreakApp::HandleCommandLine(argc, argv)) {
        return *status;
    }
    CDaybreakApp app(argc, argv);
    if (const auto status = CDaybreakApp::RefuseRemainingArguments(argc, argv, std::cerr)) {
        return *status;
    }
    return app.InitInstance();
}
