#include "report_cli.h"

#include <QGuiApplication>

#include <iostream>
#include <string_view>
#include <vector>

// Draws offscreen: the report needs no display, only Qt's painter and fonts.
int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    return dornal::report::runReport(args, std::cout, std::cerr);
}
