#pragma once

#include "device_facts.h"
#include "reader/open_failure.h"

#include <QSerialPort>

#include <string>

namespace dornal {

// Why opening `device` failed, from the error Qt reported and what the system says of the
// device. Qt gives one error for a held lock file, a device opened exclusively and a device the
// user may not open; the device's access rights tell them apart.
OpenFailure explainOpenFailure(const std::string& device, QSerialPort::SerialPortError error,
                               const std::string& systemText, const DeviceFacts& facts);

} // namespace dornal
