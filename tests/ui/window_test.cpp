#include "window_fixture.h"

#include "ui/window_panel.h"

#include <gtest/gtest.h>

#include <limits>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

namespace dornal {
namespace {

using testing::TestWindow;
using Texts = std::vector<std::string>;

const std::string kEsc = "\x1b";

// A row of labels or boxes as one text, "a|b|c|", so that a row is compared at once.
template <typename Row> std::string joined(const Row& controls) {
    std::string text;
    for (const auto& control : controls) {
        if constexpr (requires { control.text(); })
            text += control.text() + '|';
        else
            text += control.caption() + '|';
    }
    return text;
}

// 1 for each enabled control, 0 for each disabled one, in groups: port list, rate list,
// Connect, Disconnect, Start, Reset, Abandon, writes and reads per loop, the cycle timer, the
// firmware check | the modes | the character sets | the write configs | the write strengths |
// the track checks | the track boxes.
std::string enabledMap(const WindowModel& w) {
    std::vector<const Control*> controls{
        &w.portList,        &w.rateList,    &w.connectButton, &w.disconnectButton,
        &w.startButton,     &w.resetButton, &w.abandonButton, &w.writesPerLoopBox,
        &w.readsPerLoopBox, &w.cycleTimer,  &w.firmwareCheck};
    for (const OptionGroup* group :
         {&w.modeOptions, &w.charSetOptions, &w.writeConfigOptions, &w.itripOptions}) {
        controls.push_back(nullptr); // a space between groups
        for (int i = 0; i < group->size(); ++i)
            controls.push_back(&(*group)[i]);
    }
    controls.insert(controls.end(),
                    {nullptr, &w.trackChecks[0], &w.trackChecks[1], &w.trackChecks[2], nullptr,
                     &w.trackBoxes[0], &w.trackBoxes[1], &w.trackBoxes[2]});
    std::string map;
    for (const Control* control : controls)
        map += !control ? ' ' : control->enabled() ? '1' : '0';
    return map;
}
// Loading leaves the track boxes editable, and the default mode enables the write configs.
const std::string kLoaded = "11100000001 00000 0000 111 111 000 111";
const std::string kConnected = "00011101101 11111 1111 111 111 111 111";

// A window and its panel, without a controller: no entry rules are bound.
struct PanelOnly {
    WindowModel window;
    testing::RecordingAlerts alerts;
    WindowPanel panel{window, alerts};
};

TEST(WindowPanel, ReadsTheChoicesAndPerLoopCountsHeldTo16BitsShowingTheHeldValue) {
    PanelOnly p;
    EXPECT_FALSE(p.panel.mode() || p.panel.writeConfig() || p.panel.charSet() || p.panel.itrip());
    p.window.trackCheck(2).setValue(2); // grayed is neither ticked nor wanted
    p.window.trackCheck(3).setValue(1);
    p.window.firmwareCheck.setValue(2);
    EXPECT_EQ(p.panel.tickedTracks(), 0b100);
    EXPECT_FALSE(p.panel.firmwareWanted());
    p.window.firmwareCheck.setValue(1);
    EXPECT_TRUE(p.panel.firmwareWanted());
    const std::tuple<const char*, const char*, int, int, const char*> cases[] = {
        {"99999", "-40000", 32767, -32768, "32767|-32768"}, {"abc", "2.5", 0, 2, "abc|2.5"}};
    for (const auto& [writesText, readsText, writes, reads, shownAfter] : cases) {
        p.window.writesPerLoopBox.setText(writesText);
        p.window.readsPerLoopBox.setText(readsText);
        const LoopCounts counts = p.panel.loopCounts();
        EXPECT_EQ(std::pair(int{counts.writes}, int{counts.reads}), std::pair(writes, reads));
        EXPECT_EQ(p.window.writesPerLoopBox.text() + '|' + p.window.readsPerLoopBox.text(),
                  shownAfter);
    }
}

TEST(WindowPanel, ShowsCountersExactlyAndTheTexts) {
    PanelOnly p;
    WindowModel& w = p.window;
    p.panel.showCounters(
        {std::numeric_limits<std::uint64_t>::max(), {1, 2, 3}, {4, 5, 6}, {7, 8, 9}});
    EXPECT_EQ(w.loopCountLabel.caption(), "18446744073709551615");
    EXPECT_EQ(joined(w.totalLabels) + joined(w.writeCountLabels) + joined(w.readCountLabels),
              "1|2|3|4|5|6|7|8|9|");
    const std::string longText(300, '7'); // read-back and firmware boxes have no maximum
    p.panel.setBoxText(Row::ReadBack, 2, longText);
    p.panel.setBoxText(Row::Data, 3, "=>");
    p.panel.showFirmware(longText);
    EXPECT_EQ(joined(w.trackBoxes) + joined(w.readBackBoxes) + w.firmwareBox.text(),
              "||=>||" + longText + "||" + longText);
    p.panel.tellOperator("Select a track");
    EXPECT_EQ(p.alerts.messages.at(0) + '|' + p.alerts.titles.at(0), "Select a track|Dornal Test");
}

TEST(WindowPanel, PaintsTheRowAtWorkLightYellow) {
    PanelOnly p;
    for (const auto& [phase, data, readBack] :
         {std::tuple{Phase::Writing, kColorLightYellow, kColorWindowBackground},
          {Phase::Reading, kColorWindowBackground, kColorLightYellow},
          {Phase::Idle, kColorWindowBackground, kColorWindowBackground}}) {
        p.panel.showPhase(phase);
        for (std::size_t i = 0; i < 3; ++i)
            EXPECT_EQ(std::pair(p.window.trackBoxes[i].backColor(),
                                p.window.readBackBoxes[i].backColor()),
                      std::pair(data, readBack));
    }
}

// A window bound to its controller but not loaded yet.
struct UnloadedWindow {
    WindowModel window;
    testing::RecordingAlerts alerts;
    MemoryLine line;
    WindowController controller{window, alerts, line};
};

TEST(WindowLoad, SetsListsDefaultsAndTheStateOfEveryControlWithoutTouchingTheLine) {
    UnloadedWindow u;
    WindowModel& w = u.window;
    // Whatever the controls held before, loading decides their state.
    w.connectButton.setEnabled(false);
    w.loopCountLabel.setCaption("7");
    w.statusLabel.setCaption("7");
    w.trackBox(1).setText("AB");
    w.readBackBox(2).setText("12");
    w.firmwareBox.setText("V1");
    u.controller.load();
    for (PushButton* button : {&w.startButton, &w.resetButton, &w.disconnectButton})
        button->click(); // disabled: nothing happens
    w.cycleTimer.tick();

    EXPECT_EQ(w.portList.items(),
              (Texts{"COM 1", "COM 2", "COM 3", "COM 4", "COM 5", "COM 6", "COM 7", "COM 8"}));
    EXPECT_EQ(w.rateList.items(),
              (Texts{"1200", "2400", "4800", "9600", "19200", "38400", "57600", "115200"}));
    EXPECT_EQ(w.portList.text() + '|' + w.rateList.text(), "COM 1|9600");
    EXPECT_EQ(enabledMap(w), kLoaded);
    EXPECT_EQ(std::tuple(w.modeOptions.selectedIndex(), w.writeConfigOptions.selectedIndex(),
                         w.charSetOptions.selectedIndex(), w.itripOptions.selectedIndex()),
              std::tuple(4, 1, 3, 0));
    EXPECT_TRUE(w.trackCheck(1).ticked() && w.trackCheck(2).ticked() && w.trackCheck(3).ticked());
    EXPECT_EQ(w.firmwareCheck.value(), 0);
    EXPECT_EQ(w.writesPerLoopBox.text() + '|' + w.readsPerLoopBox.text(), "1|1");
    EXPECT_EQ(w.firmwareBox.backColor(), kColorScrollBars);
    EXPECT_TRUE(w.trackBox(3).height() == 495 && w.readBackBox(3).visible());
    EXPECT_EQ(joined(w.trackBoxes) + joined(w.readBackBoxes) + w.firmwareBox.text(), "||||||");
    for (const auto* row :
         {&w.lengthLabels, &w.totalLabels, &w.writeCountLabels, &w.readCountLabels})
        EXPECT_EQ(joined(*row), "0|0|0|");
    EXPECT_EQ(w.loopCountLabel.caption() + w.statusLabel.caption(), "0");
    EXPECT_TRUE(u.line.writes.empty() && !u.line.isOpen() && u.alerts.beeps == 0);
}

// Only the last character is examined; a run of refused ones goes one nested change at a time.
TEST(TrackEntry, RemovesARefusedLastCharacterWithOneBeepMovesTheCaretAndShowsTheLength) {
    const std::tuple<int, const char*, const char*, int> cases[] = {
        {1, "AB%", "AB", 1},       {1, "AB\r\n", "AB", 2}, {1, "a", "", 1},
        {2, "12;", "12", 1},       {2, "ab12", "ab12", 0}, {3, "12A", "12", 1},
        {3, "0:<=>'", "0:<=>'", 0}};
    for (const auto& [track, typed, kept, beeps] : cases) {
        TestWindow t;
        TextBox& box = t.window.trackBox(track);
        box.edit(typed, 0);
        EXPECT_EQ(box.text() + '|' + t.window.lengthLabel(track).caption(),
                  std::string(kept) + '|' + std::to_string(std::string_view(kept).size()));
        EXPECT_EQ(t.alerts.beeps, beeps) << typed;
        EXPECT_EQ(static_cast<std::size_t>(box.caret()), beeps > 0 ? box.text().size() : 0u);
    }
}

TEST(TrackEntry, CutsDataToTheTrackMaximumAndUntickingEmptiesOnlyThatTrack) {
    TestWindow t;
    WindowModel& w = t.window;
    for (auto& box : w.trackBoxes)
        box.setText(std::string(200, '1'));
    EXPECT_EQ(joined(w.lengthLabels), "76|37|107|");
    w.trackCheck(3).setValue(2); // grayed is not unticked
    w.trackCheck(2).setValue(0);
    EXPECT_EQ(joined(w.lengthLabels), "76|0|107|");
    w.trackBox(2).setText("12");
    w.trackCheck(2).setValue(1); // ticking keeps the data
    EXPECT_EQ(w.trackBox(2).text(), "12");
}

TEST(ConnectAndDisconnect, SwapTheLockedControlsAndConnectSendsResetThenTheCharSet) {
    TestWindow t;
    WindowModel& w = t.window;
    w.portList.setListIndex(7);
    w.rateList.setListIndex(0);
    w.totalLabels[0].setCaption("5");
    w.trackBox(1).setText("AB");
    t.line.existingPorts.erase(8);
    w.connectButton.click();
    EXPECT_EQ(t.alerts.beeps, 3);
    EXPECT_EQ(t.alerts.messages, (Texts{"Open COM Port Fail!"}));
    EXPECT_EQ(t.alerts.titles, (Texts{"Dornal Test"}));
    EXPECT_EQ(enabledMap(w), kLoaded);
    EXPECT_TRUE(t.line.writes.empty() && !t.line.isOpen());

    t.line.existingPorts.insert(8);
    t.line.feed("stale");
    w.abandonButton.setEnabled(true); // as during a run
    w.connectButton.click();
    EXPECT_EQ(enabledMap(w), kConnected);
    EXPECT_EQ(std::pair(t.line.port(), t.line.baudRate()), std::pair(8, 1200));
    EXPECT_EQ(t.line.writes, (Texts{kEsc + "a", kEsc + "="}));
    EXPECT_EQ(t.line.pending(), 0u);
    // Connecting zeroes the counters and the lengths shown, though the data stay.
    EXPECT_EQ(w.totalLabels[0].caption() + w.lengthLabel(1).caption() + w.trackBox(1).text(),
              "00AB");

    w.totalLabels[0].setCaption("4");
    w.abandonButton.setEnabled(true);
    w.disconnectButton.click();
    EXPECT_EQ(enabledMap(w), "11100000001 00000 0000 000 111 000 000");
    EXPECT_EQ(joined(w.trackBoxes) + w.totalLabels[0].caption(), "|||4");
    EXPECT_FALSE(t.line.isOpen());

    w.portList.setListIndex(-1); // no port chosen: port 0, which does not open
    w.connectButton.click();
    EXPECT_EQ(t.alerts.beeps, 6);
    w.portList.setListIndex(2);
    w.rateList.edit("12345"); // no entry: the rate chosen last stays
    w.connectButton.click();
    EXPECT_EQ(std::pair(t.line.port(), t.line.baudRate()), std::pair(3, 1200));
    t.controller.unload();
    EXPECT_FALSE(t.line.isOpen());
}

TEST(ModeClick, WriteConfigFollowsWritingAndOnlyTheLoopShowsReadBack) {
    // {mode, write config enabled, read-back shown}; each step changes the write config.
    const std::tuple<int, bool, bool> steps[] = {{1, false, false}, {4, true, true},
                                                 {3, false, false}, {2, true, false},
                                                 {1, false, false}, {0, true, false}};
    TestWindow t;
    for (const auto& [mode, writeConfig, readBack] : steps) {
        t.window.modeOptions[mode].select();
        for (int track = 1; track <= 3; ++track) {
            EXPECT_EQ(t.window.writeConfigOptions[track - 1].enabled(), writeConfig) << mode;
            EXPECT_EQ(t.window.trackBox(track).height(), readBack ? 495 : 975) << mode;
            EXPECT_EQ(t.window.readBackBox(track).visible(), readBack) << mode;
        }
    }
}

TEST(CharSetAndItripClick, SendTheirCommandAndTheCharSetEmptiesTracks2And3) {
    TestWindow t;
    t.connect();
    for (int index = 0; index < 4; ++index) {
        for (auto& box : t.window.trackBoxes)
            box.setText("12");
        t.window.charSetOptions[index].select();
        EXPECT_EQ(joined(t.window.trackBoxes) + joined(t.window.lengthLabels), "12|||2|0|0|");
    }
    for (int index : {2, 1, 0})
        t.window.itripOptions[index].select();
    EXPECT_EQ(t.line.writes, (Texts{kEsc + "'", kEsc + "O", kEsc + "N", kEsc + "=", kEsc + ",",
                                    kEsc + "+", kEsc + "*"}));
}

TEST(WindowController, AFaultInAHandlerIsShownInTheStatusAndGoesNoFurther) {
    TestWindow t;
    t.connect();
    t.line.onWrite = [](std::string_view) { throw std::runtime_error("line gone"); };
    EXPECT_NO_THROW(t.window.itripOptions[1].select());
    EXPECT_EQ(t.window.statusLabel.caption(), "Internal fault: line gone");
}

TEST(WindowController, SingleWriteOfTrack2RunsFromStartToTheCountedAnswer) {
    TestWindow t;
    WindowModel& w = t.window;
    t.connect();
    w.modeOptions[2].select();
    w.trackCheck(1).setValue(0);
    w.trackCheck(3).setValue(0);
    w.startButton.click();
    EXPECT_EQ(t.line.writes.front(), kEsc + "*"); // the write strength chosen at load goes first
    EXPECT_EQ(enabledMap(w), "00010110011 00000 0000 000 000 000 111");
    t.line.feed("\x1brp");
    w.cycleTimer.tick();
    EXPECT_EQ(joined(w.writeCountLabels) + joined(w.totalLabels), "0|1|0|0|1|0|");
    EXPECT_EQ(w.statusLabel.caption(), "1B 72 70- 0");
    // A single action leaves the write strength locked until a run is abandoned.
    EXPECT_EQ(enabledMap(w), "00011101101 11111 1111 111 000 111 111");
    w.startButton.click();
    w.abandonButton.click();
    EXPECT_EQ(t.line.writes.back(), kEsc + "0");
    EXPECT_EQ(enabledMap(w), kConnected);
    w.resetButton.click();
    EXPECT_EQ(t.line.writes.back(), kEsc + "a");
}

} // namespace
} // namespace dornal
