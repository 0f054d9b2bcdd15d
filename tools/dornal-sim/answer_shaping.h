#pragma once

#include "reader_model.h"

#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <string_view>

// How a misbehaving reader or line spoils the answers; chosen on the command line.
namespace dornal::sim {

struct Faults {
    bool silent = false;
    bool neverReady = false;
    // Only the first `cut` bytes of each answer leave; none = whole answers.
    std::optional<std::size_t> cut;
    // Non-ESC bytes sent before each answer.
    std::size_t stray = 0;
};

// The bytes that leave for `answer`: nothing when the reader keeps quiet, else the stray
// bytes, then the answer cut short where asked.
std::optional<std::string> shapeAnswer(const Answer& answer, const Faults& faults);

// What the bench receives when its line rate differs from the reader's: as many noise bytes,
// none of which reads as ESC, the ready byte or a terminator.
std::string garble(std::string_view bytes, std::minstd_rand& noise);

} // namespace dornal::sim
