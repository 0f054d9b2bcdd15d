#pragma once

#include "reader/open_failure.h"
#include "reader/port_description.h"

#include <string>

namespace dornal {

// What a port's entry in the port list says of it, e.g. "COM 2: /dev/ttyUSB0, FT232R USB UART,
// FTDI, serial A50285BI" or "COM 5: /dev/ttyS4, no such device".
std::string portDescriptionText(const PortDescription& port);

// Why port `port` did not open and what to do about it, below "Open COM Port Fail!".
std::string openFailureText(int port, const OpenFailure& failure);

} // namespace dornal
