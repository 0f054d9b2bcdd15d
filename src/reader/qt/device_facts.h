#pragma once

#include <string>

namespace dornal {

// What the system says of a device path at one moment, links followed.
struct DeviceFacts {
    bool exists = false;
    bool characterDevice = false; // what serial devices are; a regular file or a folder is not
    bool accessible = false;      // this user may read and write it
    std::string group{};          // the owning group's name, or its number when it has none

    bool operator==(const DeviceFacts&) const = default;
};

DeviceFacts deviceFacts(const std::string& path);

} // namespace dornal
