#pragma once

#include "serial_port.h"
#include "shared/shared_values.h"

namespace dornal {

// What the command operations need: the serial layer and the shared values (the port
// number every call uses, and LastCmdRead which the read commands set).
struct ReaderLink {
    SerialPort& port;
    SharedValues& shared;

    int portNumber() const { return shared.PortNumber; }
};

} // namespace dornal
