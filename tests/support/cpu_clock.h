#pragma once

#include <ctime>

namespace dornal::testing {

// CPU time this process has used, in seconds: what waiting must not spend.
inline double processCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

} // namespace dornal::testing
