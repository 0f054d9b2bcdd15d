#include "sim_error.h"

#include <cerrno>
#include <cstring>

namespace dornal::sim {

void throwSystemError(const std::string& what) {
    throw SimError(what + ": " + std::strerror(errno));
}

} // namespace dornal::sim
