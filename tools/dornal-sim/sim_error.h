#pragma once

#include <stdexcept>
#include <string>

namespace dornal::sim {

// A failure that ends the simulator: the line or its link cannot be set up or kept.
class SimError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// "what: <text of errno>".
[[noreturn]] void throwSystemError(const std::string& what);

} // namespace dornal::sim
