#include "line.h"

#include "shared/timing.h"

#include <array>

namespace dornal {

void Line::drain() {
    std::array<std::uint8_t, timing::kDrainBytes> stale{};
    read(stale, timing::kDrainMs);
}

OpenFailure Line::openFailure() const {
    return {};
}

PortDescription Line::describePort(int port) const {
    return {.port = port};
}

} // namespace dornal
