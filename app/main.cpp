#include "engine/record/record_directory.h"
#include "program_options.h"
#include "reader/qt/port_path.h"
#include "reader/qt/qt_line.h"
#include "ui/model/window_model.h"
#include "ui/view/qt_alerts.h"
#include "ui/view/window_view.h"
#include "ui/window_controller.h"

#include <QApplication>

#include <cstdio>
#include <string_view>
#include <vector>

namespace {

constexpr int kWrongOption = 2;

// The operator's test bench: one window bound to the reader on a serial port.
int runWindow(int argc, char* argv[], const dornal::ProgramOptions& options) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(dornal::kApplicationTitle));

    dornal::WindowModel model;
    dornal::QtLine line;
    dornal::view::QtAlerts alerts;
    dornal::WindowController controller(model, alerts, line);
    controller.bench().recorder().recordInto(options.recordDirectory);
    controller.bench().deviceOf = [](int port) {
        return dornal::portDevicePath(port).value_or("");
    };

    // The window follows the model from the start, so it shows what loading sets; nothing
    // reaches a port before Connect, as loading's two commands go to a line that is not open.
    dornal::view::WindowView window(model);
    alerts.setWindow(&window);
    controller.load();
    window.onClose = [&controller] { controller.unload(); };
    window.show();
    return QApplication::exec();
}

} // namespace

int main(int argc, char* argv[]) {
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    const dornal::ParsedProgramOptions parsed =
        dornal::parseProgramOptions(args, dornal::record::defaultRecordDirectory());
    if (!parsed.options) {
        std::fprintf(stderr, "dornal-test: %s\n%s", parsed.error.c_str(), dornal::kProgramHelp);
        return kWrongOption;
    }
    if (parsed.options->help) {
        std::fputs(dornal::kProgramHelp, stdout);
        return 0;
    }
    return runWindow(argc, argv, *parsed.options);
}
