#pragma once

// The bench on a memory line with a scripted reader, and a window of its own that notes what it
// is shown: the rig of the engine's tests.
#include "engine/bench.h"
#include "engine/status_texts.h"
#include "reader/memory_line.h"
#include "run_now.h"

#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace dornal {
namespace testing {

using Texts = std::vector<std::string>;
using Boxes = std::array<std::string, 3>; // tracks 1..3
using Three = std::array<std::uint64_t, 3>;

inline const auto esc = [](std::string_view rest) { return "\033" + std::string(rest); };

// The window as the engine sees it: the test sets the choices and reads what was shown.
class FakePanel : public Panel {
public:
    std::optional<Mode> modeChoice;
    std::optional<WriteConfig> configChoice = WriteConfig::AddTestChar;
    std::optional<CharSet> charSetChoice = CharSet::Iso;
    TrackSet ticked = trackBit(2);
    LoopCounts perLoop{1, 1};
    mutable std::array<Boxes, 2> boxes;

    Counters shown;
    Texts statuses;
    Texts messages;
    std::string firmware;
    bool wantFirmware = false;
    bool running = false;
    bool ticking = false;
    std::vector<std::pair<bool, bool>> locks;
    Phase phase = Phase::Idle;
    int lengthsCleared = 0;

    Boxes& rowOf(Row row) const { return boxes[static_cast<std::size_t>(row)]; }
    std::string& box(Row row, int track) const { return rowOf(row)[trackIndex(track)]; }

    std::optional<Mode> mode() const override { return modeChoice; }
    std::optional<WriteConfig> writeConfig() const override { return configChoice; }
    std::optional<CharSet> charSet() const override { return charSetChoice; }
    std::optional<Itrip> itrip() const override { return Itrip::OneThird; }
    TrackSet tickedTracks() const override { return ticked; }
    bool firmwareWanted() const override { return wantFirmware; }
    LoopCounts loopCounts() override { return perLoop; }
    std::string boxText(Row row, int track) const override { return box(row, track); }
    // A data box holds no more than its track carries, as the window's boxes do.
    void setBoxText(Row row, int track, std::string_view text) override {
        box(row, track) =
            text.substr(0, row == Row::Data ? kTrackMaxLength[trackIndex(track)] : text.npos);
    }
    void showCounters(const Counters& counters) override { shown = counters; }
    void clearLengths() override { ++lengthsCleared; }
    void showStatus(std::string_view text) override { statuses.emplace_back(text); }
    void showFirmware(std::string_view text) override { firmware = text; }
    void showRunning(bool on) override { running = on; }
    void lockSettings(bool locked, bool itripToo) override { locks.emplace_back(locked, itripToo); }
    void showPhase(Phase now) override { phase = now; }
    void setTicking(bool on) override { ticking = on; }
    void tellOperator(std::string_view message) override { messages.emplace_back(message); }
    void showReadBackCheck(int track, const record::ReadBackCheck* check,
                           std::string_view summary) override {
        checks[trackIndex(track)] = {check ? std::optional(*check) : std::nullopt,
                                     std::string(summary)};
    }
    void showRecordState(std::string_view text) override { recordState = text; }
    std::array<std::pair<std::optional<record::ReadBackCheck>, std::string>, 3> checks;
    std::string recordState;
};

// A memory line on which each byte taken on its own (as an answer's are) also takes
// `msPerByte` of the clock.
struct SlowLine : MemoryLine {
    int msPerByte = 0;
    int take(std::span<std::uint8_t> bytes) override {
        if (bytes.size() == 1)
            clockMs += msPerByte;
        return MemoryLine::take(bytes);
    }
};

// A bench connected to a reader on the memory line, track 2 ticked and holding "2". The reader
// answers a write frame, ReadyCheck, a read command and the firmware query at once with the
// bytes the test chose; nothing for an empty answer.
struct Rig {
    SlowLine line;
    ReaderLink link{line};
    FakePanel panel;
    Bench bench{panel, link};
    // What the reader answers; the start of the command the line fails on.
    std::string writeAnswer = esc("rp");
    std::string readAnswer = esc("s22\177?");
    std::string ready = "y";
    std::string firmware;
    std::string failAfter;

    Rig() {
        line.onWrite = [this](std::string_view bytes) {
            if (!failAfter.empty() && bytes.starts_with(failAfter))
                line.failPort(); // the device vanishes as the command leaves
            const bool read = std::string_view(" ]#\"").find(bytes.back()) != bytes.npos;
            line.feed(bytes[0] != '\033'  ? firmware
                      : bytes[1] == 't'   ? writeAnswer
                      : bytes == esc("e") ? ready
                      : read              ? readAnswer
                                          : "");
        };
        panel.box(Row::Data, 2) = "2";
        EXPECT_FALSE(bench.connected()); // until the first Connect
        EXPECT_EQ(runNow(bench.connect(1, std::nullopt)), std::nullopt);
        line.clearRecord();
    }
    std::pair<int, int> left() const { return {bench.left().writes, bench.left().reads}; }
    // Starts the mode and ticks; the trace of what that sent.
    std::string start(std::optional<Mode> mode, int ticks = 0) {
        panel.modeChoice = mode;
        runNow(bench.start());
        while (ticks-- > 0)
            runNow(bench.tick());
        return trace();
    }
    // The writes since the last call without their ESC, "|" between them; a write frame as
    // "t" and its data, the firmware query as "Q".
    std::string trace() {
        std::string out;
        for (const std::string& bytes : line.writes) {
            const std::size_t trailer = bytes[1] == 't' ? 5 : 0;
            out += (out.empty() ? "" : "|") +
                   (bytes[0] == '\033' ? bytes.substr(1, bytes.size() - 1 - trailer) : "Q");
        }
        line.clearRecord();
        return out;
    }
};

} // namespace testing

} // namespace dornal
