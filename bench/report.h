#pragma once

#include <cstdio>
#include <string>

namespace dornal::bench {

// Figures leave as "name=value" lines, one per figure, for bench/run to put in its table.
inline void put(const char* name, double value) {
    std::printf("%s=%.6g\n", name, value);
}
inline void put(const char* name, const std::string& value) {
    std::printf("%s=%s\n", name, value.c_str());
}

} // namespace dornal::bench
