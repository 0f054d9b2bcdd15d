#include "answer_shaping.h"
#include "line_rate.h"
#include "options.h"
#include "reader_model.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <sstream>
#include <string>
#include <vector>

namespace dornal::sim {
namespace {

ParsedOptions parse(std::vector<std::string_view> args) {
    return parseOptions(args);
}

TEST(Options, DefaultsServePortOneAtNineThousandSixHundred) {
    const ParsedOptions parsed = parse({});
    ASSERT_TRUE(parsed.options);
    EXPECT_EQ(parsed.options->port, 1);
    EXPECT_EQ(parsed.options->baud, 9600);
    EXPECT_EQ(parsed.options->versionText, "DORNAL SIM 1.0");
    EXPECT_FALSE(parsed.options->trace);
    EXPECT_FALSE(parsed.options->hangupAfterSeconds);
}

TEST(Options, ReadsEveryOption) {
    const ParsedOptions parsed =
        parse({"--port", "3", "--baud=19200", "--fail-every", "4", "--delay", "250", "--stray", "2",
               "--silent", "--never-ready", "--cut", "5", "--hangup-after", "0.5", "--version-text",
               "V9", "--trace", "t.log"});
    ASSERT_TRUE(parsed.options) << parsed.error;
    const Options& o = *parsed.options;
    EXPECT_EQ(o.port, 3);
    EXPECT_EQ(o.baud, 19200);
    EXPECT_EQ(o.failEvery, 4);
    EXPECT_EQ(o.delayMs, 250);
    EXPECT_EQ(o.faults.stray, 2u);
    EXPECT_TRUE(o.faults.silent);
    EXPECT_TRUE(o.faults.neverReady);
    EXPECT_EQ(o.faults.cut, 5u);
    EXPECT_DOUBLE_EQ(*o.hangupAfterSeconds, 0.5);
    EXPECT_EQ(o.versionText, "V9");
    EXPECT_TRUE(o.trace);
    EXPECT_EQ(o.traceFile, "t.log");
}

TEST(Options, TraceFileIsOptional) {
    for (const auto& args :
         std::vector<std::vector<std::string_view>>{{"--trace"}, {"--trace", "--port", "2"}}) {
        const ParsedOptions parsed = parse(args);
        ASSERT_TRUE(parsed.options) << parsed.error;
        EXPECT_TRUE(parsed.options->trace);
        EXPECT_EQ(parsed.options->traceFile, "");
    }
}

TEST(Options, RefusesWrongValuesWithAReason) {
    const std::vector<std::vector<std::string_view>> wrong = {
        {"--port", "0"},         {"--port", "100"},
        {"--port", "1x"},        {"--port"},
        {"--baud", "1234"},      {"--baud", "-9600"},
        {"--fail-every", "-1"},  {"--delay", "60001"},
        {"--stray", "many"},     {"--cut", ""},
        {"--hangup-after", "0"}, {"--hangup-after", "nan"},
        {"--version-text"},      {"--frobnicate"},
        {"--silent=yes"},
    };
    for (const auto& args : wrong) {
        const ParsedOptions parsed = parse(args);
        EXPECT_FALSE(parsed.options) << args[0];
        EXPECT_NE(parsed.error.find(args[0].substr(0, args[0].find('='))), std::string::npos)
            << parsed.error;
    }
}

TEST(Options, VersionTextLongerThanTheFrameAllowsIsRefused) {
    const std::string longest(251, 'v');
    EXPECT_TRUE(parse({"--version-text", longest}).options);
    EXPECT_FALSE(parse({"--version-text", longest + "v"}).options);
}

TEST(Options, HelpNamesEveryOptionAndEveryTallyField) {
    const std::string help = helpText();
    for (const char* option :
         {"--port", "--baud", "--fail-every", "--delay", "--stray", "--silent", "--never-ready",
          "--cut", "--hangup-after", "--trace", "--version-text", "--help"}) {
        EXPECT_NE(help.find(option), std::string::npos) << option;
    }
    std::istringstream tally(tallyLine({}));
    for (std::string word; tally >> word;) {
        if (!std::isdigit(static_cast<unsigned char>(word.back()))) {
            EXPECT_NE(help.find(word), std::string::npos) << word;
        }
    }
}

TEST(LineRate, TenBitsPerByte) {
    EXPECT_EQ(byteTime(9600).count(), 1'041'666);
    EXPECT_EQ(byteTime(1200).count(), 8'333'333);
    EXPECT_EQ(baudOf(*speedCode(57600)), 57600);
    EXPECT_FALSE(speedCode(1000));
}

const Answer kWrite{Answer::Kind::Write, "\x1b\"0p"};
const Answer kReady{Answer::Kind::Ready, "y"};

TEST(Faults, ShapeTheAnswers) {
    struct Case {
        const char* name;
        Faults faults;
        const Answer& answer;
        std::optional<std::string> sent;
    };
    const std::optional<std::size_t> whole;
    // Faults: silent, never ready, cut, stray.
    const std::vector<Case> table = {
        {"none", {false, false, whole, 0}, kWrite, "\x1b\"0p"},
        {"silent", {true, false, whole, 0}, kWrite, std::nullopt},
        {"silent ready", {true, false, whole, 0}, kReady, std::nullopt},
        {"never ready", {false, true, whole, 0}, kReady, std::nullopt},
        {"never ready still writes", {false, true, whole, 0}, kWrite, "\x1b\"0p"},
        {"cut", {false, false, 2, 0}, kWrite, "\x1b\""},
        {"cut to nothing", {false, false, 0, 0}, kWrite, ""},
        {"cut beyond the end", {false, false, 9, 0}, kWrite, "\x1b\"0p"},
        {"stray", {false, false, whole, 3}, kReady, "xzxy"},
        {"stray then cut", {false, false, 1, 2}, kWrite, "xz\x1b"},
    };
    for (const Case& c : table) {
        EXPECT_EQ(shapeAnswer(c.answer, c.faults), c.sent) << c.name;
    }
}

TEST(Faults, GarbledBytesAreNoiseOfTheSameLength) {
    std::minstd_rand noise;
    const std::string sent(200, '\x1b');
    const std::string got = garble(sent, noise);
    ASSERT_EQ(got.size(), sent.size());
    EXPECT_TRUE(std::all_of(got.begin(), got.end(),
                            [](char c) { return static_cast<unsigned char>(c) >= 128; }));
    EXPECT_GT(std::count(got.begin(), got.end(), got[0]), 0);
    EXPECT_LT(std::count(got.begin(), got.end(), got[0]), 50); // noise, not one repeated byte
}

} // namespace
} // namespace dornal::sim
