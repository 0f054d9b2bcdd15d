// What the operator does while a step waits for the reader happens right after that step, as if
// it had been done between two steps: the same bytes on the line, the same counters, the same
// controls. Each row makes one action at every wait of a step (the drains, the ready wait, an
// answer that is still arriving) and compares with the action made once the step has ended.
#include "window_fixture.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace dornal {
namespace {

using testing::TestWindow;

constexpr char kEsc = '\033';

// A reader that answers a write frame "track 2 written", the ready check "y", a read command
// with track 2 read back as "42". An answer's first bytes wait at once, its rest comes later,
// so that a tick waits for it; the "y" comes later too.
void answerInTwoPieces(MemoryLine& line) {
    line.onWrite = [&line](std::string_view bytes) {
        if (bytes.size() < 2 || bytes[0] != kEsc)
            return;
        if (bytes[1] == 't') {
            line.feed(std::string{kEsc, 'r'});
            line.feedLater("p");
        } else if (bytes[1] == 'e') {
            line.feedLater("y");
        } else if (bytes[1] == ']') {
            line.feed(std::string{kEsc, 's', '4'});
            line.feedLater("2\177?");
        }
    };
}

struct Action {
    const char* name;
    std::function<void(WindowModel&)> make;
};

const Action kActions[] = {
    {"Abandon", [](WindowModel& w) { w.abandonButton.click(); }},
    {"Reset Counter", [](WindowModel& w) { w.resetButton.click(); }},
    {"Disconnect", [](WindowModel& w) { w.disconnectButton.click(); }},
    {"typing",
     [](WindowModel& w) {
         const std::string typed = w.trackBox(2).text() + "5";
         w.trackBox(2).edit(typed, static_cast<int>(typed.size()));
     }},
    {"a character set", [](WindowModel& w) { w.charSetOptions[1].click(); }},
    {"a write strength", [](WindowModel& w) { w.itripOptions[2].click(); }},
    {"Abandon then Start",
     [](WindowModel& w) {
         w.abandonButton.click();
         w.startButton.click();
     }},
};

// What the line carried and what the window shows.
std::string seen(TestWindow& t) {
    WindowModel& w = t.window;
    std::string text;
    for (const std::string& bytes : t.line.writes)
        text += bytes + '|';
    text += " loops " + w.loopCountLabel.caption();
    for (int track = 1; track <= 3; ++track) {
        const std::size_t i = trackIndex(track);
        text += " " + w.totalLabels[i].caption() + '/' + w.writeCountLabels[i].caption() + '/' +
                w.readCountLabels[i].caption();
    }
    text += " data " + w.trackBox(2).text() + " back " + w.readBackBox(2).text();
    text += " status " + w.statusLabel.caption();
    const std::vector<const Control*> controls = {
        &w.startButton, &w.abandonButton, &w.connectButton, &w.cycleTimer, &w.charSetOptions[1]};
    for (const Control* c : controls)
        text += c->enabled() ? '1' : '0';
    text += " char set " + std::to_string(w.charSetOptions.selectedIndex());
    text += " strength " + std::to_string(w.itripOptions.selectedIndex());
    return text;
}

// A run of `mode` on track 2, its first answers taken; then one more tick's step, with the
// action made at its wait number `at`, or once it has ended when `at` is -1. The waits the
// step went through are counted into `waits`.
std::string actDuring(Mode mode, int ticksBefore, const Action& action, int at, int& waits) {
    TestWindow t;
    WindowModel& w = t.window;
    answerInTwoPieces(t.line);
    t.connect();
    w.trackCheck(1).setValue(0);
    w.trackCheck(3).setValue(0);
    w.trackBox(2).setText("2");
    w.modeOptions[static_cast<int>(mode)].select();
    w.startButton.click();
    for (int i = 0; i < ticksBefore; ++i)
        w.cycleTimer.tick();
    t.line.clearRecord();

    t.line.holdWaits = true;
    bool acted = false;
    bool tickEnded = false;
    // Between steps: right as the tick's step has ended, before anything held runs.
    t.controller.afterStep = [&] {
        if (tickEnded)
            return;
        tickEnded = true;
        if (at < 0) {
            acted = true;
            action.make(w);
        }
    };
    w.cycleTimer.tick();
    waits = 0;
    while (t.line.waitOpen()) {
        if (!tickEnded) {
            if (waits == at) {
                acted = true;
                action.make(w);
            }
            ++waits;
        }
        t.line.endWait();
    }
    EXPECT_FALSE(t.controller.stepInProgress() || w.input.holding());
    return seen(t);
}

TEST(StepOrder, AnActionDuringAStepTakesEffectRightAfterItAsIfMadeBetweenSteps) {
    // The mode, the answers its run takes before the step under test, and the waits of that
    // step: a write loop's tick (its answer, ReadyCheck's drain, the "y", the drains of Abandon,
    // the write strength and the frame), the write/read loop's first read and its next write, a
    // read loop's read, a single write's answer.
    const std::tuple<Mode, int, int> steps[] = {
        {Mode::WriteLoop, 1, 6}, {Mode::WriteReadLoop, 0, 3}, {Mode::WriteReadLoop, 1, 6},
        {Mode::ReadLoop, 1, 4},  {Mode::SingleWrite, 0, 1},
    };
    for (const auto& [mode, ticksBefore, stepWaits] : steps) {
        for (const Action& action : kActions) {
            SCOPED_TRACE(std::string(action.name) + " in mode " +
                         std::to_string(static_cast<int>(mode)) + " after " +
                         std::to_string(ticksBefore) + " ticks");
            int waits = 0;
            const std::string between = actDuring(mode, ticksBefore, action, -1, waits);
            EXPECT_EQ(waits, stepWaits);
            for (int at = 0; at < waits; ++at) {
                int again = 0;
                EXPECT_EQ(actDuring(mode, ticksBefore, action, at, again), between)
                    << "made at wait " << at;
                EXPECT_EQ(again, waits) << "the action cut into the step at wait " << at;
            }
        }
    }
}

// Clicks held while Connect waits count once it has ended, in the order they were made: an
// option does not show as chosen before then, and what Connect unlocks takes the click.
TEST(StepOrder, ClicksHeldDuringConnectCountInTheOrderTheyWereMadeOnceItHasEnded) {
    TestWindow t;
    WindowModel& w = t.window;
    t.line.holdWaits = true;
    w.connectButton.click();
    ASSERT_TRUE(t.line.waitOpen()) << "Connect drains the new line first";
    w.itripOptions[1].click();
    w.modeOptions[2].click();
    w.writeConfigOptions[0].click();
    w.startButton.click();
    EXPECT_EQ(std::tuple(w.itripOptions.selectedIndex(), w.writeConfigOptions.selectedIndex(),
                         w.modeOptions.selectedIndex(), w.startButton.enabled()),
              std::tuple(0, 1, 4, false));
    while (t.line.waitOpen())
        t.line.endWait();
    EXPECT_EQ(std::tuple(w.itripOptions.selectedIndex(), w.writeConfigOptions.selectedIndex(),
                         w.modeOptions.selectedIndex(), w.abandonButton.enabled()),
              std::tuple(1, 0, 2, true));
    std::string sent;
    for (const std::string& bytes : t.line.writes)
        sent += bytes.substr(1) + '|';
    // The reset and the character set, the strength clicked, then the single write with it.
    EXPECT_EQ(sent.substr(0, 41), "a|=|+|+|t2123456789A3123456789~1123456789");
}

} // namespace
} // namespace dornal
