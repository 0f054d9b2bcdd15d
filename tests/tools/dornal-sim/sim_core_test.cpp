// The simulated reader's logic without a line: the reader model, its options and the faults
// that spoil its answers.
#include "answer_shaping.h"
#include "answers.h"
#include "options.h"
#include "reader_model.h"
#include "reader_script.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

namespace dornal::sim {
namespace {

using namespace testing;

const std::string kQuery("\x42\x00\x06\x1a\x22\x00\x00\x00\x80\xfc", 10);
// For the version text "V1.0": the acknowledgement, then the version text and CR LF, each
// frame closed by the byte that brings its sum to 0 mod 256.
const std::string kFirmware("\x42\x00\x02\x1a\x22\x80\x42\x00\x06V1.0\r\n\xbc", 16);

// Each request on a card holding "12" on track 2, "34" on track 3 and "AB" on track 1, then a
// ready check that must still be answered; and what track 2 holds afterwards.
TEST(ReaderModel, AnswersEveryRequestAndSkipsWhatIsNone) {
    const std::string fives(CommandParser::kMaxFrameBody, '5');
    const struct {
        const char* name;
        std::string request;
        std::string answer;
        std::string track2 = "12";
    } table[] = {
        {"read track 1", "^ ", "^s~AB|?"},
        {"read track 2", "^]", "^s12|?"},
        {"read tracks 1 and 2", "^#", "^s12|~AB|?"},
        {"read track 3", "^T]", "^sA34|?"},
        {"read all tracks", "^\"", "^s12|A34|~AB|?"},
        {"read tracks 2 and 3", "^B]", "^s12|A34|?"},
        {"ready check", "^e", "y"},
        {"firmware query", kQuery, kFirmware},
        {"abandon, reset, character sets, Itrip levels, unknown", "^0^a^'^O^N^=^*^+^,^Z", ""},
        {"plain bytes", "xyz|\xff", ""},
        {"lone ESC", "^", ""},
        {"first byte of a two-byte command", "^T", ""},
        {"query start inside an escape", "^B", ""},
        {"begun frame", "^t99A3", ""},
        {"frame cut inside the trailer", "^t99\x1d^\\", ""},
        {"begun firmware query", kQuery.substr(0, 6), ""},
        {"query after a lone ESC", "^" + kQuery, kFirmware},
        {"query after its own first bytes", "BB" + kQuery, kFirmware},
        {"frame after a broken one", "^t99\x1d" + frame("34"), "^rp", "34"},
        {"frame whose data ends in GS", frame("1\x1d"), "^rp", "1\x1d"},
        {"longest frame", frame(fives), "^rp", fives},
        {"overlong frame", frame(fives + "5"), ""},
    };
    for (const auto& row : table) {
        ReaderModel reader({0, "V1.0"});
        ASSERT_EQ(answerTo(reader, frame("12A34~AB")), b("^\"0p"));
        EXPECT_EQ(answerTo(reader, b(row.request + "^e")), b(row.answer) + "y") << row.name;
        EXPECT_EQ(reader.card().track(2), row.track2) << row.name;
    }
}

// What each combination of tracks in a frame is answered with, what the card ("a", "bb", "ccc"
// on tracks 1..3 before) then holds, and the writes done per track, the first one included.
TEST(ReaderModel, WriteAnswersNameTheTracksWritten) {
    using Tracks = std::array<std::string, 3>;
    const std::tuple<std::string, std::string, Tracks, std::array<std::uint64_t, 3>> table[] = {
        {"12", "^rp", {"a", "12", "ccc"}, {1, 2, 1}},
        {"A34", "^T0p", {"a", "bb", "34"}, {1, 1, 2}},
        {"12A34", "^B0p", {"a", "12", "34"}, {1, 2, 2}},
        {"~AB", "^ 0p", {"AB", "bb", "ccc"}, {2, 1, 1}},
        {"12~AB", "^!0p", {"AB", "12", "ccc"}, {2, 2, 1}},
        {"12A34~AB", "^\"0p", {"AB", "12", "34"}, {2, 2, 2}},
        {"A34~AB", "^\"0p", {"AB", "", "34"}, {2, 2, 2}},  // tracks 1 and 3 empty track 2
        {"", "^rp", {"a", "", "ccc"}, {1, 2, 1}},          // no track empties track 2
        {"A", "^T0p", {"a", "bb", ""}, {1, 1, 2}},         // an empty track 3 erases it
        {"~A~B", "^ 0p", {"A~B", "bb", "ccc"}, {2, 1, 1}}, // track 1 may hold the markers
    };
    for (const auto& [body, answer, card, done] : table) {
        ReaderModel reader({0, "V1.0"});
        ASSERT_EQ(answerTo(reader, frame("bbAccc~a")), b("^\"0p"));
        EXPECT_EQ(answerTo(reader, frame(body)), b(answer)) << body;
        EXPECT_EQ(reader.card().tracks, card) << body;
        EXPECT_EQ(reader.tally().writesDone, done) << body;
    }
}

TEST(ReaderModel, EveryKthWriteFailsAndKeepsTheCard) {
    ReaderModel reader({3, "V1.0"});
    EXPECT_EQ(answerTo(reader, frame("11") + frame("22") + frame("33~X") + b("^#")),
              b("^rp^rp^!0q^s22|~|?"));
    EXPECT_EQ(answerTo(reader, frame("44") + frame("55") + frame("66")), b("^rp^rp^rq"));
    EXPECT_EQ(reader.card().track(2), "55");
    EXPECT_EQ(tallyLine(reader.tally()), "tally: writes-done 1=0 2=4 3=0 reads-with-data 1=0 2=1 "
                                         "3=0 write-answers 6 failed-writes 2 read-answers 1 "
                                         "ready 0 firmware 0 spoiled 0 unsent 0 corrupted 0");
}

TEST(ReaderModel, ByteByByteGivesTheSameAnswers) {
    const std::string session = b("^+" + frame("12A34~AB") + "^e" + kQuery + "^T]^0^\"");
    const std::string expected = b("^\"0py" + kFirmware + "^sA34|?^s12|A34|~AB|?");
    for (std::size_t chunk : {1, 2, 3, 7, 1000}) {
        ReaderModel reader({0, "V1.0"});
        std::string got;
        for (std::size_t i = 0; i < session.size(); i += chunk)
            got += answerTo(reader, session.substr(i, chunk));
        EXPECT_EQ(got, expected) << "chunks of " << chunk;
        EXPECT_EQ(tallyLine(reader.tally()), "tally: writes-done 1=1 2=1 3=1 reads-with-data 1=1 "
                                             "2=1 3=2 write-answers 1 failed-writes 0 read-answers "
                                             "2 ready 1 firmware 1 spoiled 0 unsent 0 corrupted 0");
    }
}

// After the line closed, the rest of a frame begun before is no frame; the card stays empty,
// and a read still gives every track's marker and end.
TEST(ReaderModel, ClosedLineForgetsTheRequestBegun) {
    ReaderModel reader({0, "V1.0"});
    reader.feed(b("^t12"));
    reader.lineClosed();
    EXPECT_EQ(answerTo(reader, b("A3\x1d^\\^j^\"")), b("^s|A|~|?"));
}

ParsedOptions parse(std::vector<std::string_view> args) {
    return parseOptions(args);
}

// The options read, as "port baud fail-every delay stray cut hangup-after silent never-ready
// trace [file] version corrupt-every dribble" (-1: not given).
TEST(Options, ReadsEveryOptionTheTraceFileOnlyWhereNoOptionFollowsAndDefaultsToPortOneAt9600) {
    const std::string longest(253, 'v'); // the longest version text a frame takes
    const std::pair<std::vector<std::string_view>, std::string> cases[] = {
        {{}, "1 9600 0 0 0 -1 -1 000 DORNAL SIM 1.0 0 0"},
        {{"--port",
          "3",
          "--baud=19200",
          "--fail-every",
          "4",
          "--delay",
          "250",
          "--stray",
          "2",
          "--silent",
          "--never-ready",
          "--cut",
          "5",
          "--hangup-after",
          "0.5",
          "--trace",
          "t.log",
          "--version-text",
          longest,
          "--corrupt-every",
          "7",
          "--dribble",
          "1999"},
         "3 19200 4 250 2 5 0.5 111t.log " + longest + " 7 1999"},
        {{"--trace"}, "1 9600 0 0 0 -1 -1 001 DORNAL SIM 1.0 0 0"},
        {{"--trace", "--port", "2", "--corrupt-every=1"},
         "2 9600 0 0 0 -1 -1 001 DORNAL SIM 1.0 1 0"},
    };
    for (const auto& [args, read] : cases) {
        const Options o = parse(args).options.value();
        std::ostringstream text;
        text << o.port << ' ' << o.baud << ' ' << o.failEvery << ' ' << o.delayMs << ' '
             << o.faults.stray << ' ' << (o.faults.cut ? int(*o.faults.cut) : -1) << ' '
             << o.hangupAfterSeconds.value_or(-1) << ' ' << o.faults.silent << o.faults.neverReady
             << o.trace << o.traceFile << ' ' << o.versionText << ' ' << o.corruptEvery << ' '
             << o.dribbleMs;
        EXPECT_EQ(text.str(), read);
    }
}

TEST(Options, RefusesWrongValuesWithAReason) {
    const std::string tooLong(254, 'v');
    const std::vector<std::vector<std::string_view>> wrong = {
        {"--port", "0"},           {"--port", "100"},
        {"--port", "1x"},          {"--port"},
        {"--baud", "1234"},        {"--baud", "-9600"},
        {"--fail-every", "-1"},    {"--delay", "60001"},
        {"--stray", "many"},       {"--cut", ""},
        {"--hangup-after", "0"},   {"--hangup-after", "nan"},
        {"--version-text"},        {"--version-text", tooLong},
        {"--frobnicate"},          {"--silent=yes"},
        {"--corrupt-every", "-1"}, {"--corrupt-every", "2.5"},
        {"--corrupt-every"},       {"--dribble", "2000"},
    };
    for (const auto& args : wrong) {
        const ParsedOptions parsed = parse(args);
        EXPECT_FALSE(parsed.options) << args[0];
        EXPECT_NE(parsed.error.find(args[0].substr(0, args[0].find('='))), std::string::npos)
            << parsed.error;
    }
}

TEST(Faults, ShapeTheAnswers) {
    const Answer write{Answer::Kind::Write, "\x1b\"0p"};
    const Answer ready{Answer::Kind::Ready, "y"};
    // Faults: silent, never ready, cut, stray.
    const std::tuple<const char*, Faults, Answer, std::optional<std::string>> table[] = {
        {"none", {}, write, "\x1b\"0p"},
        {"silent", {true, false, {}, 0}, write, std::nullopt},
        {"silent ready", {true, false, {}, 0}, ready, std::nullopt},
        {"never ready", {false, true, {}, 0}, ready, std::nullopt},
        {"never ready still writes", {false, true, {}, 0}, write, "\x1b\"0p"},
        {"cut", {false, false, 2, 0}, write, "\x1b\""},
        {"cut to nothing", {false, false, 0, 0}, write, ""},
        {"cut beyond the end", {false, false, 9, 0}, write, "\x1b\"0p"},
        {"stray", {false, false, {}, 3}, ready, "xzxy"},
        {"stray then cut", {false, false, 1, 2}, write, "xz\x1b"},
    };
    for (const auto& [name, faults, answer, sent] : table)
        EXPECT_EQ(shapeAnswer(answer, faults), sent) << name;
}

} // namespace
} // namespace dornal::sim
