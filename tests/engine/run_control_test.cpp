#include "engine/run_control.h"
#include "engine_bench.h"

#include <gtest/gtest.h>

namespace dornal {
namespace {

using testing::EngineBench;

// The controls Start locks, in the order it locks them.
std::vector<Control*> lockList(Form1& f) {
    std::vector<Control*> list{&f.Command2[0], &f.Command2[1]};
    for (auto& check : f.Check1)
        list.push_back(&check);
    for (OptionGroup* group : {&f.Option1, &f.Option2})
        for (int i = 0; i < group->size(); ++i)
            list.push_back(&(*group)[i]);
    list.push_back(&f.tx_WriteTimesPerLoop);
    list.push_back(&f.tx_ReadTimesPerLoop);
    for (OptionGroup* group : {&f.Option3, &f.Option4})
        for (int i = 0; i < group->size(); ++i)
            list.push_back(&(*group)[i]);
    return list;
}

// The thirteen displays Start zeroes, in the order it zeroes them.
std::vector<Label*> counterList(Form1& f) {
    return {&f.Label1[0],         &f.Label1[1],        &f.Label1[2],         &f.Label1[3],
            &f.lb_T1WriteCounter, &f.lb_T1ReadCounter, &f.lb_T2WriteCounter, &f.lb_T2ReadCounter,
            &f.lb_T3WriteCounter, &f.lb_T3ReadCounter, &f.Label3[0],         &f.Label3[1],
            &f.Label3[2]};
}

std::vector<std::string> namesOf(const std::vector<Label*>& labels) {
    std::vector<std::string> names;
    for (const Label* label : labels)
        names.push_back(label->name());
    return names;
}

class RunControl : public ::testing::Test {
  protected:
    // Records the name of every listed control whenever it changes.
    template <typename T> void watch(const std::vector<T*>& controls) {
        for (T* control : controls)
            control->addListener([this, control] { changes.push_back(control->name()); });
    }
    void setAllCounters(std::string_view value) {
        for (Label* label : counterList(b.form))
            label->setCaption(value);
    }

    EngineBench b;
    std::vector<std::string> changes;
};

TEST_F(RunControl, StartLocksTheSettingsInOrderThenZeroesTheCounters) {
    b.select(TestMode::WriteLoop);
    setAllCounters("7");
    const auto locks = lockList(b.form);
    watch(locks);
    b.start();

    std::vector<std::string> expected;
    for (const Control* control : locks)
        expected.push_back(control->name());
    EXPECT_EQ(changes, expected);
    for (std::size_t i = 0; i < locks.size(); ++i)
        EXPECT_EQ(locks[i]->enabled(), i == 1) << locks[i]->name();
    EXPECT_TRUE(b.form.Command2[2].enabled());
    EXPECT_TRUE(b.form.chkGetFirmwareVersion.enabled());
    EXPECT_TRUE(b.form.Timer1.enabled());
    for (const Label* label : counterList(b.form))
        EXPECT_EQ(label->caption(), "0") << label->name();
}

TEST_F(RunControl, StartWithoutTrackQueriesFirmwareWarnsAndOnlyZeroes) {
    for (auto& check : b.form.Check1)
        check.setValue(0);
    b.form.chkGetFirmwareVersion.setValue(1);
    setAllCounters("7");
    watch(counterList(b.form));
    b.start();

    const auto sent = b.takeTexts();
    ASSERT_EQ(sent.size(), 1u); // the firmware query and nothing else
    EXPECT_EQ(sent[0], std::string("B\x00\x06\x1a\"\x00\x00\x00\x80\xfc", 10));
    EXPECT_EQ(b.bench.alerts.messages, std::vector<std::string>{"Please select track to test!"});
    EXPECT_EQ(b.bench.alerts.titles, std::vector<std::string>{kApplicationTitle});
    EXPECT_EQ(changes, namesOf(counterList(b.form)));
    EXPECT_FALSE(b.form.Timer1.enabled());
    EXPECT_TRUE(b.form.Command2[0].enabled());
    EXPECT_FALSE(b.form.Command2[1].enabled());
    EXPECT_TRUE(b.form.Check1[0].enabled());
    EXPECT_TRUE(b.form.Option1[0].enabled());
}

TEST_F(RunControl, StartWithAGrayedTrackOnlyCountsTickedOnes) {
    b.form.Check1[0].setValue(2);
    b.form.Check1[1].setValue(0);
    b.form.Check1[2].setValue(0);
    b.start();
    EXPECT_EQ(b.bench.alerts.messages.size(), 1u);
    EXPECT_TRUE(b.takeTexts().empty());
    EXPECT_EQ(trackMask(b.form), 0);
}

TEST_F(RunControl, ReadModesSendTheReadCommandAndClearTheData) {
    for (TestMode mode : {TestMode::ReadLoop, TestMode::SingleRead}) {
        EngineBench run;
        run.select(mode);
        run.form.Check1[1].setValue(0); // tracks 1 and 3: the all-tracks read
        run.form.Text1[0].setText("ABC");
        run.start();
        EXPECT_EQ(run.takeTexts(), std::vector<std::string>{"\x1b\""});
        EXPECT_EQ(run.shared.LastCmdRead, kTrue);
        for (int track = 1; track <= 3; ++track)
            EXPECT_EQ(run.data(track), "");
        EXPECT_TRUE(run.form.Timer1.enabled());
    }
}

TEST_F(RunControl, WriteModesPrepareTheDataBeforeTheFirstFrame) {
    const std::pair<TestMode, std::string_view> cases[] = {
        {TestMode::SingleWrite, "2123456789"},
        {TestMode::WriteLoop, "2222222222000000000022222222220000000"}};
    for (const auto& [mode, pattern] : cases) {
        EngineBench run;
        run.select(mode);
        run.form.Option2[0].select(); // "&Not Chage Data": the pattern as it stands
        run.form.Check1[0].setValue(0);
        run.form.Check1[2].setValue(0);
        run.start();
        EXPECT_EQ(run.takeTexts(),
                  (std::vector<std::string>{"\x1b*",
                                            "\x1bt" + std::string(pattern) + "\x1d\x1b\\\x1bj"}));
        EXPECT_EQ(run.shared.LastCmdRead, kFalse);
        EXPECT_EQ(run.form.Text1[0].backColor(), kColorWindowBackground);
    }
}

TEST_F(RunControl, FirstWriteUsesTheTotalsThePreviousRunLeft) {
    b.select(TestMode::SingleWrite);
    b.form.Check1[0].setValue(0);
    b.form.Check1[2].setValue(0);
    b.form.Label1[2].setCaption("5");
    b.start();
    EXPECT_EQ(b.reader.frames, std::vector<std::string>{"21234567895"});
    EXPECT_EQ(b.form.Label1[2].caption(), "0");
}

TEST_F(RunControl, ReadCommandFollowsTheTickedTracks) {
    const char* expected[] = {"ReadT1",   "ReadT2",  "ReadT12", "ReadT3",
                              "ReadT123", "ReadT23", "ReadT123"};
    for (int mask = 1; mask <= 7; ++mask) {
        EngineBench run;
        run.select(TestMode::ReadLoop);
        for (int i = 0; i < 3; ++i)
            run.form.Check1[static_cast<std::size_t>(i)].setValue((mask >> i) & 1);
        run.start();
        EXPECT_EQ(run.takeNames(), std::vector<std::string>{expected[mask - 1]}) << mask;
        run.tick();
        EXPECT_EQ(run.takeNames(),
                  (std::vector<std::string>{"Abandon", "Abandon", expected[mask - 1]}))
            << mask;
    }
}

// Per-loop count texts: the value in use and what the box shows afterwards.
struct PerLoopCase {
    const char* writes;
    const char* reads;
    std::int16_t writesLeft; // after Start sent the first write
    std::int16_t readsLeft;
    const char* writesShown;
    const char* readsShown;
};

TEST_F(RunControl, WriteReadLoopStartLoadsThePerLoopCounts) {
    const PerLoopCase cases[] = {
        {"3", "2", 2, 2, "3", "2"},
        {"2.5", "3.5", 1, 4, "2.5", "3.5"},
        {"abc", "-5", -1, -5, "abc", "-5"},
        {"99999", "-99999", 32766, -32768, "32767", "-32768"},
        {"-32768", "0", -32768, 0, "-32768", "0"},
    };
    for (const auto& c : cases) {
        EngineBench run;
        run.select(TestMode::WriteReadLoop);
        run.perLoop(c.writes, c.reads);
        run.start();
        const auto names = run.takeNames();
        EXPECT_EQ(names, (std::vector<std::string>{"Itrip", "Write"})) << c.writes;
        EXPECT_EQ(run.shared.WritesLeft, c.writesLeft) << c.writes;
        EXPECT_EQ(run.shared.ReadsLeft, c.readsLeft) << c.reads;
        EXPECT_EQ(run.form.tx_WriteTimesPerLoop.text(), c.writesShown);
        EXPECT_EQ(run.form.tx_ReadTimesPerLoop.text(), c.readsShown);
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(run.form.Text1[static_cast<std::size_t>(i)].backColor(), kColorLightYellow);
            EXPECT_EQ(run.form.Text2[static_cast<std::size_t>(i)].backColor(),
                      kColorWindowBackground);
        }
    }
}

TEST_F(RunControl, AbandonStopsUnlocksAndTakesBackTheCutLoop) {
    const std::pair<const char*, const char*> cases[] = {{"5", "4"}, {"0", "0"}, {"1", "0"}};
    for (const auto& [before, after] : cases) {
        EngineBench run;
        run.start();
        run.form.Label1[0].setCaption(before);
        run.form.Text3.setText("V1.");
        run.takeTexts();
        run.abandon();
        EXPECT_EQ(run.takeTexts(), std::vector<std::string>{"\x1b"
                                                            "0"});
        EXPECT_EQ(run.loops(), after);
        EXPECT_EQ(run.form.Text3.text(), "");
        EXPECT_FALSE(run.form.Timer1.enabled());
        for (Control* control : lockList(run.form))
            EXPECT_EQ(control->enabled(), control != &run.form.Command2[1]) << control->name();
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(run.form.Text1[static_cast<std::size_t>(i)].backColor(),
                      kColorWindowBackground);
            EXPECT_EQ(run.form.Text2[static_cast<std::size_t>(i)].backColor(),
                      kColorWindowBackground);
        }
    }
}

TEST_F(RunControl, ResetZeroesLoopAndTotalsOnlyAndResetsTheReader) {
    setAllCounters("7");
    b.form.Command2[2].click();
    EXPECT_EQ(b.takeTexts(), std::vector<std::string>{"\x1b"
                                                      "a"});
    for (const Label* label : counterList(b.form)) {
        const bool zeroed = label == &b.form.Label1[0] || label == &b.form.Label1[1] ||
                            label == &b.form.Label1[2] || label == &b.form.Label1[3];
        EXPECT_EQ(label->caption(), zeroed ? "0" : "7") << label->name();
    }
}

TEST_F(RunControl, OtherCommand2IndexDoesNothing) {
    setAllCounters("7");
    Command2_Click(b.bench.context(), 3);
    Command2_Click(b.bench.context(), -1);
    EXPECT_TRUE(b.takeTexts().empty());
    EXPECT_EQ(b.loops(), "7");
    EXPECT_FALSE(b.form.Timer1.enabled());
}

} // namespace
} // namespace dornal
