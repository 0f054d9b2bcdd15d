#pragma once

#include <optional>
#include <string>

namespace dornal {

// Ports the window offers: "COM 1" to "COM 8".
inline constexpr int kFirstPort = 1;
inline constexpr int kLastPort = 8;

// The device that port `port` opens, or nothing for a number outside 1..8. On Windows port n
// is "COMn". Elsewhere it is the real device behind the link portLinkPath(n) of
// shared/port_links.h (links followed to the end, so that lock files name the device itself), and
// without such a link /dev/ttyS<n-1>. A link whose target is gone still decides: its target is
// returned and opening it fails, rather than silently opening some other line.
std::optional<std::string> portDevicePath(int port);

} // namespace dornal
