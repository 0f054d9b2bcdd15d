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
using namespace std::string_literals;

// Counts the changes controls report: the view redraws a control only when told.
struct Heard {
    int count = 0;
    explicit Heard(std::initializer_list<Control*> controls) {
        for (Control* control : controls)
            control->addListener([this] { ++count; });
    }
};

TEST(TextBox, CutsTextToItsMaximumRaisesOnChangeNestedBeforeReturningAndDropsTheExcessOfAnEdit) {
    TextBox box{5, 495, true};
    Heard heard{&box};
    std::vector<std::string> seen;
    box.onChange = [&] {
        seen.push_back(box.text());
        if (box.text().back() == 'x') // shortens the text again, one level deeper
            box.setText(box.text().substr(0, box.text().size() - 1));
    };
    box.setText("abxxxyz");
    EXPECT_EQ(std::pair(seen, box.caret()),
              std::pair(std::vector<std::string>{"abxxx", "abxx", "abx", "ab"}, 0));
    box.setCaret(9);  // held at the end of "ab"
    box.setText("a"); // a shorter text takes the caret with it
    box.setBackColor(kColorLightYellow);
    box.setHeight(975);
    box.setVisible(false);
    EXPECT_EQ(std::pair(box.caret(), heard.count), std::pair(1, 9));
    // A full box refuses a typed character and a paste is cut to what fits; the rest of the old
    // text stays. An old text already too long keeps its head.
    // {text before, text and caret the edit left, text and caret kept}, at most 5 characters
    const std::tuple<const char*, const char*, int, const char*, int> edits[] = {
        {"", "abcdefg", 7, "abcde", 5},         {"abcde", "abcdeX", 6, "abcde", 5},
        {"abcde", "abXcde", 3, "abcde", 2},     {"aaaaa", "aaaaaa", 1, "aaaaa", 0},
        {"abc", "abXYZc", 5, "abXYc", 4},       {"abcde", "a123456e", 7, "a123e", 4},
        {"abcdefg", "abXcdefg", 3, "abcde", 2}, {"ab", "b", -3, "b", 0}};
    for (const auto& [before, edited, caret, kept, keptCaret] : edits) {
        const FittedEdit fitted = fitToMaxLength(before, edited, caret, 5);
        EXPECT_EQ(std::pair(fitted.text, fitted.caret), std::pair(std::string(kept), keptCaret));
    }
}

TEST(OptionGroupCheckAndComboBox, RaiseTheirClickOnEverySelectionAndEveryValueChange) {
    OptionGroup group{"a", "b", "c"};
    CheckBox check{"Track &1"};
    Heard heard{&group[0], &group[1], &group[2], &check};
    std::string clicks;
    group.onClick = [&](int index) { clicks += std::to_string(index); };
    check.onClick = [&] { clicks += check.ticked() ? "t" : "v" + std::to_string(check.value()); };
    group[2].select();
    group[0].setValue(true);
    group[0].select();
    group[0].setValue(false); // clearing raises nothing
    for (int value : {1, 1, 2, 0})
        check.setValue(value);
    group.setEnabled(false);
    // The indexes, then ticked, grayed and unchecked; five stores and clears, three values,
    // three buttons disabled.
    EXPECT_EQ(std::tuple(group.selectedIndex(), clicks, heard.count),
              std::tuple(-1, "200tv2v0"s, 11));
    // Typed text selects the equal entry, a position outside the list none.
    ComboBox combo;
    const int none = combo.listIndex();
    combo.addItem("1200");
    combo.addItem("9600");
    combo.edit("1200");
    const int typedEntry = combo.listIndex();
    combo.edit("4800");
    const int otherText = combo.listIndex();
    combo.setListIndex(2); // one past the last entry
    EXPECT_EQ(std::tuple(none, typedEntry, otherText, combo.listIndex(), combo.text()),
              std::tuple(-1, 0, -1, -1, "4800"s));
}

const std::string kEsc = "\x1b";

// A row of labels or boxes as one text, "a|b|c|", so that a row is compared at once.
template <typename Row> std::string joined(const Row& controls) {
    std::string text;
    for (const auto& control : controls)
        if constexpr (requires { control.text(); })
            text += control.text() + '|';
        else
            text += control.caption() + '|';
    return text;
}

// 1 for each enabled control, 0 for each disabled one, in groups: port list, rate list,
// Connect, Disconnect, Start, Reset, Abandon, writes and reads per loop, the cycle timer, the
// firmware check | the modes | the character sets | the write configs | the write strengths |
// the track checks | the track boxes.
std::string enabledMap(const WindowModel& w) {
    std::string map;
    const auto add = [&map](std::initializer_list<const Control*> controls) {
        for (const Control* control : controls) // a space between groups
            map += !control ? ' ' : control->enabled() ? '1' : '0';
    };
    add({&w.portList, &w.rateList, &w.connectButton, &w.disconnectButton, &w.startButton,
         &w.resetButton, &w.abandonButton, &w.writesPerLoopBox, &w.readsPerLoopBox, &w.cycleTimer,
         &w.firmwareCheck});
    for (const OptionGroup* group :
         {&w.modeOptions, &w.charSetOptions, &w.writeConfigOptions, &w.itripOptions}) {
        add({nullptr});
        for (int i = 0; i < group->size(); ++i)
            add({&(*group)[i]});
    }
    add({nullptr, &w.trackChecks[0], &w.trackChecks[1], &w.trackChecks[2], nullptr,
         &w.trackBoxes[0], &w.trackBoxes[1], &w.trackBoxes[2]});
    return map;
}
// Loading leaves the track boxes editable, and the default mode enables the write configs.
const std::string kLoaded = "11100000001 00000 0000 111 111 000 111";
const std::string kConnected = "00011101101 11111 1111 111 111 111 111";
const std::string kDisconnected = "11100000001 00000 0000 000 111 000 000";

// 0x0080FFFF: red 255, green 255, blue 128; 0x80000005: the window background system colour.
constexpr unsigned kYellow = 0x0080FFFF, kWindowColor = 0x80000005;

TEST(WindowPanel, ReadsTicksAndCountsHeldTo16BitsShowsCountersAndTextsPaintsTheRowAtWork) {
    TestWindow t;
    WindowPanel panel{t.window, t.alerts};
    WindowModel& w = t.window;
    w.trackCheck(2).setValue(2); // grayed is neither ticked nor wanted
    const TrackSet withTrack1 = panel.tickedTracks();
    w.trackCheck(1).setValue(0);
    w.firmwareCheck.setValue(2);
    const bool grayedWanted = panel.firmwareWanted();
    w.firmwareCheck.setValue(1);
    EXPECT_EQ(std::tuple(withTrack1, panel.tickedTracks(), grayedWanted, panel.firmwareWanted()),
              std::tuple(TrackSet{0b101}, TrackSet{0b100}, false, true));
    const std::tuple<const char*, const char*, int, int, const char*> cases[] = {
        {"99999", "-40000", 32767, -32768, "32767|-32768"}, {"abc", "2.5", 0, 2, "abc|2.5"}};
    for (const auto& [writesText, readsText, writes, reads, shownAfter] : cases) {
        w.writesPerLoopBox.edit(writesText, 0); // typed into boxes without a maximum
        w.readsPerLoopBox.edit(readsText, 0);
        const LoopCounts counts = panel.loopCounts();
        EXPECT_EQ(std::tuple(int{counts.writes}, int{counts.reads},
                             w.writesPerLoopBox.text() + '|' + w.readsPerLoopBox.text()),
                  std::tuple(writes, reads, std::string(shownAfter)));
    }
    // Past 16 and 32 bits, each count is shown exactly.
    panel.showCounters({std::numeric_limits<std::uint64_t>::max(),
                        {65536, std::uint64_t{1} << 32, 3},
                        {4, 5, 6},
                        {7, 8, 9}});
    const std::string longText(300, '7'); // read-back and firmware boxes have no maximum
    for (int track = 1; track <= 3; ++track)
        panel.setBoxText(Row::ReadBack, track, longText);
    panel.setBoxText(Row::Data, 3, "=>");
    panel.showFirmware(longText);
    panel.tellOperator("Select a track");
    EXPECT_EQ(w.loopCountLabel.caption() + '|' + joined(w.totalLabels) +
                  joined(w.writeCountLabels) + joined(w.readCountLabels) + joined(w.trackBoxes) +
                  joined(w.readBackBoxes) + w.firmwareBox.text() + '|' + t.alerts.messages.at(0) +
                  '|' + t.alerts.titles.at(0),
              "18446744073709551615|65536|4294967296|3|4|5|6|7|8|9|||=>|" + longText + "|" +
                  longText + "|" + longText + "|" + longText + "|Select a track|Dornal Test");
    for (const auto& [phase, data, readBack] : {std::tuple{Phase::Writing, kYellow, kWindowColor},
                                                {Phase::Reading, kWindowColor, kYellow},
                                                {Phase::Idle, kWindowColor, kWindowColor}}) {
        panel.showPhase(phase);
        for (std::size_t i = 0; i < 3; ++i)
            EXPECT_EQ(std::pair(w.trackBoxes[i].backColor(), w.readBackBoxes[i].backColor()),
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

    // The modes, write configs, character sets and strengths chosen, the ticks, the per-loop
    // counts, the firmware box in the scroll-bar system colour, track 3 at half height.
    EXPECT_EQ(
        std::tuple(w.portList.items(), w.rateList.items(), w.portList.text(), w.rateList.text(),
                   enabledMap(w), w.modeOptions.selectedIndex(),
                   w.writeConfigOptions.selectedIndex(), w.charSetOptions.selectedIndex(),
                   w.itripOptions.selectedIndex(), w.trackCheck(1).value(), w.trackCheck(2).value(),
                   w.trackCheck(3).value(), w.firmwareCheck.value(), w.writesPerLoopBox.text(),
                   w.readsPerLoopBox.text(), w.firmwareBox.backColor(), w.trackBox(3).height(),
                   w.trackBox(3).visible(), w.readBackBox(3).visible(), u.line.writes,
                   u.line.isOpen(), u.alerts.beeps),
        std::tuple(Texts{"COM 1", "COM 2", "COM 3", "COM 4", "COM 5", "COM 6", "COM 7", "COM 8"},
                   Texts{"1200", "2400", "4800", "9600", "19200", "38400", "57600", "115200"},
                   "COM 1"s, "9600"s, kLoaded, 4, 1, 3, 0, 1, 1, 1, 0, "1"s, "1"s, 0x80000000u, 495,
                   true, true, Texts{}, false, 0));
    EXPECT_EQ(joined(w.trackBoxes) + joined(w.readBackBoxes) + w.firmwareBox.text() +
                  joined(w.lengthLabels) + joined(w.totalLabels) + joined(w.writeCountLabels) +
                  joined(w.readCountLabels) + w.loopCountLabel.caption() + w.statusLabel.caption(),
              "||||||0|0|0|0|0|0|0|0|0|0|0|0|0");
}

// Every refused character of a text set from code goes with a beep each; a refused last
// character (as a read answer brings them) leaves the caret at the end. (What the operator types
// goes through the same rule with one beep per edit: the view's typing table.)
TEST(TrackEntry, RemovesRefusedCharactersBeepsKeepsTheCaretInPlaceAndShowsTheLength) {
    // {track, text, caret before, text kept, caret after, beeps}
    const std::tuple<int, std::string, int, std::string, int, int> cases[] = {
        {1, "A%B", 2, "AB", 1, 1}, {2, "12ab", 0, "12", 2, 2}, {3, "0:<=>'", 0, "0:<=>'", 0, 0}};
    for (const auto& [track, text, caret, kept, caretAfter, beeps] : cases) {
        TestWindow t;
        TextBox& box = t.window.trackBox(track);
        box.setText("12345"), box.setCaret(caret), t.alerts.beeps = 0;
        box.setText(text);
        EXPECT_EQ(std::tuple(box.text(), t.window.lengthLabel(track).caption(), box.caret(),
                             t.alerts.beeps),
                  std::tuple(kept, std::to_string(kept.size()), caretAfter, beeps))
            << text;
    }
}

// Data are cut to the track's maximum; the write config follows writing modes and only the
// loop shows read-back.
TEST(TrackEntryAndModeClick, UntickingEmptiesOnlyThatTrack) {
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
    // {mode, write config enabled, read-back shown}; each step changes the write config.
    const std::tuple<int, bool, bool> steps[] = {{1, 0, 0}, {4, 1, 1}, {3, 0, 0},
                                                 {2, 1, 0}, {1, 0, 0}, {0, 1, 0}};
    for (const auto& [mode, writeConfig, readBack] : steps) {
        w.modeOptions[mode].select();
        for (int track = 1; track <= 3; ++track)
            EXPECT_EQ(std::tuple(w.writeConfigOptions[track - 1].enabled(),
                                 w.trackBox(track).height(), w.readBackBox(track).visible()),
                      std::tuple(writeConfig, readBack ? 495 : 975, readBack))
                << mode;
    }
}

// Connect and Disconnect swap the locked controls; Connect sends a reset, then the character set.
TEST(WindowController, ConnectChoicesASingleWriteAndAFaultInAHandler) {
    TestWindow t;
    WindowModel& w = t.window;
    w.portList.setListIndex(7);
    w.rateList.setListIndex(0);
    w.totalLabels[0].setCaption("5");
    w.trackBox(1).setText("AB");
    t.line.existingPorts.erase(8);
    w.connectButton.click();
    EXPECT_EQ(std::tuple(t.alerts.beeps, t.alerts.messages, t.alerts.titles, enabledMap(w)),
              std::tuple(3, Texts{"Open COM Port Fail!"}, Texts{"Dornal Test"}, kLoaded));

    t.line.existingPorts.insert(8);
    t.line.feed("stale");
    w.abandonButton.setEnabled(true); // as during a run
    w.connectButton.click();
    // Connecting zeroes the counters and the lengths shown, though the data stay.
    EXPECT_EQ(
        std::tuple(enabledMap(w), t.line.port(), t.line.baudRate(), t.line.writes, t.line.pending(),
                   w.totalLabels[0].caption() + w.lengthLabel(1).caption() + w.trackBox(1).text()),
        std::tuple(kConnected, 8, 1200, Texts{kEsc + "a", kEsc + "="}, 0u, "00AB"s));

    w.totalLabels[0].setCaption("4");
    w.disconnectButton.click();
    EXPECT_EQ(std::tuple(enabledMap(w), joined(w.trackBoxes) + w.totalLabels[0].caption(),
                         t.line.isOpen()),
              std::tuple(kDisconnected, "|||4"s, false));

    w.portList.setListIndex(-1); // no port chosen: port 0, which does not open
    w.rateList.setListIndex(6);
    w.connectButton.click();
    w.portList.setListIndex(2);
    w.rateList.edit("12345"); // no entry: the rate chosen last stays
    w.connectButton.click();
    EXPECT_EQ(std::tuple(t.alerts.beeps, t.line.port(), t.line.baudRate()),
              std::tuple(6, 3, 57600));
    t.line.writes.clear();
    // The character set and the write strength send their command.
    for (int index = 0; index < 4; ++index) {
        for (auto& box : w.trackBoxes)
            box.setText("12");
        w.charSetOptions[index].select();
        EXPECT_EQ(joined(w.trackBoxes) + joined(w.lengthLabels), "12|||2|0|0|");
    }
    for (int index : {2, 1, 0})
        w.itripOptions[index].select();
    EXPECT_EQ(std::exchange(t.line.writes, {}),
              (Texts{kEsc + "'", kEsc + "O", kEsc + "N", kEsc + "=", kEsc + ",", kEsc + "+",
                     kEsc + "*"}));
    // A single write of track 2.
    w.modeOptions[2].select();
    w.trackCheck(1).setValue(0);
    w.trackCheck(3).setValue(0);
    w.startButton.click();
    // The write strength chosen goes first.
    EXPECT_EQ(std::pair(t.line.writes.front(), enabledMap(w)),
              std::pair(kEsc + "*", "00010110011 00000 0000 000 000 000 111"s));
    t.line.feed("\x1brp");
    w.cycleTimer.tick();
    // A single action leaves the write strength locked until a run is abandoned.
    EXPECT_EQ(joined(w.writeCountLabels) + joined(w.totalLabels) + w.statusLabel.caption() + '|' +
                  enabledMap(w),
              "0|1|0|0|1|0|1B 72 70- 0|00011101101 11111 1111 111 000 111 111");
    // A run does not outlive its port: Disconnect ends it without a word to the reader, and
    // every counter and the firmware version stay.
    w.modeOptions[0].select();
    w.startButton.click();
    t.line.feed("\x1brp");
    w.cycleTimer.tick();
    w.firmwareBox.setText("V1.");
    const std::size_t sent = t.line.writes.size();
    const std::string counted = joined(w.writeCountLabels) + w.loopCountLabel.caption();
    w.disconnectButton.click();
    EXPECT_EQ(std::tuple(t.line.writes.size(), enabledMap(w), w.firmwareBox.text()),
              std::tuple(sent, kDisconnected, "V1."s));
    EXPECT_EQ(joined(w.writeCountLabels) + w.loopCountLabel.caption(), counted);
    EXPECT_EQ(counted, "0|1|0|1");
    // A fault in a handler is shown in the status and goes no further.
    t.connect();
    t.line.onWrite = [](std::string_view) { throw std::runtime_error("line gone"); };
    EXPECT_NO_THROW(w.itripOptions[1].select());
    EXPECT_EQ(w.statusLabel.caption(), "Internal fault: line gone");
    t.controller.unload();
    EXPECT_FALSE(t.line.isOpen());
}

} // namespace
} // namespace dornal
