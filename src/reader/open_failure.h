#pragma once

#include <string>

namespace dornal {

// Why a port did not open, with what the operator needs to put it right.
struct OpenFailure {
    enum class Reason {
        NoSuchPort,       // no port 1..8 chosen
        NoDevice,         // nothing at the path the port opens
        PermissionDenied, // the user may not open the device
        Busy,             // another program (or another bench) holds it
        NotSerial,        // the path names something that is no serial device
        Other,            // anything else, told in `systemText`
    };

    Reason reason = Reason::Other;
    std::string device{}; // the path tried; empty for NoSuchPort
    std::string group{};  // PermissionDenied: the group owning the device (its number when unnamed)
    std::string systemText{}; // Other: the system's own words

    bool operator==(const OpenFailure&) const = default;
};

} // namespace dornal
