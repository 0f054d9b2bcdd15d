#pragma once

#include <string>

namespace dornal {

// What a port opens, read anew each time it is asked for, so that a device plugged in later
// shows. The texts are as the system gives them (UTF-8); the window composes what it says.
struct PortDescription {
    enum class Device {
        Missing,   // nothing at the path (an unplugged adapter, a link to nothing)
        NotSerial, // something that is no serial device (a regular file, a folder)
        Present,
    };

    int port = 0;
    std::string device{}; // the path the port opens; empty for a port outside 1..8
    Device state = Device::Missing;
    // What the system knows of a present serial device; each may be empty.
    std::string description{};
    std::string manufacturer{};
    std::string serialNumber{};

    bool operator==(const PortDescription&) const = default;
};

} // namespace dornal
