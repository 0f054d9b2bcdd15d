#include "reader/qt/qt_serial_port.h"
#include "shared/shared_values.h"
#include "ui/form1_events.h"
#include "ui/model/form1.h"
#include "ui/view/form1_view.h"
#include "ui/view/qt_alerts.h"

#include <QApplication>

// The operator's test bench: one window bound to the reader on a serial port.
int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(dornal::kApplicationTitle));

    dornal::Form1 form;
    dornal::QtSerialPort port;
    dornal::view::QtAlerts alerts;
    dornal::Form1Events events(form, alerts, port, dornal::processShared());

    // The window follows the model from the start, so it shows what loading sets; nothing
    // reaches a port before Connect, as loading's two commands go to a port that is not open.
    dornal::view::Form1View window(form);
    alerts.setWindow(&window);
    events.load();
    window.onClose = [&events] { events.unload(); };
    window.show();
    return QApplication::exec();
}
