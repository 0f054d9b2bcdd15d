#include "engine/test_cycle.h"
#include "engine_bench.h"

#include <gtest/gtest.h>

namespace dornal {
namespace {

using testing::EngineBench;
using Names = std::vector<std::string>;

const Names kStartWrite{"Itrip", "Write"};
const Names kNextWriteLoop{"ReadyCheck", "Abandon", "Itrip", "Write"};
const Names kNextRead{"Abandon", "Abandon", "ReadT123"};
const Names kWriteAgain{"Abandon", "ReadyCheck", "Itrip", "Write"};
const Names kFirstRead{"Abandon", "ReadT123"};
const Names kReadAgain{"ReadyCheck", "Abandon", "ReadT123"};
const Names kNewLoop{"ReadyCheck", "Abandon", "Itrip", "Write"};

struct ModeSequence {
    const char* name;
    TestMode mode;
    const char* writes;
    const char* reads;
    std::vector<Names> commands; // Start's, then one entry per tick
    const char* loops;           // after the last tick
    bool running;                // Timer1 after the last tick
};

class CommandSequences : public ::testing::TestWithParam<ModeSequence> {};

TEST_P(CommandSequences, EachAnswerLeadsToTheModesNextCommands) {
    const ModeSequence& row = GetParam();
    EngineBench b;
    b.select(row.mode);
    b.perLoop(row.writes, row.reads);
    b.start();
    EXPECT_EQ(b.takeNames(), row.commands[0]);
    for (std::size_t tick = 1; tick < row.commands.size(); ++tick) {
        b.tick();
        EXPECT_EQ(b.takeNames(), row.commands[tick]) << "tick " << tick;
    }
    EXPECT_EQ(b.loops(), row.loops);
    EXPECT_EQ(b.form.Timer1.enabled(), row.running);
}

INSTANTIATE_TEST_SUITE_P(
    TestCycle, CommandSequences,
    ::testing::Values(
        ModeSequence{"WriteLoop",
                     TestMode::WriteLoop,
                     "1",
                     "1",
                     {kStartWrite, kNextWriteLoop, kNextWriteLoop, kNextWriteLoop},
                     "3",
                     true},
        ModeSequence{"ReadLoop",
                     TestMode::ReadLoop,
                     "1",
                     "1",
                     {{"ReadT123"}, kNextRead, kNextRead},
                     "0",
                     true},
        ModeSequence{
            "SingleWrite", TestMode::SingleWrite, "1", "1", {kStartWrite, {}, {}}, "0", false},
        ModeSequence{
            "SingleRead", TestMode::SingleRead, "1", "1", {{"ReadT123"}, {}, {}}, "0", false},
        ModeSequence{"WriteRead1x1",
                     TestMode::WriteReadLoop,
                     "1",
                     "1",
                     {kStartWrite, kFirstRead, kNewLoop, kFirstRead, kNewLoop},
                     "2",
                     true},
        ModeSequence{"WriteRead2x2",
                     TestMode::WriteReadLoop,
                     "2",
                     "2",
                     {kStartWrite, kWriteAgain, kFirstRead, kReadAgain, kNewLoop, kWriteAgain},
                     "1",
                     true},
        // Without reads each loop still ends with one read.
        ModeSequence{"WriteRead1x0",
                     TestMode::WriteReadLoop,
                     "1",
                     "0",
                     {kStartWrite, kFirstRead, kNewLoop, kFirstRead},
                     "1",
                     true},
        // Without writes the write that opens each loop is still made.
        ModeSequence{"WriteRead0x1",
                     TestMode::WriteReadLoop,
                     "0",
                     "1",
                     {kStartWrite, kFirstRead, kNewLoop, kFirstRead},
                     "1",
                     true},
        ModeSequence{"WriteReadNegativeAndText",
                     TestMode::WriteReadLoop,
                     "-5",
                     "abc",
                     {kStartWrite, kFirstRead, kNewLoop, kFirstRead, kNewLoop},
                     "2",
                     true}),
    [](const auto& info) { return std::string(info.param.name); });

// The run that starts a write/read loop with "2" writes and "2" reads per loop, all three
// tracks ticked, "Add Test Char", ISO character set, every total 0.
class WorkedSequence : public ::testing::Test {
  protected:
    void SetUp() override {
        b.select(TestMode::WriteReadLoop);
        b.perLoop("2", "2");
    }
    void expectLeft(std::int16_t writes, std::int16_t reads) {
        EXPECT_EQ(b.shared.WritesLeft, writes);
        EXPECT_EQ(b.shared.ReadsLeft, reads);
    }
    void expectPhaseColours(Color written, Color readBack) {
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(b.form.Text1[static_cast<std::size_t>(i)].backColor(), written);
            EXPECT_EQ(b.form.Text2[static_cast<std::size_t>(i)].backColor(), readBack);
        }
    }
    static std::string frame(const std::string& t1, const std::string& t2, const std::string& t3) {
        return "\x1bt" + t2 + "A" + t3 + "~" + t1 + "\x1d\x1b\\\x1bj";
    }

    EngineBench b;
};

TEST_F(WorkedSequence, TwoWritesTwoReadsByteForByte) {
    // Total 0: the loop patterns gain their first test character and lose their second one.
    const std::string t1 =
        "111111111000000000011111111110000000000111111111100000000001111111111000000 ";
    const std::string t2 = "2222222220000000000222222222200000000";
    const std::string t3 = "3333333330000000000333333333300000000003333333333000000000033333333330"
                           "0000000003333333333000000000033333330";
    const std::string write1 = frame(t1, t2, t3);
    const std::string itrip = "\x1b*";
    const std::string abandon = "\x1b"
                                "0";
    const std::string ready = "\x1b"
                              "e";
    const std::string readAll = "\x1b\"";

    b.start();
    EXPECT_EQ(b.takeTexts(), (Names{itrip, write1}));
    expectLeft(1, 2);
    EXPECT_EQ(b.shared.LastCmdRead, kFalse);
    expectPhaseColours(kColorLightYellow, kColorWindowBackground);

    b.tick(); // answer to write 1: write 2 with the same data
    EXPECT_EQ(b.takeTexts(), (Names{abandon, ready, itrip, write1}));
    expectLeft(0, 2);
    EXPECT_EQ(b.form.Label5.caption(), "1B 22 30 70- 0");

    b.tick(); // answer to write 2: read 1, the boxes change colour
    EXPECT_EQ(b.takeTexts(), (Names{abandon, readAll}));
    expectLeft(0, 1);
    EXPECT_EQ(b.shared.LastCmdRead, kTrue);
    expectPhaseColours(kColorWindowBackground, kColorLightYellow);

    b.tick(); // answer to read 1: read 2
    EXPECT_EQ(b.takeTexts(), (Names{ready, abandon, readAll}));
    expectLeft(0, 0);
    EXPECT_EQ(b.form.Text2[0].text(), t1);
    EXPECT_EQ(b.form.Text2[1].text(), t2);
    EXPECT_EQ(b.form.Text2[2].text(), t3);
    EXPECT_EQ(b.data(1), t1); // the written data stays above the data read back
    EXPECT_EQ(b.loops(), "0");

    b.tick(); // answer to read 2: the data advance with total 2, loop 1 is complete
    const std::string write2 = frame(
        "11111111000000000011111111110000000000111111111100000000001111111111000000 #",
        "2222222200000000002222222222000000002",
        "33333333000000000033333333330000000000333333333300000000003333333333000000000033333333330"
        "000000000333333302");
    EXPECT_EQ(b.takeTexts(), (Names{ready, abandon, itrip, write2}));
    expectLeft(1, 2);
    EXPECT_EQ(b.loops(), "1");
    EXPECT_EQ(b.shared.LastCmdRead, kFalse);
    expectPhaseColours(kColorLightYellow, kColorWindowBackground);

    // Two writes of all three tracks counted; reads count no totals in this mode.
    for (int track = 1; track <= 3; ++track) {
        EXPECT_EQ(b.form.Label1[static_cast<std::size_t>(track)].caption(), "2");
        EXPECT_EQ(b.form.writeCounter(track).caption(), "2");
        EXPECT_EQ(b.form.readCounter(track).caption(), "2");
    }
}

TEST(TestCycleWriteLoop, FailedWriteRepeatsTheSameDataAndStillCountsTheLoop) {
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
    ASSERT_EQ(b.reader.frames.size(), 3u);
    EXPECT_EQ(b.reader.frames[1], b.reader.frames[0]);
    EXPECT_EQ(b.reader.frames[2], b.reader.frames[0]);

    b.reader.writeResult = 'p';
    b.tick(); // the failed write's answer is taken here: still the same data
    b.tick(); // a good answer: the data advance again
    ASSERT_EQ(b.reader.frames.size(), 5u);
    EXPECT_EQ(b.reader.frames[3], b.reader.frames[0]);
    EXPECT_NE(b.reader.frames[4], b.reader.frames[0]);
    EXPECT_EQ(b.shared.WriteFailed, kFalse);
    EXPECT_EQ(b.loops(), "4");
}

TEST(TestCycleWriteLoop, ResetCounterDuringARunRestartsTotalsNotWriteCounters) {
    EngineBench b;
    b.select(TestMode::WriteLoop);
    b.form.Option2[2].select(); // serial numbers follow the totals
    b.start();
    b.tick();
    b.reader.answerWrites = false; // the operator has not swiped the card yet
    b.tick();
    EXPECT_EQ(b.form.Label1[2].caption(), "2");
    b.takeTexts();
    b.form.Command2[2].click();
    EXPECT_EQ(b.takeNames(), Names{"ResetReader"});
    EXPECT_TRUE(b.form.Timer1.enabled());
    EXPECT_EQ(b.loops(), "0");
    EXPECT_EQ(b.form.Label1[2].caption(), "0");
    EXPECT_EQ(b.form.lb_T2WriteCounter.caption(), "2");

    b.reader.answerWrites = true;
    b.bench.port.feed("\x1b\"0p"); // the answer to the write before the reset
    b.tick();
    EXPECT_EQ(b.loops(), "1");
    EXPECT_EQ(b.form.Label1[2].caption(), "1");
    EXPECT_EQ(b.form.lb_T2WriteCounter.caption(), "3");
    // The serials start again from the totals the reset left.
    EXPECT_EQ(b.data(2).substr(33), "0001");
}

TEST(TestCycleWriteRead, DataAdvanceOnlyWhereTheLoopShapeAllows) {
    struct Case {
        const char* writes;
        const char* reads;
        std::vector<bool> advanced; // per write frame after the first: data new?
    };
    const Case cases[] = {
        {"1", "0", {false, false, false}}, // one write, no read: the data never advance
        {"2", "0", {true, false, true}},   // advanced before the last write of each loop
        {"1", "1", {true, true, true}},
    };
    for (const auto& c : cases) {
        EngineBench b;
        b.select(TestMode::WriteReadLoop);
        b.perLoop(c.writes, c.reads);
        b.start();
        for (int tick = 0; tick < 20 && b.reader.frames.size() < c.advanced.size() + 1; ++tick)
            b.tick();
        ASSERT_EQ(b.reader.frames.size(), c.advanced.size() + 1);
        for (std::size_t i = 0; i < c.advanced.size(); ++i)
            EXPECT_EQ(b.reader.frames[i + 1] != b.reader.frames[i], c.advanced[i])
                << c.writes << "/" << c.reads << " frame " << i + 1;
    }
}

TEST(TestCycleWriteRead, ReadsLeftHeldAtTheBottomOfItsRange) {
    EngineBench b;
    b.select(TestMode::WriteReadLoop);
    b.perLoop("1", "-32768");
    b.start();
    b.takeTexts();
    b.tick();
    EXPECT_EQ(b.shared.ReadsLeft, -32768);
    EXPECT_EQ(b.takeNames(), kFirstRead);
    b.tick();
    EXPECT_EQ(b.takeNames(), kNewLoop);
}

TEST(TestCycleSingle, SingleWriteEndsAfterAGoodOrFailedWrite) {
    for (char result : {'p', 'q'}) {
        EngineBench b;
        b.select(TestMode::SingleWrite);
        b.reader.writeResult = result;
        b.start();
        b.takeTexts();
        const std::string data = b.data(1);
        b.tick();
        EXPECT_TRUE(b.takeNames().empty());
        EXPECT_FALSE(b.form.Timer1.enabled());
        EXPECT_TRUE(b.form.Command2[0].enabled());
        EXPECT_FALSE(b.form.Command2[1].enabled());
        for (int i = 0; i < 5; ++i)
            EXPECT_TRUE(b.form.Option1[i].enabled());
        EXPECT_TRUE(b.form.Check1[0].enabled());
        EXPECT_TRUE(b.form.Option2[0].enabled());
        EXPECT_TRUE(b.form.tx_ReadTimesPerLoop.enabled());
        EXPECT_TRUE(b.form.Option3[3].enabled());
        for (int i = 0; i < 3; ++i)
            EXPECT_FALSE(b.form.Option4[i].enabled()); // until the next run is abandoned
        EXPECT_EQ(b.data(1), data);
        EXPECT_EQ(b.form.lb_T1WriteCounter.caption(), result == 'p' ? "1" : "0");
    }
}

TEST(TestCycleSingle, SingleReadShowsTheCardAndEnds) {
    EngineBench b;
    b.reader.card = {"HELLO", "1234", "=>9"};
    b.select(TestMode::SingleRead);
    b.start();
    b.tick();
    EXPECT_EQ(b.data(1), "HELLO");
    EXPECT_EQ(b.data(2), "1234");
    EXPECT_EQ(b.data(3), "=>9");
    EXPECT_FALSE(b.form.Timer1.enabled());
    EXPECT_TRUE(b.form.Command2[0].enabled());
    EXPECT_EQ(b.form.Label1[1].caption(), "1"); // reads count totals outside the write/read loop
}

TEST(TestCycleMismatch, AnswerOfTheOtherKindIsCountedButSendsNothing) {
    EngineBench b;
    b.select(TestMode::ReadLoop);
    b.reader.answerReads = false;
    b.start();
    b.takeTexts();
    b.shared.LastCmdRead = kFalse;
    b.bench.port.feed("\x1br"
                      "p");
    b.tick();
    EXPECT_TRUE(b.takeTexts().empty());
    EXPECT_EQ(b.form.lb_T2WriteCounter.caption(), "1");
    EXPECT_TRUE(b.form.Timer1.enabled());

    EngineBench w;
    w.select(TestMode::WriteLoop);
    w.reader.answerWrites = false;
    w.start();
    w.takeTexts();
    w.shared.LastCmdRead = kTrue;
    w.bench.port.feed("\x1bs12\x7f?");
    w.tick();
    EXPECT_TRUE(w.takeTexts().empty());
    EXPECT_EQ(w.form.lb_T2ReadCounter.caption(), "1");
    EXPECT_EQ(w.loops(), "0");
}

TEST(TestCycleNoAnswer, EmptyQueueTickDoesNothing) {
    EngineBench b;
    b.select(TestMode::WriteLoop);
    b.reader.answerWrites = false;
    b.start();
    b.takeTexts();
    for (int i = 0; i < 3; ++i)
        b.tick();
    EXPECT_TRUE(b.takeTexts().empty());
    EXPECT_EQ(b.loops(), "0");
    EXPECT_TRUE(b.form.Timer1.enabled());
}

TEST(TestCycleGlitches, IncompleteWriteAnswerCountsAsFailedAndTheLoopGoesOn) {
    EngineBench b;
    b.select(TestMode::WriteLoop);
    b.reader.partialWriteAnswer = "\x1b\"0"; // the result byte never comes
    b.start();
    b.takeTexts();
    b.tick();
    EXPECT_EQ(b.takeNames(), kNextWriteLoop);
    EXPECT_EQ(b.form.Label5.caption(), "No answer from the reader");
    EXPECT_EQ(b.shared.WriteFailed, kTrue);
    EXPECT_EQ(b.form.Label1[1].caption(), "0");
    EXPECT_EQ(b.loops(), "1");
    ASSERT_EQ(b.reader.frames.size(), 2u);
    EXPECT_EQ(b.reader.frames[1], b.reader.frames[0]);
}

TEST(TestCycleGlitches, IncompleteReadAnswerCarriesNothingAndTheLoopGoesOn) {
    EngineBench b;
    b.select(TestMode::WriteReadLoop);
    b.start();
    b.reader.answerReads = false;
    b.tick(); // write answer: the read follows
    b.takeTexts();
    b.bench.port.feed("\x1bs12"); // the "?" never comes
    b.tick();
    EXPECT_EQ(b.takeNames(), kNewLoop);
    EXPECT_EQ(b.form.Label5.caption(), "No answer from the reader");
    EXPECT_EQ(b.form.lb_T2ReadCounter.caption(), "0");
    EXPECT_EQ(b.loops(), "1");
}

TEST(TestCycleGlitches, ReaderNotReadyStillSendsTheNextWrite) {
    EngineBench b;
    b.select(TestMode::WriteLoop);
    b.reader.answerReady = false;
    b.start();
    b.takeTexts();
    b.tick();
    EXPECT_EQ(b.takeNames(), kNextWriteLoop);
    EXPECT_EQ(b.form.Label5.caption(), "Reader not ready");
    EXPECT_EQ(b.loops(), "1");
}

TEST(TestCycleGlitches, PortLostMidTickThenAbandonStillWorks) {
    EngineBench b;
    b.select(TestMode::WriteLoop);
    b.start();
    auto reader = b.bench.port.onWrite;
    b.bench.port.onWrite = [&](const std::vector<std::uint8_t>& bytes) {
        reader(bytes);
        if (bytes == std::vector<std::uint8_t>{27, 'e'})
            b.bench.port.failPort(); // the device vanishes while the ready byte is awaited
    };
    b.takeTexts();
    b.tick();
    EXPECT_EQ(b.takeNames(), Names{"ReadyCheck"}); // the rest went nowhere
    EXPECT_EQ(b.form.Label5.caption(), "Port error");
    EXPECT_EQ(b.loops(), "1");
    b.tick();
    b.tick();
    EXPECT_EQ(b.loops(), "1");
    b.abandon();
    EXPECT_FALSE(b.form.Timer1.enabled());
    EXPECT_EQ(b.loops(), "0");
    EXPECT_TRUE(b.form.Command2[0].enabled());
}

} // namespace
} // namespace dornal
