#include "engine/status_texts.h"
#include "engine_rig.h"

namespace dornal {
namespace {

using namespace testing;

// All tracks, one write and one read per loop, "Add Test Char", ISO, every total 0.
TEST(TestCycle, WriteReadLoopByteForByte) {
    Rig r;
    r.panel.ticked = 0b111;
    r.panel.rowOf(Row::Data) = {"1", "2", "3"};
    r.reader.writeAnswer = esc("\"0p");
    r.reader.readAnswer = esc("s20\177A30\177~1 \177?");
    const std::string trailer = "\x1d\033\\\033j";
    r.start(Mode::WriteReadLoop);
    EXPECT_EQ(r.take(), (Texts{esc("*"), esc("t20A30~1 ") + trailer}));
    EXPECT_EQ(r.left(), std::pair(0, 1));
    EXPECT_EQ(std::pair(r.panel.phase, r.panel.ticking), std::pair(Phase::Writing, true));
    r.bench.tick(); // the write answer: the first read follows without a ready check
    EXPECT_EQ(r.take(), (Texts{esc("0"), esc("\"")}));
    EXPECT_EQ(r.panel.statuses, Texts{"1B 22 30 70- 0"});
    EXPECT_EQ(r.panel.phase, Phase::Reading);
    Counters want;
    want.totals = want.writes = {1, 1, 1};
    EXPECT_EQ(r.panel.shown, want);
    r.panel.perLoop = {2, 1}; // each loop takes the counts anew
    r.bench.tick();           // the read answer ends the loop: the data advance from total 1
    EXPECT_EQ(r.take(), (Texts{esc("e"), esc("0"), esc("*"), esc("t201A301~1 !") + trailer}));
    EXPECT_EQ(r.panel.rowOf(Row::ReadBack), (Boxes{"1 ", "20", "30"}));
    want.reads = {1, 1, 1}; // reads add no totals in this mode
    want.loops = 1;
    EXPECT_EQ(r.bench.counters(), want);
    EXPECT_EQ(r.left(), std::pair(1, 1));
    EXPECT_EQ(r.panel.phase, Phase::Writing);
}

TEST(TestCycle, EachModeTakesItsNextStepAfterAnAnswer) {
    using M = Mode;
    // Start's commands, each tick's, the loops, what is left of the loop, whether the run goes on.
    const std::tuple<M, LoopCounts, const char*, Texts, int, std::pair<int, int>, bool> cases[] = {
        {M::WriteLoop, {1, 1}, "*|t20", {"e|0|*|t201", "e|0|*|t2012"}, 2, {0, 0}, true},
        {M::ReadLoop, {1, 1}, "]", {"0|0|]", "0|0|]"}, 0, {0, 0}, true},
        {M::SingleWrite, {1, 1}, "*|t20", {"", ""}, 0, {0, 0}, false},
        {M::SingleRead, {1, 1}, "]", {"", ""}, 0, {0, 0}, false},
        {M::WriteReadLoop, {2, 1}, "*|t20", {"0|e|*|t20", "0|]", "e|0|*|t202"}, 1, {1, 1}, true},
        // A loop without reads advances before its last write, and still reads once.
        {M::WriteReadLoop, {2, 0}, "*|t20", {"0|e|*|t201", "0|]", "e|0|*|t201"}, 1, {1, 0}, true},
        {M::WriteReadLoop, {1, 0}, "*|t20", {"0|]", "e|0|*|t20"}, 1, {0, 0}, true},
        {M::WriteReadLoop, {0, 1}, "*|t20", {"0|]", "e|0|*|t20"}, 1, {-1, 1}, true},
        {M::WriteReadLoop, {1, 2}, "*|t20", {"0|]", "e|0|]", "e|0|*|t201"}, 1, {0, 2}, true},
    };
    for (const auto& [mode, perLoop, start, ticks, loops, left, running] : cases) {
        SCOPED_TRACE(::testing::Message() << int(mode) << perLoop.writes << perLoop.reads);
        Rig r;
        r.panel.perLoop = perLoop;
        r.start(mode);
        EXPECT_EQ(r.trace(), start);
        for (const std::string& sent : ticks) {
            r.bench.tick();
            EXPECT_EQ(r.trace(), sent);
        }
        EXPECT_EQ(r.panel.shown.loops, static_cast<std::uint64_t>(loops));
        EXPECT_EQ(r.left(), left);
        EXPECT_EQ(std::pair(r.panel.running, r.panel.ticking), std::pair(running, running));
        // A single action leaves the write strength locked until the run is abandoned.
        EXPECT_EQ(r.panel.locks.back(), std::pair(running, running));
    }
}

TEST(TestCycle, WriteAnswersCountTheWrittenTracks) {
    // The answer, the tracks it counts as written, the status it shows.
    const std::tuple<std::string, Three, const char*> cases[] = {
        {esc("rp"), {0, 1, 0}, "1B 72 70- 0"},     {esc("\"0p"), {1, 1, 1}, "1B 22 30 70- 0"},
        {esc("B0p"), {0, 1, 1}, "1B 42 30 70- 0"}, {esc(" 0p"), {1, 0, 0}, "1B 20 30 70- 0"},
        {esc("\"0q"), {}, "1B 22 30 71- 0"},       {esc("rq"), {}, "1B 72 71- 0"},
        {esc("\"0"), {}, kAnswerTimeoutText}, // cut: nothing of it counts
    };
    // In a read mode the write answer counts too, and the run waits for its read answer.
    for (const auto& [answer, written, status] : cases) {
        for (Mode mode : {Mode::SingleWrite, Mode::SingleRead}) {
            SCOPED_TRACE(answer);
            Rig r;
            r.panel.ticked = 0b111;
            r.reader.writeAnswer = r.reader.readAnswer = "";
            r.start(mode);
            r.link.expectRead(false);
            r.line.feed(answer);
            r.bench.tick();
            EXPECT_EQ(r.panel.statuses, Texts{status});
            EXPECT_EQ(r.panel.running, mode == Mode::SingleRead);
            EXPECT_EQ(r.bench.writeFailed(), written == Three{});
            Counters want;
            want.totals = want.writes = written;
            EXPECT_EQ(r.panel.shown, want);
        }
    }
}

TEST(TestCycle, ReadSegmentsCountReadsAndOutsideTheWriteReadLoopTotals) {
    const std::string old = "old";
    // The answer, the reads and (outside the loop) totals it adds, what tracks 1..3 then show.
    const std::tuple<std::string, Three, Three, Boxes, const char*> cases[] = {
        {esc("s22\177A33\177~11\177?"), {1, 1, 1}, {1, 1, 1}, {"11", "22", "33"}, nullptr},
        // An end mark alone is a read of tracks 1 and 3 but no read of track 2.
        {esc("s\177A\177~\177?"), {1, 0, 1}, {0, 0, 0}, {"", "", ""}, nullptr},
        {esc("s22\177?"), {0, 1, 0}, {0, 1, 0}, {"", "22", ""}, nullptr},
        {esc("x?"), {}, {}, {old, old, old}, nullptr},
        {esc("s22"), {}, {}, {old, old, old}, kAnswerTimeoutText},
        {esc("s") + std::string(8200, '2'), {}, {}, {old, old, old}, kAnswerTooLongText},
    };
    // In a write mode the read answer counts too, and the run waits for its write answer.
    for (Mode mode : {Mode::SingleRead, Mode::WriteReadLoop, Mode::SingleWrite}) {
        const bool loop = mode == Mode::WriteReadLoop;
        const Row row = loop ? Row::ReadBack : Row::Data;
        for (const auto& [answer, reads, totals, shown, status] : cases) {
            SCOPED_TRACE(answer.substr(0, 12) + (loop ? " loop" : ""));
            Rig r;
            r.panel.ticked = 0b111;
            r.reader.writeAnswer = r.reader.readAnswer = "";
            r.start(mode);
            r.panel.rowOf(row).fill(old);
            r.link.expectRead(true);
            r.line.feed(answer);
            r.bench.tick();
            EXPECT_EQ(r.panel.shown.reads, reads);
            EXPECT_EQ(r.panel.shown.totals, loop ? Three{} : totals);
            EXPECT_EQ(r.panel.rowOf(row), shown);
            EXPECT_EQ(r.panel.statuses, status ? Texts{status} : Texts{});
            EXPECT_EQ(r.panel.running, mode != Mode::SingleRead);
        }
    }
}

TEST(Counting, ASegmentOfTrackZeroCountsNothing) {
    Counters counters;
    countReadSegment(counters, 0, true, true);
    EXPECT_EQ(counters, Counters{});
}

// The tick says what went wrong and the loop carries on, counting nothing it did not get.
TEST(TestCycle, GlitchesAreShownAndTheLoopGoesOn) {
    // The write answer, the ready answer, the command the line fails on; what the tick sends.
    const std::tuple<std::string, std::string, std::string, const char*, Texts> cases[] = {
        {esc("rp"), "", "", "e|0|*|t201", {"1B 72 70- 0", kNotReadyText}},
        {esc("rp"), std::string(8200, 'x'), "", "e|0|*|t201", {"1B 72 70- 0", kAnswerTooLongText}},
        {esc("rp"), "y", esc("e"), "e", {"1B 72 70- 0", kPortErrorText}},
        {esc("\"0"), "y", "", "e|0|*|t20", {kAnswerTimeoutText}}, // the same data again
        {esc("rp"), "y", esc("t"), "", {kPortErrorText}}, // the line fails with the first write
    };
    for (const auto& [write, ready, failAfter, sent, statuses] : cases) {
        SCOPED_TRACE(sent);
        Rig r;
        std::tie(r.reader.writeAnswer, r.reader.ready, r.reader.failAfter) =
            std::tie(write, ready, failAfter);
        r.start(Mode::WriteLoop);
        r.trace();
        r.bench.tick();
        EXPECT_EQ(r.trace(), sent);
        EXPECT_EQ(r.panel.statuses, statuses);
        EXPECT_EQ(r.panel.shown.loops, *sent ? 1u : 0u);
    }
}

} // namespace
} // namespace dornal
