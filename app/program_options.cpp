#include "program_options.h"

namespace dornal {

const char* const kProgramHelp =
    "Usage: dornal-test [--record-dir DIR | --no-record] [--help]\n"
    "The operator's test bench for the Dornal magnetic stripe card reader/writer.\n"
    "\n"
    "  --record-dir DIR  write the record of every run (one CSV file each) into DIR\n"
    "                    instead of $XDG_STATE_HOME/dornal/runs (~/.local/state/dornal/runs)\n"
    "  --no-record       write no run records\n"
    "  --help            show this text\n";

namespace {

constexpr std::string_view kRecordDir = "--record-dir";

ParsedProgramOptions refused(std::string error) {
    return {std::nullopt, std::move(error)};
}

} // namespace

ParsedProgramOptions parseProgramOptions(std::span<const std::string_view> args,
                                         const std::filesystem::path& defaultDirectory) {
    ProgramOptions options;
    bool noRecord = false;
    std::optional<std::filesystem::path> directory;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        if (arg == "--help") {
            options.help = true;
        } else if (arg == "--no-record") {
            noRecord = true;
        } else if (arg == kRecordDir) {
            if (i + 1 == args.size() || args[i + 1].empty())
                return refused("--record-dir needs a folder");
            directory = std::filesystem::path(args[++i]);
        } else if (arg.starts_with("--record-dir=")) {
            const std::string_view value = arg.substr(kRecordDir.size() + 1);
            if (value.empty())
                return refused("--record-dir needs a folder");
            directory = std::filesystem::path(value);
        } else if (arg.starts_with("--")) {
            return refused("unknown option " + std::string(arg));
        }
    }
    if (noRecord && directory)
        return refused("--record-dir and --no-record exclude each other");
    if (!noRecord)
        options.recordDirectory = directory ? *directory : defaultDirectory;
    if (!noRecord && options.recordDirectory->empty())
        return refused("no home folder for the run records: give --record-dir or --no-record");
    return {options, {}};
}

} // namespace dornal
