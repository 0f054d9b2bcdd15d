#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace dornal::record {

// How the data read back from a track compare with the data the card should hold, both as
// the bytes that went over the line.
struct ReadBackCheck {
    // Positions (from 0) present in both where the bytes differ.
    std::vector<std::size_t> differing;
    // Characters the card should hold beyond the end of what was read.
    std::size_t missingTail = 0;
    // Characters read beyond the end of what the card should hold; they stand at positions
    // expected.size() and on of the data read.
    std::size_t extraTail = 0;

    bool agrees() const { return differing.empty() && missingTail == 0 && extraTail == 0; }
};

ReadBackCheck checkReadBack(std::string_view expected, std::string_view read);

} // namespace dornal::record
