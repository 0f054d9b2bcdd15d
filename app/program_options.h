#pragma once

#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace dornal {

// What the command line asks of the program. Options of Qt's own (one dash, such as
// "-platform") are left to Qt.
struct ProgramOptions {
    // Where run records go; none: no records.
    std::optional<std::filesystem::path> recordDirectory;
    bool help = false;
};

struct ParsedProgramOptions {
    std::optional<ProgramOptions> options;
    std::string error; // set when options is empty
};

// Reads the arguments after the program name; `defaultDirectory` is where records go unless
// an option says otherwise.
ParsedProgramOptions parseProgramOptions(std::span<const std::string_view> args,
                                         const std::filesystem::path& defaultDirectory);

extern const char* const kProgramHelp;

} // namespace dornal
