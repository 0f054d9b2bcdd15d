#include "describe_port.h"

#include "device_facts.h"
#include "port_path.h"

#include <QSerialPortInfo>

namespace dornal {
namespace {

// Qt lists the serial devices the system knows of (not pseudo-terminals).
void addSystemInfo(PortDescription& description) {
    const QString location = QString::fromStdString(description.device);
    const QList<QSerialPortInfo> ports = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo& info : ports) {
        if (info.systemLocation() != location && info.portName() != location)
            continue;
        description.description = info.description().toStdString();
        description.manufacturer = info.manufacturer().toStdString();
        description.serialNumber = info.serialNumber().toStdString();
        return;
    }
}

} // namespace

PortDescription describePort(int port) {
    PortDescription description{.port = port};
    const std::optional<std::string> path = portDevicePath(port);
    if (!path)
        return description;
    description.device = *path;
    const DeviceFacts facts = deviceFacts(*path);
    if (!facts.exists)
        return description;
    if (!facts.characterDevice) {
        description.state = PortDescription::Device::NotSerial;
        return description;
    }
    description.state = PortDescription::Device::Present;
    addSystemInfo(description);
    return description;
}

} // namespace dornal
