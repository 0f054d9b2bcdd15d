#include "port_texts.h"

#include "shared/port_links.h"

namespace dornal {
namespace {

std::string portName(int port) {
    return "COM " + std::to_string(port);
}

void addPart(std::string& text, const std::string& part) {
    if (!part.empty())
        text += ", " + part;
}

// How to make port `port` open a device, as the README shows; nothing where links are not
// looked for.
std::string linkHint(int port) {
    const std::filesystem::path folder = portLinkDirectory();
    if (folder.empty())
        return {};
    return "\nLink " + portName(port) + " to the reader's device, for example:\nmkdir -p " +
           folder.string() + "\nln -sf /dev/ttyUSB0 " + (folder / portLinkName(port)).string();
}

std::string permissionText(const OpenFailure& failure) {
    if (failure.group.empty())
        return "Permission denied on " + failure.device + ".";
    return "Permission denied on " + failure.device + ", which belongs to the group " +
           failure.group +
           ".\nJoin that group once, then log out and in again:\nsudo usermod -aG " +
           failure.group + " \"$USER\"";
}

std::string otherText(const OpenFailure& failure) {
    if (failure.systemText.empty())
        return failure.device + " did not open.";
    return failure.device + " did not open: " + failure.systemText + ".";
}

} // namespace

std::string portDescriptionText(const PortDescription& port) {
    std::string text = portName(port.port) + ": " + port.device;
    switch (port.state) {
    case PortDescription::Device::Missing:
        return text + ", no such device";
    case PortDescription::Device::NotSerial:
        return text + ", not a serial device";
    case PortDescription::Device::Present:
        break;
    }
    addPart(text, port.description);
    if (port.manufacturer != port.description)
        addPart(text, port.manufacturer);
    if (!port.serialNumber.empty())
        text += ", serial " + port.serialNumber;
    return text;
}

std::string openFailureText(int port, const OpenFailure& failure) {
    using Reason = OpenFailure::Reason;
    switch (failure.reason) {
    case Reason::NoSuchPort:
        return "No port is chosen: choose one of COM 1 to COM 8 from the list.";
    case Reason::NoDevice:
        return "No device behind " + portName(port) + ": " + failure.device +
               " is not there.\nPlug the reader in." + linkHint(port);
    case Reason::PermissionDenied:
        return permissionText(failure);
    case Reason::Busy:
        return failure.device +
               " is held by another program (or another bench).\nClose it there, then connect "
               "again.";
    case Reason::NotSerial:
        return failure.device + " is not a serial device." + linkHint(port);
    case Reason::Other:
        break;
    }
    return otherText(failure);
}

} // namespace dornal
