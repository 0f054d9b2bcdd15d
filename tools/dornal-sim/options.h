#pragma once

#include "answer_shaping.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace dornal::sim {

// A reader that dribbles keeps each pause below the bench's 2 s wait for the next byte.
inline constexpr int kMaxDribbleMs = 1999;

struct Options {
    int port = 1;
    int baud = 9600;
    int failEvery = 0;
    int corruptEvery = 0;
    int delayMs = 0;
    int dribbleMs = 0; // between two bytes of an answer; 0: at the line rate
    Faults faults;
    std::optional<double> hangupAfterSeconds;
    bool trace = false;
    std::string traceFile; // empty: standard error
    std::string versionText;
    bool help = false;
};

struct ParsedOptions {
    std::optional<Options> options;
    std::string error; // set when options is empty
};

// Reads the command line (without the program name).
ParsedOptions parseOptions(std::span<const std::string_view> args);

std::string helpText();

} // namespace dornal::sim
