#pragma once

#include "reader_link.h"
#include "ui/model/alerts.h"
#include "ui/model/form1.h"

namespace dornal {

// Everything a handler works with: the window's controls, the operator alerts, the serial
// layer and the shared values.
struct Context {
    Form1& form;
    Alerts& alerts;
    ReaderLink link;

    SerialPort& port() { return link.port; }
    SharedValues& shared() { return link.shared; }
    int portNumber() const { return link.portNumber(); }
};

} // namespace dornal
