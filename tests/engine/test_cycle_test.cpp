#include "engine/test_cycle.h"
#include "engine_bench.h"

#include <functional>
#include <gtest/gtest.h>

namespace dornal {
namespace {

using testing::EngineBench;
using Names = std::vector<std::string>;

const Names kStartWrite{"Itrip", "Write"};
const Names kReadyWrite{"ReadyCheck", "Abandon", "Itrip", "Write"};
const Names kNextRead{"Abandon", "Abandon", "ReadT123"};
const Names kWriteAgain{"Abandon", "ReadyCheck", "Itrip", "Write"};
const Names kFirstRead{"Abandon", "ReadT123"};
const Names kReadAgain{"ReadyCheck", "Abandon", "ReadT123"};

TEST(TestCycle, EachAnswerLeadsToTheModesNextCommands) {
    using M = TestMode;
    const struct {
        M mode;
        const char *writes, *reads, *loops; // loops and Timer1 after the last tick
        bool running;
        std::vector<Names> commands; // Start's, then one entry per tick
    } cases[] = {
        // clang-format off
        {M::WriteLoop, "1", "1", "2", true, {kStartWrite, kReadyWrite, kReadyWrite}},
        {M::ReadLoop, "1", "1", "0", true, {{"ReadT123"}, kNextRead, kNextRead}},
        {M::SingleWrite, "1", "1", "0", false, {kStartWrite, {}, {}}},
        {M::SingleRead, "1", "1", "0", false, {{"ReadT123"}, {}, {}}},
        {M::WriteReadLoop, "1", "1", "2", true,
         {kStartWrite, kFirstRead, kReadyWrite, kFirstRead, kReadyWrite}},
        {M::WriteReadLoop, "2", "2", "1", true,
         {kStartWrite, kWriteAgain, kFirstRead, kReadAgain, kReadyWrite, kWriteAgain}},
        // Without reads each loop still ends with one read; without writes the write that opens
        // each loop is still made; a count at the bottom of its range is not decreased.
        {M::WriteReadLoop, "1", "0", "1", true, {kStartWrite, kFirstRead, kReadyWrite, kFirstRead}},
        {M::WriteReadLoop, "0", "1", "1", true, {kStartWrite, kFirstRead, kReadyWrite, kFirstRead}},
        {M::WriteReadLoop, "1", "-32768", "1", true, {kStartWrite, kFirstRead, kReadyWrite}},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message()
                     << static_cast<int>(c.mode) << " " << c.writes << "/" << c.reads);
        EngineBench b;
        b.select(c.mode);
        b.perLoop(c.writes, c.reads);
        b.start();
        EXPECT_EQ(b.takeNames(), c.commands[0]);
        for (std::size_t tick = 1; tick < c.commands.size(); ++tick) {
            b.tick();
            EXPECT_EQ(b.takeNames(), c.commands[tick]) << "tick " << tick;
        }
        EXPECT_EQ(b.loops(), c.loops);
        EXPECT_EQ(b.form.Timer1.enabled(), c.running);
    }
}

// "Auto Write/Read Loop" with "2" writes and "2" reads per loop, all tracks, "Add Test Char",
// ISO character set, every total 0.
TEST(TestCycle, WorkedWriteReadSequenceByteForByte) {
    EngineBench b;
    b.select(TestMode::WriteReadLoop);
    b.perLoop("2", "2");
    auto frame = [](const std::string& t1, const std::string& t2, const std::string& t3) {
        return "\x1bt" + t2 + "A" + t3 + "~" + t1 + testing::kTrailer;
    };
    auto expectState = [&b](std::int16_t writes, std::int16_t reads, bool writing) {
        EXPECT_EQ(b.shared.WritesLeft, writes);
        EXPECT_EQ(b.shared.ReadsLeft, reads);
        EXPECT_EQ(b.shared.LastCmdRead, writing ? kFalse : kTrue);
        for (std::size_t i = 0; i < 3; ++i) {
            EXPECT_EQ(b.form.Text1[i].backColor(),
                      writing ? kColorLightYellow : kColorWindowBackground);
            EXPECT_EQ(b.form.Text2[i].backColor(),
                      writing ? kColorWindowBackground : kColorLightYellow);
        }
    };
    // Total 0: the loop patterns gain their first test character and lose their second one.
    const std::string t1 =
        "111111111000000000011111111110000000000111111111100000000001111111111000000 ";
    const std::string t2 = "2222222220000000000222222222200000000";
    const std::string t3 = "3333333330000000000333333333300000000003333333333000000000033333333330"
                           "0000000003333333333000000000033333330";
    const std::string itrip{27, '*'}, abandon{27, '0'}, ready{27, 'e'}, readAll{27, '"'};

    b.start();
    EXPECT_EQ(b.takeTexts(), (Names{itrip, frame(t1, t2, t3)}));
    expectState(1, 2, true);

    b.tick(); // answer to write 1: write 2 with the same data
    EXPECT_EQ(b.takeTexts(), (Names{abandon, ready, itrip, frame(t1, t2, t3)}));
    expectState(0, 2, true);
    EXPECT_EQ(b.form.Label5.caption(), "1B 22 30 70- 0");

    b.tick(); // answer to write 2: read 1, the boxes change colour
    EXPECT_EQ(b.takeTexts(), (Names{abandon, readAll}));
    expectState(0, 1, false);

    b.tick(); // answer to read 1: read 2; the written data stay above the data read back
    EXPECT_EQ(b.takeTexts(), (Names{ready, abandon, readAll}));
    expectState(0, 0, false);
    EXPECT_EQ(b.form.Text2[0].text(), t1);
    EXPECT_EQ(b.form.Text2[1].text(), t2);
    EXPECT_EQ(b.form.Text2[2].text(), t3);
    EXPECT_EQ(b.data(1), t1);
    EXPECT_EQ(b.loops(), "0");

    b.tick(); // answer to read 2: the data advance with total 2, loop 1 is complete
    EXPECT_EQ(
        b.takeTexts(),
        (Names{ready, abandon, itrip,
               frame("11111111000000000011111111110000000000111111111100000000001111111111000000 #",
                     "2222222200000000002222222222000000002",
                     "3333333300000000003333333333000000000033333333330000000000333333333300000000"
                     "0033333333330000000000333333302")}));
    expectState(1, 2, true);
    EXPECT_EQ(b.loops(), "1");
    // Two writes of all three tracks counted; reads count no totals in this mode.
    for (int track = 1; track <= 3; ++track) {
        EXPECT_EQ(b.form.Label1[static_cast<std::size_t>(track)].caption(), "2");
        EXPECT_EQ(b.form.writeCounter(track).caption(), "2");
        EXPECT_EQ(b.form.readCounter(track).caption(), "2");
    }
}

TEST(TestCycle, FailedWriteRepeatsTheSameDataAndStillCountsTheLoop) {
    EngineBench b;
    b.select(TestMode::WriteLoop);
    b.reader.writeResult = 'q';
    b.start();
    b.tick();
    b.tick();
    EXPECT_EQ(b.shared.WriteFailed, kTrue);
    EXPECT_EQ(b.loops(), "2");
    EXPECT_EQ(b.form.Label5.caption(), "1B 22 30 71- 0");
    EXPECT_EQ(b.form.lb_T2WriteCounter.caption(), "0");
    b.reader.writeResult = 'p';
    b.tick(); // the failed write's answer is taken here: still the same data
    b.tick(); // a good answer: the data advance again
    const auto& frames = b.reader.frames;
    ASSERT_EQ(frames.size(), 5u);
    EXPECT_EQ(Names(frames.begin() + 1, frames.begin() + 4), Names(3, frames[0]));
    EXPECT_NE(frames[4], frames[0]);
    EXPECT_EQ(b.shared.WriteFailed, kFalse);
}

TEST(TestCycle, ResetCounterDuringARunRestartsTotalsNotWriteCounters) {
    EngineBench b;
    b.select(TestMode::WriteLoop);
    b.form.Option2[2].select(); // serial numbers follow the totals
    b.start();
    b.tick();
    b.reader.answerWrites = false; // the operator has not swiped the card yet
    b.tick();
    b.takeTexts();
    b.form.Command2[2].click();
    EXPECT_EQ(b.takeNames(), Names{"ResetReader"});
    EXPECT_TRUE(b.form.Timer1.enabled());
    EXPECT_EQ(b.form.Label1[2].caption(), "0");
    EXPECT_EQ(b.form.lb_T2WriteCounter.caption(), "2");

    b.bench.port.feed("\x1b\"0p"); // the answer to the write before the reset
    b.tick();
    EXPECT_EQ(b.loops(), "1");
    EXPECT_EQ(b.form.Label1[2].caption(), "1");
    EXPECT_EQ(b.form.lb_T2WriteCounter.caption(), "3");
    EXPECT_EQ(b.data(2).substr(33), "0001");
}

TEST(TestCycle, WriteReadDataAdvanceOnlyWhereTheLoopShapeAllows) {
    const struct {
        const char *writes, *reads;
        std::vector<bool> advanced; // per write frame after the first: data new?
    } cases[] = {
        {"1", "0", {false, false, false}}, // one write, no read: the data never advance
        {"2", "0", {true, false, true}},   // advanced before the last write of each loop
        {"1", "1", {true, true, true}},
    };
    for (const auto& c : cases) {
        EngineBench b;
        b.select(TestMode::WriteReadLoop);
        b.perLoop(c.writes, c.reads);
        b.start();
        for (int tick = 0; tick < 20 && b.reader.frames.size() <= c.advanced.size(); ++tick)
            b.tick();
        ASSERT_EQ(b.reader.frames.size(), c.advanced.size() + 1);
        for (std::size_t i = 0; i < c.advanced.size(); ++i)
            EXPECT_EQ(b.reader.frames[i + 1] != b.reader.frames[i], c.advanced[i])
                << c.writes << "/" << c.reads << " frame " << i + 1;
    }
}

TEST(TestCycle, SingleReadShowsTheCardAndEndsLeavingItripLocked) {
    EngineBench b;
    b.reader.card = {"HELLO", "1234", "=>9"};
    b.select(TestMode::SingleRead);
    b.start();
    b.tick();
    EXPECT_EQ(b.data(1), "HELLO");
    EXPECT_EQ(b.data(2), "1234");
    EXPECT_EQ(b.data(3), "=>9");
    EXPECT_EQ(b.form.Label1[1].caption(), "1"); // reads count totals outside the write/read loop
    for (Control* c :
         std::vector<Control*>{&b.form.Command2[0], &b.form.Check1[0], &b.form.Option1[0],
                               &b.form.Option2[0], &b.form.tx_ReadTimesPerLoop, &b.form.Option3[3]})
        EXPECT_TRUE(c->enabled()) << c->name();
    for (Control* c :
         std::vector<Control*>{&b.form.Command2[1], &b.form.Option4[0], &b.form.Option4[2]})
        EXPECT_FALSE(c->enabled()) << c->name(); // Itrip until the next run is abandoned
}

TEST(TestCycle, AnswerOfTheOtherKindIsCountedButSendsNothing) {
    for (TestMode mode : {TestMode::ReadLoop, TestMode::WriteLoop}) {
        EngineBench b;
        b.select(mode);
        b.reader.answerReads = b.reader.answerWrites = false;
        b.start();
        b.takeTexts();
        const bool readMode = mode == TestMode::ReadLoop;
        b.shared.LastCmdRead = readMode ? kFalse : kTrue;
        b.bench.port.feed(readMode ? "\x1brp" : "\x1bs12\x7f?");
        b.tick();
        EXPECT_TRUE(b.takeTexts().empty());
        EXPECT_EQ((readMode ? b.form.lb_T2WriteCounter : b.form.lb_T2ReadCounter).caption(), "1");
        EXPECT_EQ(b.loops(), "0");
        EXPECT_TRUE(b.form.Timer1.enabled());
    }
}

// A silent reader, a cut answer, a reader that never says "y" and a vanishing port: the tick
// says what went wrong and the loop carries on, counting nothing it did not get.
TEST(TestCycle, GlitchesDoNotStopTheLoop) {
    const struct {
        TestMode mode;
        std::function<void(EngineBench&)> before; // Start
        std::string fed;                          // after Start
        Names commands;
        const char *status, *loops, *total1;
        Flag16 writeFailed;
    } cases[] = {
        {TestMode::WriteLoop,
         [](EngineBench& b) { b.reader.answerWrites = false; },
         "",
         {},
         "",
         "0",
         "0",
         kFalse},
        {TestMode::WriteLoop, [](EngineBench& b) { b.reader.answerWrites = false; }, "\x1b\"0",
         kReadyWrite, "No answer from the reader", "1", "0", kTrue},
        {TestMode::ReadLoop, [](EngineBench& b) { b.reader.answerReads = false; }, "\x1bs12",
         kNextRead, "No answer from the reader", "0", "0", kFalse},
        {TestMode::WriteLoop, [](EngineBench& b) { b.reader.answerReady = false; }, "", kReadyWrite,
         "Reader not ready", "1", "1", kFalse},
        {TestMode::WriteLoop,
         [](EngineBench& b) {
             b.bench.port.onWrite = [&b](const std::vector<std::uint8_t>& bytes) {
                 b.reader.answer(std::string(bytes.begin(), bytes.end()));
                 if (bytes == std::vector<std::uint8_t>{27, 'e'})
                     b.bench.port.failPort(); // gone while the ready byte is awaited
             };
         },
         "",
         {"ReadyCheck"},
         "Port error",
         "1",
         "1",
         kFalse},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.status);
        EngineBench b;
        b.select(c.mode);
        c.before(b);
        b.start();
        b.takeTexts();
        b.bench.port.feed(c.fed);
        b.tick();
        EXPECT_EQ(b.takeNames(), c.commands);
        EXPECT_EQ(b.form.Label5.caption(), c.status);
        EXPECT_EQ(b.loops(), c.loops);
        EXPECT_EQ(b.form.Label1[1].caption(), c.total1);
        EXPECT_EQ(b.shared.WriteFailed, c.writeFailed);
        b.form.Command2[1].click();
        EXPECT_FALSE(b.form.Timer1.enabled());
    }
}

} // namespace
} // namespace dornal
