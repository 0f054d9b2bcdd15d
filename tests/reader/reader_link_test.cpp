#include "link_fixture.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dornal::testing {
namespace {

using Kind = Received::Kind;
using Writes = std::vector<std::string>;

// The frame carries track 2 unmarked, "A" track 3, "~" track 1, each only when given.
TEST_F(LinkTest, WriteTracksSendsTheStrengthThenTheFrameEachInOneWriteAfterItsDrain) {
    const std::string end = "\x1d\033\\\033j";
    const struct {
        std::optional<Itrip> strength;
        TrackTexts tracks;
        Writes writes;
    } cases[] = {
        {Itrip::TwoThirds, {"AB", "12", "34"}, {"\033+", "\033t12A34~AB" + end}},
        {Itrip::OneThird, {}, {"\033*", "\033t" + end}},
        {Itrip::Full, {std::nullopt, std::nullopt, "="}, {"\033,", "\033tA=" + end}},
        {std::nullopt, {"", std::nullopt, std::nullopt}, {"\033t~" + end}},
        {std::nullopt, {std::nullopt, "", ""}, {"\033tA" + end}},
        {std::nullopt, {"\xE9z", "12", std::nullopt}, {"\033t12~\xE9z" + end}},
    };
    for (const auto& c : cases) {
        line.clearRecord();
        line.feed(std::string(16 * c.writes.size(), 'x'));
        link.expectRead(true);
        link.writeTracks(c.strength, c.tracks);
        EXPECT_EQ(line.writes, c.writes);
        EXPECT_EQ(line.pending(), 0u) << c.writes.back();
        EXPECT_FALSE(link.expectingRead());
    }
    EXPECT_EQ(line.clockMs, 0) << "each drain found its sixteen bytes";
}

TEST_F(LinkTest, ReceiveTakesOneAnswerOrDropsOneStrayByteAtATime) {
    EXPECT_EQ(receive(false, "").kind, Kind::None);
    EXPECT_FALSE(link.receive().lineFailed);
    line.feed("xz\033rp\033Tq");
    EXPECT_EQ(link.receive().kind, Kind::None);
    EXPECT_EQ(line.pending(), 7u);
    EXPECT_EQ(link.receive().kind, Kind::None);
    const Received first = link.receive();
    EXPECT_EQ(first.kind, Kind::Write);
    EXPECT_EQ(first.outcome, Outcome::Complete);
    EXPECT_FALSE(first.lineFailed);
    EXPECT_EQ(first.write.written, 0b010);
    EXPECT_EQ(line.pending(), 3u);
    EXPECT_EQ(link.receive().write.status, "1B 54 71- 0");
    EXPECT_EQ(line.pending(), 0u);
    EXPECT_EQ(line.clockMs, 0);
}

TEST_F(LinkTest, TheAwaitedKindDecidesHowTheAnswerIsReadAndWhereItEnds) {
    const Received read = receive(true, "\033rp?\033");
    EXPECT_EQ(read.kind, Kind::Read);
    EXPECT_FALSE(read.read.valid);
    EXPECT_EQ(line.pending(), 1u);
    const Received write = receive(false, "T?p\033");
    EXPECT_EQ(write.write.written, 0b100);
    EXPECT_EQ(line.pending(), 1u);
}

// A chunk scripted empty is a pause the wait runs out on; shorter pauses do not cut the answer.
TEST_F(LinkTest, AnAnswerThatPausesTooLongIsGivenUpAfterThePauseBoundAndNotDecoded) {
    for (std::string_view rest : {"r", "T0", "s12A"}) {
        line.clockMs = 0;
        const bool read = rest.starts_with('s');
        line.feed("\033");
        line.feedLater(rest);
        line.feedLater("");
        line.feedLater("p?");
        const Received r = receive(read, "");
        EXPECT_EQ(r.kind, read ? Kind::Read : Kind::Write);
        EXPECT_EQ(r.outcome, Outcome::TimedOut);
        EXPECT_EQ(line.clockMs, 2000) << rest;
        EXPECT_TRUE(r.write.status.empty());
        EXPECT_EQ(r.write.written, 0);
        EXPECT_TRUE(r.read.segments.empty());
        line.drain(); // the late rest goes with the next command's drain
    }
}

TEST_F(LinkTest, APortFailureIsReportedAtOnceBeforeOrDuringAnAnswer) {
    for (bool read : {false, true}) {
        line.clockMs = 0;
        line.bytesBeforeFailure = 3;
        const Received r = receive(read, "\033s1");
        EXPECT_EQ(r.outcome, Outcome::PortError);
        EXPECT_TRUE(r.lineFailed);
        EXPECT_EQ(line.clockMs, 0);
        const Received after = link.receive();
        EXPECT_EQ(after.kind, Kind::None);
        EXPECT_TRUE(after.lineFailed);
        ASSERT_EQ(link.open(8, 9600), Line::OpenResult::Opened);
    }
}

TEST_F(LinkTest, ABabblingReaderIsGivenUpAfterTheByteBound) {
    for (bool read : {false, true}) {
        EXPECT_EQ(receive(read, "\033" + std::string(8192 + 100, 's')).outcome, Outcome::TooLong);
        EXPECT_EQ(line.pending(), 100u);
        line.feed("y");
        EXPECT_EQ(link.waitReady(), Outcome::Complete);
    }
    line.feed(std::string(8192 + 7, 'x'));
    EXPECT_EQ(link.waitReady(), Outcome::TooLong);
    EXPECT_EQ(line.pending(), 7u);
}

// Each byte comes a second (or 1111 ms) after the last: the answer as a whole is cut after ten
// seconds, also when its tenth byte came 0 or 1 ms before; a last wait shorter than the pause
// bound that runs out is cut by the overall bound too.
TEST_F(LinkTest, ABabblingReaderIsGivenUpAfterTheTimeBound) {
    line.msPerByte = 1000;
    EXPECT_EQ(receive(false, "\033" + std::string(8, 'x')).outcome, Outcome::TimedOut);
    EXPECT_EQ(receive(false, "\033" + std::string(9, 'x')).outcome, Outcome::TooLong);
    for (int ms : {1000, 1111}) {
        line.msPerByte = ms;
        EXPECT_EQ(receive(false, "\033" + std::string(20, 'x')).outcome, Outcome::TooLong);
        EXPECT_EQ(line.pending(), 10u) << ms;
        line.drain();
    }
}

TEST_F(LinkTest, AnAnswerBeyondTheBufferIsReadToItsEndAndTheNextStaysWhole) {
    const Received r = receive(true, "\033s" + std::string(1100, '5') + "?\033rp");
    EXPECT_EQ(r.outcome, Outcome::Complete);
    ASSERT_EQ(r.read.segments.size(), 1u);
    EXPECT_EQ(r.read.segments[0].data, std::string(1024, '5'));
    EXPECT_EQ(receive(false, "").write.written, 0b010);
}

TEST_F(LinkTest, WaitReadySkipsBytesUntilTheYAndIsBounded) {
    for (const char* chunk : {"x", "z", "y", "rest"})
        line.feedLater(chunk);
    EXPECT_EQ(link.waitReady(), Outcome::Complete);
    EXPECT_EQ(line.pending(), 0u) << "the chunk behind the y has not come yet";
    line.feed("zzy!");
    EXPECT_EQ(link.waitReady(), Outcome::Complete);
    EXPECT_EQ(line.pending(), 1u);
    EXPECT_EQ(line.clockMs, 0);
    EXPECT_EQ(link.waitReady(), Outcome::TimedOut); // after "!" and "rest"
    EXPECT_EQ(line.clockMs, 2000);
    line.feed("xy");
    line.failPort();
    EXPECT_EQ(link.waitReady(), Outcome::PortError);
    EXPECT_EQ(line.clockMs, 2000);
    link.close();
    EXPECT_FALSE(line.isOpen());
}

} // namespace
} // namespace dornal::testing
