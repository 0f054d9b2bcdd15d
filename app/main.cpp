#include "reader/qt/qt_line.h"
#include "ui/model/window_model.h"
#include "ui/view/qt_alerts.h"
#include "ui/view/window_view.h"
#include "ui/window_controller.h"

#include <QApplication>

// The operator's test bench: one window bound to the reader on a serial port.
int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(dornal::kApplicationTitle));

    dornal::WindowModel model;
    dornal::QtLine line;
    dornal::view::QtAlerts alerts;
    dornal::WindowController controller(model, alerts, line);

    // The window follows the model from the start, so it shows what loading sets; nothing
    // reaches a port before Connect, as loading's two commands go to a line that is not open.
    dornal::view::WindowView window(model);
    alerts.setWindow(&window);
    controller.load();
    window.onClose = [&controller] { controller.unload(); };
    window.show();
    return QApplication::exec();
}
