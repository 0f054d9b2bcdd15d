#pragma once

#include "answer_shaping.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace dornal::sim {

struct Options {
    int port = 1;
    int baud = 9600;
    int failEvery = 0;
    int corruptEvery = 0;
    int delayMs = 0;
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
