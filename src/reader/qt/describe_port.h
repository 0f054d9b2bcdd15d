#pragma once

#include "reader/port_description.h"

namespace dornal {

// The device port `port` opens (portDevicePath()), whether it is there and, for a serial device
// the system lists, what it says of it. Read anew at each call: a reader plugged in since shows.
PortDescription describePort(int port);

} // namespace dornal
