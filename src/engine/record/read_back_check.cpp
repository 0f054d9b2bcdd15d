#include "read_back_check.h"

#include <algorithm>

namespace dornal::record {

ReadBackCheck checkReadBack(std::string_view expected, std::string_view read) {
    ReadBackCheck check;
    const std::size_t common = std::min(expected.size(), read.size());
    for (std::size_t i = 0; i < common; ++i) {
        if (expected[i] != read[i]) {
            check.differing.push_back(i);
        }
    }
    check.missingTail = expected.size() - common;
    check.extraTail = read.size() - common;
    return check;
}

} // namespace dornal::record
