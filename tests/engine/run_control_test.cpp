#include "engine/run_control.h"
#include "engine_bench.h"

#include <gtest/gtest.h>

namespace dornal {
namespace {

using testing::EngineBench;
using Texts = std::vector<std::string>;

// The controls Start locks, then the thirteen displays it zeroes, each in its order.
std::vector<Control*> lockList(Form1& f) {
    std::vector<Control*> list{&f.Command2[0], &f.Command2[1], &f.Check1[0], &f.Check1[1],
                               &f.Check1[2]};
    for (OptionGroup* group : {&f.Option1, &f.Option2, &f.Option3, &f.Option4})
        for (int i = 0; i < group->size(); ++i)
            list.push_back(&(*group)[i]);
    list.insert(list.begin() + 13, {&f.tx_WriteTimesPerLoop, &f.tx_ReadTimesPerLoop});
    return list;
}
std::vector<Control*> counterList(Form1& f) {
    return {&f.Label1[0],         &f.Label1[1],        &f.Label1[2],         &f.Label1[3],
            &f.lb_T1WriteCounter, &f.lb_T1ReadCounter, &f.lb_T2WriteCounter, &f.lb_T2ReadCounter,
            &f.lb_T3WriteCounter, &f.lb_T3ReadCounter, &f.Label3[0],         &f.Label3[1],
            &f.Label3[2]};
}

void setAll(const std::vector<Control*>& labels, std::string_view value) {
    for (Control* label : labels)
        static_cast<Label*>(label)->setCaption(value);
}

void expectCaptions(const std::vector<Control*>& labels, const Texts& captions) {
    for (std::size_t i = 0; i < labels.size(); ++i)
        EXPECT_EQ(static_cast<Label*>(labels[i])->caption(), captions[i]) << labels[i]->name();
}

void expectUnlocked(Form1& f) {
    for (Control* control : lockList(f))
        EXPECT_EQ(control->enabled(), control != &f.Command2[1]) << control->name();
    EXPECT_FALSE(f.Timer1.enabled());
}

TEST(RunControl, StartLocksInOrderThenZeroesAbandonUnlocksAndTakesBackTheCutLoop) {
    EngineBench b;
    b.select(TestMode::WriteLoop);
    b.form.Option2[0].select(); // the data stay as they are: only the counters change
    for (auto& box : b.form.Text1)
        box.setText("1234567");
    auto watched = lockList(b.form);
    const auto counters = counterList(b.form);
    watched.insert(watched.end(), counters.begin(), counters.end());
    setAll(counters, "7");
    Texts changes, expected;
    for (Control* control : watched) {
        control->addListener([&changes, control] { changes.push_back(control->name()); });
        expected.push_back(control->name());
    }
    b.start();
    EXPECT_EQ(changes, expected);
    for (Control* control : lockList(b.form))
        EXPECT_EQ(control->enabled(), control == &b.form.Command2[1]) << control->name();
    EXPECT_TRUE(b.form.Command2[2].enabled());
    EXPECT_TRUE(b.form.Timer1.enabled());
    expectCaptions(counters, Texts(13, "0"));

    b.form.Label1[0].setCaption("5");
    b.form.Text3.setText("V1.");
    b.takeTexts();
    for (const char* loops : {"4", "3", "2", "1", "0", "0"}) {
        Command2_Click(b.bench.context(), 1); // the button is disabled after the first

        EXPECT_EQ(b.takeNames(), Texts{"Abandon"});
        EXPECT_EQ(b.loops(), loops);
    }
    EXPECT_EQ(b.form.Text3.text(), "");
    expectUnlocked(b.form);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(b.form.Text1[i].backColor(), kColorWindowBackground);
        EXPECT_EQ(b.form.Text2[i].backColor(), kColorWindowBackground);
    }
}

TEST(RunControl, StartWithoutATickedTrackQueriesTheFirmwareWarnsAndOnlyZeroes) {
    EngineBench b;
    b.ticks({2, 0, 0}); // grayed is not ticked
    b.form.chkGetFirmwareVersion.setValue(1);
    setAll(counterList(b.form), "7");
    b.start();
    EXPECT_EQ(b.takeTexts(), Texts{std::string("B\x00\x06\x1a\"\x00\x00\x00\x80\xfc", 10)});
    EXPECT_EQ(b.bench.alerts.messages, Texts{"Please select track to test!"});
    EXPECT_EQ(b.bench.alerts.titles, Texts{kApplicationTitle});
    expectCaptions(counterList(b.form), Texts(13, "0"));
    expectUnlocked(b.form);
}

TEST(RunControl, ReadModesSendTheReadOfTheTickedTracksAndClearTheData) {
    const char* reads[] = {"ReadT1",   "ReadT2",  "ReadT12", "ReadT3",
                           "ReadT123", "ReadT23", "ReadT123"};
    for (int mask = 1; mask <= 7; ++mask) {
        EngineBench b;
        const bool loop = mask % 2 == 1;
        b.select(loop ? TestMode::ReadLoop : TestMode::SingleRead);
        b.ticks({mask & 1, (mask >> 1) & 1, (mask >> 2) & 1});
        b.form.Text1[0].setText("ABC");
        b.start();
        EXPECT_EQ(b.takeNames(), Texts{reads[mask - 1]}) << mask;
        EXPECT_EQ(b.shared.LastCmdRead, kTrue);
        EXPECT_EQ(b.data(1), "");
        b.tick();
        EXPECT_EQ(b.takeNames(), (loop ? Texts{"Abandon", "Abandon", reads[mask - 1]} : Texts{}))
            << mask;
    }
}

TEST(RunControl, WriteModesPrepareTheDataFromTheTotalThePreviousRunLeft) {
    const struct {
        TestMode mode;
        int writeConfig;
        std::string frame;
    } cases[] = {
        {TestMode::SingleWrite, 0, "2123456789"},
        {TestMode::WriteLoop, 0, "2222222222000000000022222222220000000"},
        {TestMode::SingleWrite, 1, "21234567895"},
    };
    for (const auto& c : cases) {
        EngineBench b;
        b.select(c.mode);
        b.form.Option2[c.writeConfig].select();
        b.ticks({0, 1, 0});
        b.form.Label1[2].setCaption("5");
        b.start();
        EXPECT_EQ(b.takeTexts(), (Texts{"\x1b*", "\x1bt" + c.frame + testing::kTrailer}));
        EXPECT_EQ(b.shared.LastCmdRead, kFalse);
        EXPECT_EQ(b.form.Label1[2].caption(), "0");
    }
}

TEST(RunControl, WriteReadLoopStartLoadsThePerLoopCounts) {
    const struct {
        const char *writes, *reads;
        std::int16_t writesLeft, readsLeft; // after the first write
        const char* writesShown;
    } cases[] = {
        {"3", "2", 2, 2, "3"},
        {"2.5", "3.5", 1, 4, "2.5"},
        {"abc", "-5", -1, -5, "abc"},
        {"99999", "-99999", 32766, -32768, "32767"},
    };
    for (const auto& c : cases) {
        EngineBench b;
        b.select(TestMode::WriteReadLoop);
        b.perLoop(c.writes, c.reads);
        b.start();
        EXPECT_EQ(b.takeNames(), (Texts{"Itrip", "Write"})) << c.writes;
        EXPECT_EQ(b.shared.WritesLeft, c.writesLeft) << c.writes;
        EXPECT_EQ(b.shared.ReadsLeft, c.readsLeft) << c.reads;
        EXPECT_EQ(b.form.tx_WriteTimesPerLoop.text(), c.writesShown);
    }
}

TEST(RunControl, ResetZeroesLoopAndTotalsOnlyAndResetsTheReader) {
    EngineBench b;
    setAll(counterList(b.form), "7");
    b.form.Command2[2].click();
    EXPECT_EQ(b.takeNames(), Texts{"ResetReader"});
    Texts captions(13, "7");
    std::fill_n(captions.begin(), 4, "0");
    expectCaptions(counterList(b.form), captions);
}

} // namespace
} // namespace dornal
