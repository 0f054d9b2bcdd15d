#include "program_options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace dornal {
namespace {

// The arguments; then where records go ("-": none), whether help is asked, and the error.
TEST(ProgramOptions, RecordsGoToTheDefaultFolderUnlessAnOptionSaysOtherwise) {
    using Args = std::vector<std::string_view>;
    const std::tuple<Args, const char*, bool, const char*> cases[] = {
        {{}, "/state/runs", false, ""},
        {{"--record-dir", "/tmp/r"}, "/tmp/r", false, ""},
        {{"--record-dir=/tmp/r"}, "/tmp/r", false, ""},
        {{"--no-record"}, "-", false, ""},
        {{"--help"}, "/state/runs", true, ""},
        {{"-platform", "offscreen", "--no-record"}, "-", false, ""}, // Qt's own
        {{"--record-dir"}, "", false, "--record-dir needs a folder"},
        {{"--record-dir="}, "", false, "--record-dir needs a folder"},
        {{"--record-dir", "/r", "--no-record"}, "", false, "exclude each other"},
        {{"--frobnicate"}, "", false, "unknown option --frobnicate"},
    };
    for (const auto& [args, directory, help, error] : cases) {
        const ParsedProgramOptions parsed = parseProgramOptions(args, "/state/runs");
        SCOPED_TRACE(args.empty() ? "no arguments" : std::string(args[0]));
        EXPECT_NE(parsed.error.find(error), std::string::npos) << parsed.error;
        EXPECT_EQ(parsed.options.has_value(), *error == '\0');
        if (!parsed.options)
            continue;
        const auto& dir = parsed.options->recordDirectory;
        EXPECT_EQ(dir ? dir->string() : "-", directory);
        EXPECT_EQ(parsed.options->help, help);
    }
    const ParsedProgramOptions homeless = parseProgramOptions({}, "");
    EXPECT_NE(homeless.error.find("no home folder"), std::string::npos) << homeless.error;
}

} // namespace
} // namespace dornal
