#include "line.h"

namespace dornal {

OpenFailure Line::openFailure() const {
    return {};
}

PortDescription Line::describePort(int port) const {
    return {.port = port};
}

} // namespace dornal
