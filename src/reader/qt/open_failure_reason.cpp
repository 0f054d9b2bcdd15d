#include "open_failure_reason.h"

namespace dornal {

OpenFailure explainOpenFailure(const std::string& device, QSerialPort::SerialPortError error,
                               const std::string& systemText, const DeviceFacts& facts) {
    using Reason = OpenFailure::Reason;
    OpenFailure failure{.device = device};
    // A device node whose hardware is gone reports "not found" too.
    if (!facts.exists || error == QSerialPort::DeviceNotFoundError)
        failure.reason = Reason::NoDevice;
    // Qt reports a device that is no terminal (/dev/null) as an unsupported operation.
    else if (!facts.characterDevice || error == QSerialPort::UnsupportedOperationError)
        failure.reason = Reason::NotSerial;
    else if (error == QSerialPort::PermissionError && !facts.accessible) {
        failure.reason = Reason::PermissionDenied;
        failure.group = facts.group;
    } else if (error == QSerialPort::PermissionError)
        failure.reason = Reason::Busy;
    else
        failure.systemText = systemText;
    return failure;
}

} // namespace dornal
