#pragma once

#include "modes.h"
#include "reader/commands.h"
#include "record/read_back_check.h"
#include "shared/tracks.h"

#include <optional>
#include <string>
#include <string_view>

namespace dornal {

// What the test engine needs of the window: the operator's choices, the track boxes (which
// stay editable during a run and apply their own entry rules when set), and the displays.
class Panel {
public:
    virtual ~Panel() = default;

    // The operator's choices; none while no option of a group is selected.
    virtual std::optional<Mode> mode() const = 0;
    virtual std::optional<WriteConfig> writeConfig() const = 0;
    virtual std::optional<CharSet> charSet() const = 0;
    virtual std::optional<Itrip> itrip() const = 0;
    virtual TrackSet tickedTracks() const = 0;
    virtual bool firmwareWanted() const = 0;
    // The per-loop counts as the window reads them from its boxes.
    virtual LoopCounts loopCounts() = 0;

    virtual std::string boxText(Row row, int track) const = 0;
    virtual void setBoxText(Row row, int track, std::string_view text) = 0;

    virtual void showCounters(const Counters& counters) = 0;
    virtual void clearLengths() = 0;
    virtual void showStatus(std::string_view text) = 0;
    virtual void showFirmware(std::string_view text) = 0;
    // "Start Action" usable while idle, "Abandon Action" while running.
    virtual void showRunning(bool running) = 0;
    // Locks or unlocks the settings a run depends on, the write strength only when itripToo.
    virtual void lockSettings(bool locked, bool itripToo) = 0;
    virtual void showPhase(Phase phase) = 0;
    // The 500 ms tick runs while on.
    virtual void setTicking(bool on) = 0;
    // A modal message; returns when the operator has closed it.
    virtual void tellOperator(std::string_view message) = 0;

    // A track's read-back against what the card should hold: the characters that differ are
    // marked (no check: nothing marked), and the summary of the run's check is told.
    virtual void showReadBackCheck(int track, const record::ReadBackCheck* check,
                                   std::string_view summary) = 0;
    // Where the run's record goes, or why it stopped.
    virtual void showRecordState(std::string_view text) = 0;
};

} // namespace dornal
