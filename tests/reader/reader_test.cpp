// The reader link on an in-memory line: commands, the write frame, the firmware query, the
// reception of answers and what they are decoded into.
#include "reader/answers.h"
#include "reader/commands.h"
#include "reader/memory_line.h"
#include "reader/reader_link.h"
#include "run_now.h"

#include <gtest/gtest.h>

#include <numeric>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

namespace dornal::testing {
namespace {

using Kind = Received::Kind;
using Writes = std::vector<std::string>;

AnswerBuffer answerOf(std::string_view bytes) {
    AnswerBuffer answer;
    for (char byte : bytes)
        answer.append(static_cast<std::uint8_t>(byte));
    return answer;
}

// The segments of a read answer in order: the track, then "[data]", or "-" for an end mark.
std::string segmentsOf(const ReadAnswer& answer) {
    std::string text = answer.valid ? "" : "invalid";
    for (const ReadSegment& s : answer.segments)
        text += std::to_string(s.track) + (s.hasData ? "[" + s.data + "]" : "-");
    return text;
}

TEST(WriteAnswer, ReportsTheTracksOfItsCodeWhenItsResultSaysWrittenAndShowsItInHex) {
    const std::tuple<std::string_view, TrackSet, std::string_view> cases[] = {
        {"rp", 0b010, "1B 72 70- 0"},     {"rq", 0, "1B 72 71- 0"},
        {"T0p", 0b100, "1B 54 30 70- 0"}, {"Tp", 0, "1B 54 70- 0"},
        {"B0p", 0b110, "1B 42 30 70- 0"}, {" 0p", 0b001, "1B 20 30 70- 0"},
        {"!0p", 0b011, "1B 21 30 70- 0"}, {"\"0p", 0b111, "1B 22 30 70- 0"},
        {"\"pq", 0, "1B 22 70 71- 0"},    {"X0p", 0, "1B 58 30 70- 0"},
        {"r\200p", 0, "1B 72- 0"},        {"T\177p", 0b100, "1B 54 7F 70- 0"},
        {"\037Tp", 0, "1B- 0"},           {"", 0, "1B- 0"},
        {"T p", 0b100, "1B 54 20 70- 0"},
    };
    for (const auto& [bytes, tracks, status] : cases) {
        const WriteAnswer answer = decodeWriteAnswer(answerOf(bytes));
        EXPECT_EQ((std::pair{answer.written, std::string_view(answer.status)}),
                  (std::pair{tracks, status}));
    }
}

// A byte before "0" or after "?" opens no track 2 segment, but for "'", which track 2 carries;
// track 1 data may hold "A"; whatever follows the last segment is ignored; a cut answer ends
// behind the stored bytes.
TEST(ReadAnswer, GivesTheSegmentsInTheirOrderTwoThreeOne) {
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"s12\177A\177~AB\177?", "2[12]3-1[AB]"},
        {"s12A34~AB?", "2[12]3[34]1[AB]"},
        {"s?", "2[]"},
        {"s\177?", "2-"},
        {"s0?", "2[0]"},
        {"s/1?", ""},
        {"s@1?", ""},
        {"sA12?", "3[12]"},
        {"sA3\177~4?", "3[3]1[4]"},
        {"sA3~4?", "3[3]1[4]"},
        {"s12~1A2?", "2[12]1[1A2]"},
        {"s~%A?", "1[%A]"},
        {"s~A\17799?", "1[A]"},
        {"s12", "2[12]"},
        {"sx~A?", ""},
        {"t12~AB?", "invalid"},
        {"", "invalid"},
        {"s'12A3~1?", "2['12]3[3]1[1]"},
        {"s'?", "2[']"},
        {"s&1?", ""},
    };
    for (const auto& [bytes, segments] : cases)
        EXPECT_EQ(segmentsOf(decodeReadAnswer(answerOf(bytes))), segments) << bytes;
    EXPECT_EQ(answerOf("s").at(AnswerBuffer::kSize), 0) << "behind the buffer";
}

// A scripted line on which each byte taken on its own (as an answer's bytes are) also takes
// `msPerByte` of the clock, and which fails once `bytesBeforeFailure` more such bytes have
// been taken.
struct SlowLine : MemoryLine {
    int msPerByte = 0;
    int bytesBeforeFailure = -1;
    int take(std::span<std::uint8_t> bytes) override {
        if (bytes.size() == 1) {
            if (bytesBeforeFailure-- == 0)
                failPort();
            clockMs += msPerByte;
        }
        return MemoryLine::take(bytes);
    }
};

// A reader link on an open line. Opening drained the sixteen stale bytes at once.
class LinkTest : public ::testing::Test {
protected:
    void SetUp() override {
        line.feed(std::string(16, 'x'));
        const Line::OpenResult opened = runNow(link.open(8, 19200));
        ASSERT_EQ((std::tuple{opened, line.pending(), line.baudRate()}),
                  (std::tuple{Line::OpenResult::Opened, 0u, 19200}));
    }
    // One look at the line after `bytes` came, as the kind of answer awaited.
    Received receive(bool read, const std::string& bytes) {
        line.feed(bytes);
        return runNow(link.receive(read));
    }
    // A command's drain, as the next command would make it.
    void drain() {
        Input input(line);
        runNow(input.drain());
    }
    void send(Command command, Drain drain = Drain::First) { runNow(link.send(command, drain)); }
    Outcome waitReady() { return runNow(link.waitReady()); }

    SlowLine line;
    ReaderLink link{line};
};

// Each command (read ones chosen by their track set, settings in the window's order) drains the
// sixteen stale bytes at once, then leaves whole in one write.
TEST_F(LinkTest, EachCommandLeavesAsEscAndItsBytesInOneWriteAfterTheDrain) {
    using enum CharSet;
    using enum Itrip;
    const auto reading = [](TrackSet tracks) { return readCommandFor(tracks).value(); };
    const std::tuple<Command, std::string_view, bool> cases[] = {
        {reading(0b001), "\033 ", true},          {reading(0b010), "\033]", true},
        {reading(0b011), "\033#", true},          {reading(0b100), "\033T]", true},
        {reading(0b101), "\033\"", true},         {reading(0b110), "\033B]", true},
        {reading(0b111), "\033\"", true},         {Command::Abandon, "\0330", false},
        {Command::ReadyCheck, "\033e", false},    {Command::ResetReader, "\033a", false},
        {charSetCommand(Ibm1), "\033'", false},   {charSetCommand(Ibm2), "\033O", false},
        {charSetCommand(Ibm3), "\033N", false},   {charSetCommand(Iso), "\033=", false},
        {itripCommand(OneThird), "\033*", false}, {itripCommand(TwoThirds), "\033+", false},
        {itripCommand(Full), "\033,", false},
    };
    for (const auto& [command, bytes, read] : cases) {
        line.clearRecord();
        line.feed(std::string(16, 'x'));
        send(command);
        EXPECT_EQ((std::tuple{line.writes, line.pending(), isRead(command)}),
                  (std::tuple{std::vector{std::string(bytes)}, 0u, read}));
    }
    EXPECT_FALSE(readCommandFor(0) || readCommandFor(8)) << "no read command for these sets";
    EXPECT_EQ(line.clockMs, 0) << "sixteen stale bytes were there: the drain did not wait";
    send(Command::Abandon);
    EXPECT_EQ(line.clockMs, 100) << "none was there: the drain waited its bound";
}

// A command sent without its drain leaves an answer that waits for the next reception; with
// the drain, the answer is gone with the stray bytes.
TEST_F(LinkTest, ACommandWithoutItsDrainLeavesAWaitingAnswerWhole) {
    for (const auto& [drain, kind] :
         {std::pair{Drain::Skip, Kind::Write}, {Drain::First, Kind::None}}) {
        line.feed("\033rp");
        line.clearRecord();
        send(Command::ResetReader, drain);
        const Received after = runNow(link.receive(false));
        EXPECT_EQ(std::tuple(line.writes, after.kind), std::tuple(Writes{"\033a"}, kind));
    }
}

// Throwing away what waits takes it all, however much it is, but nothing still to come.
TEST_F(LinkTest, DiscardingTheInputTakesAllThatWaitsAtOnce) {
    line.feed(std::string(300, 's'));
    line.feedLater("\033rp");
    link.discardInput();
    EXPECT_EQ(std::tuple(line.pending(), line.clockMs), std::tuple(0u, 0));
    EXPECT_EQ(receive(false, "").kind, Kind::None);
    EXPECT_EQ(waitReady(), Outcome::TimedOut) << "the later chunk holds no y";
}

// The frame carries track 2 unmarked, "A" track 3, "~" track 1, each only when given.
TEST_F(LinkTest, WriteTracksSendsTheStrengthThenTheFrameEachInOneWriteAfterItsDrain) {
    const std::string end = "\x1d\033\\\033j";
    const std::tuple<std::optional<Itrip>, TrackTexts, Writes> cases[] = {
        {Itrip::TwoThirds, {"AB", "12", "34"}, {"\033+", "\033t12A34~AB" + end}},
        {Itrip::OneThird, {}, {"\033*", "\033t" + end}},
        {Itrip::Full, {std::nullopt, std::nullopt, "="}, {"\033,", "\033tA=" + end}},
        {std::nullopt, {"", std::nullopt, std::nullopt}, {"\033t~" + end}},
        {std::nullopt, {std::nullopt, "", ""}, {"\033tA" + end}},
        {std::nullopt, {"\xE9z", "12", std::nullopt}, {"\033t12~\xE9z" + end}},
    };
    for (const auto& [strength, tracks, writes] : cases) {
        line.clearRecord();
        line.feed(std::string(16 * writes.size(), 'x'));
        runNow(link.writeTracks(strength, tracks));
        EXPECT_EQ((std::tuple{line.writes, line.pending()}), (std::tuple{writes, 0u}));
    }
    EXPECT_EQ(line.clockMs, 0) << "each drain found its sixteen bytes";
}

// The awaited kind decides how the answer is read and where it ends; no answer holds an ESC.
TEST_F(LinkTest, ReceiveTakesOneAnswerOrDropsOneStrayByteAtATime) {
    const Received none = receive(false, "");
    EXPECT_EQ((std::tuple{none.kind, none.lineFailed, none.strayDropped}),
              (std::tuple{Kind::None, false, false}));
    line.feed("xz\033rp\033Tq");
    const Received stray = receive(false, "");
    EXPECT_EQ((std::tuple{stray.kind, stray.strayDropped, line.pending()}),
              (std::tuple{Kind::None, true, 7u}));
    EXPECT_EQ(receive(false, "").kind, Kind::None);
    const Received first = receive(false, "");
    EXPECT_EQ(std::tuple(first.kind, first.outcome, first.lineFailed, first.write.written,
                         line.pending()),
              std::tuple(Kind::Write, Outcome::Complete, false, TrackSet{0b010}, 3u));
    EXPECT_EQ((std::tuple{receive(false, "").write.status, line.pending(), line.clockMs}),
              (std::tuple{"1B 54 71- 0", 0u, 0}));
    const Received read = receive(true, "\033rp?\033");
    EXPECT_EQ(std::tuple(read.kind, read.read.valid, line.pending()),
              std::tuple(Kind::Read, false, 1u));
    EXPECT_EQ((std::tuple{receive(false, "T?p\033").write.written, line.pending()}),
              (std::tuple{0b100, 1u}));
    drain();
    const Received r = receive(true, "\033s" + std::string(1100, '5') + "?\033rp");
    EXPECT_EQ((std::tuple{r.outcome, r.read.segments.size(), r.read.segments.at(0).data}),
              (std::tuple{Outcome::Complete, 1u, std::string(1024, '5')}))
        << "an answer beyond the buffer is read to its end";
    EXPECT_EQ(receive(false, "").write.written, 0b010) << "and the next stays whole";
    EXPECT_EQ(receive(true, "\033s1\033s22\177?").read.segments.at(0).data, "22")
        << "an ESC inside an answer drops the part before it and starts the next";
}

// A chunk scripted empty is a pause the wait runs out on; shorter pauses do not cut the answer.
TEST_F(LinkTest, AnAnswerThatPausesTooLongIsGivenUpAfterThePauseBoundAndNotDecoded) {
    for (const auto& [rest, read] : {std::pair{"r", false}, {"T0", false}, {"s12A", true}}) {
        line.clockMs = 0;
        line.feed("\033");
        for (std::string_view chunk : {rest, "", "p?"})
            line.feedLater(chunk);
        const Received r = receive(read, "");
        EXPECT_EQ(std::tuple(r.kind, r.outcome, line.clockMs, r.write.status, r.write.written,
                             r.read.segments.size()),
                  std::tuple(read ? Kind::Read : Kind::Write, Outcome::TimedOut, 2000, "", 0, 0u))
            << rest;
        drain(); // the late rest goes with the next command's drain
    }
}

TEST_F(LinkTest, APortFailureIsReportedAtOnceBeforeOrDuringAnAnswer) {
    for (bool read : {false, true}) {
        line.clockMs = 0;
        line.bytesBeforeFailure = 3;
        const Received r = receive(read, "\033s1");
        const Received after = receive(read, "");
        EXPECT_EQ(std::tuple(r.outcome, r.lineFailed, line.clockMs, after.kind, after.lineFailed),
                  std::tuple(Outcome::PortError, true, 0, Kind::None, true));
        ASSERT_EQ(runNow(link.open(8, 9600)), Line::OpenResult::Opened);
    }
}

// Each byte comes a second (or 1111 ms) after the last: the answer as a whole is cut after ten
// seconds, also when its tenth byte came 0 or 1 ms before; a last wait shorter than the pause
// bound that runs out is cut by the overall bound too.
TEST_F(LinkTest, ABabblingReaderIsGivenUpAfterTheByteBoundOrTheTimeBound) {
    for (bool read : {false, true}) {
        const Outcome outcome = receive(read, "\033" + std::string(8192 + 100, 's')).outcome;
        EXPECT_EQ((std::tuple{outcome, line.pending()}), (std::tuple{Outcome::TooLong, 100u}));
        line.feed("y");
        EXPECT_EQ(waitReady(), Outcome::Complete);
    }
    line.feed(std::string(8192 + 7, 'x'));
    EXPECT_EQ((std::tuple{waitReady(), line.pending()}), (std::tuple{Outcome::TooLong, 7u}));
    drain();
    line.msPerByte = 1000;
    EXPECT_EQ(receive(false, "\033" + std::string(8, 'x')).outcome, Outcome::TimedOut);
    EXPECT_EQ(receive(false, "\033" + std::string(9, 'x')).outcome, Outcome::TooLong);
    for (int ms : {1000, 1111}) {
        line.msPerByte = ms;
        EXPECT_EQ(receive(false, "\033" + std::string(20, 'x')).outcome, Outcome::TooLong);
        EXPECT_EQ(line.pending(), 10u) << ms;
        drain();
    }
}

TEST_F(LinkTest, WaitReadySkipsBytesUntilTheYAndIsBounded) {
    for (const char* chunk : {"x", "z", "y", "rest"})
        line.feedLater(chunk);
    EXPECT_EQ((std::tuple{waitReady(), line.pending()}), (std::tuple{Outcome::Complete, 0u}))
        << "the chunk behind the y has not come yet";
    line.feed("zzy!");
    EXPECT_EQ((std::tuple{waitReady(), line.pending(), line.clockMs}),
              (std::tuple{Outcome::Complete, 1u, 0}));
    EXPECT_EQ((std::tuple{waitReady(), line.clockMs}), (std::tuple{Outcome::TimedOut, 2000}))
        << "after ! and rest";
    line.feed("xy");
    line.failPort();
    EXPECT_EQ((std::tuple{waitReady(), line.clockMs}), (std::tuple{Outcome::PortError, 2000}));
    link.close();
    EXPECT_FALSE(line.isOpen());
}

// An answer frame: two header bytes, the payload length, the payload, a closing byte.
std::string frame(const std::string& payload) {
    return "\2\1" + std::string(1, static_cast<char>(payload.size())) + payload + "\3";
}

// A cut answer times out after the drain and one pause bound; a failed port ends at once.
TEST_F(LinkTest, TheFirmwareVersionIsTheSecondFrameWithoutItsLastTwoPayloadBytes) {
    std::string every(255, '\0'); // every byte value but 255, kept as Latin-1
    std::iota(every.begin(), every.end(), '\0');
    const std::string v = frame("V1.0\r") + "Z";
    const std::string whole = frame("ab") + frame("V1.0\r");
    using enum Outcome;
    const std::tuple<std::string, Outcome, std::string, int> cases[] = {
        {frame("") + v, Complete, "V1.", 100},
        {frame(every) + v, Complete, "V1.", 100},
        {frame("") + frame("") + "Z", Complete, "", 100},
        {frame("") + frame("V1") + "Z", Complete, "", 100},
        {frame("ab") + frame(every) + "Z", Complete, every.substr(0, 253), 100},
        {"", TimedOut, "", 2100},
        {whole.substr(0, 3), TimedOut, "", 2100},
        {whole.substr(0, 7), TimedOut, "", 2100},
        {whole.substr(0, whole.size() - 1), TimedOut, "", 2100},
    };
    for (const auto& [answer, outcome, version, ms] : cases) {
        line.clearRecord();
        line.clockMs = 0;
        line.onWrite = [&](std::string_view) { line.feedLater(answer); };
        const FirmwareReply reply = runNow(link.queryFirmware());
        EXPECT_EQ(line.writes, (std::vector{std::string("\102\0\6\32\42\0\0\0\200\374", 10)}));
        EXPECT_EQ((std::tuple{reply.outcome, reply.version, line.clockMs, line.pending()}),
                  (std::tuple{outcome, version, std::int64_t{ms}, answer.ends_with('Z') ? 1u : 0u}))
            << "left only the byte behind the answer";
    }
    line.onWrite = [&](std::string_view) { line.failPort(); };
    const FirmwareReply failed = runNow(link.queryFirmware());
    EXPECT_EQ((std::tuple{failed.outcome, failed.version}), (std::tuple{Outcome::PortError, ""}));
}

} // namespace
} // namespace dornal::testing
