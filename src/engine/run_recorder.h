#pragma once

#include "modes.h"
#include "reader/answer_wait.h"
#include "reader/answers.h"
#include "reader/commands.h"
#include "reader/write_frame.h"
#include "record/card_content.h"
#include "record/read_back_check.h"
#include "record/record_file.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace dornal {

// What a run was started with, for the head of its record.
struct RunSettings {
    int port = 0;
    std::string device;
    int rate = 0;
    Mode mode = Mode::WriteLoop;
    std::optional<WriteConfig> writeConfig;
    std::optional<CharSet> charSet;
    std::optional<Itrip> itrip;
    TrackSet tracks = 0;
    LoopCounts perLoop;
};

// The read-back check of one track in the run so far.
struct CheckCount {
    std::uint64_t checked = 0;
    std::uint64_t differed = 0;
    std::optional<std::chrono::system_clock::time_point> lastAt;
    std::uint64_t lastLoop = 0;
};

// What one read-back of a track said against what the card should hold.
struct TrackVerdict {
    int track = 0;
    std::optional<record::ReadBackCheck> check; // none: no verdict (the card's data unknown)
    std::string summary;                        // the run's check of the track so far
};

// How a run ended, as its record's last rows say.
enum class RunEnd { Abandoned, SingleWriteDone, SingleReadDone, Disconnected, WindowClosed };

// A glitch of the reader, as its record row names it.
enum class Glitch { TimedOut, TooLong, PortError, NotReady, StrayBytes };

// The account of a run as it goes: the read-back check of "Auto Write/Read Loop" (each read
// compared with the last write of its track that the reader reported done) and, when a folder
// is given, the run's record file. A record that cannot be written never stops the run.
class RunRecorder {
public:
    using Clock = std::function<std::chrono::system_clock::time_point()>;

    explicit RunRecorder(Clock clock = std::chrono::system_clock::now,
                         record::RecordLimits limits = {});

    // Where records go (none: no record is written), and the bounds of each record.
    void recordInto(std::optional<std::filesystem::path> directory,
                    record::RecordLimits limits = {});
    void setClock(Clock clock) { clock_ = std::move(clock); }

    void begin(const RunSettings& settings);
    // The data a write frame carried, for the answer to it.
    void sent(const TrackTexts& tracks) { sent_ = tracks; }
    void writeAnswer(std::uint64_t loop, TrackSet written, const std::string& status);
    // An answer (or the ready byte) that did not come whole, as a glitch.
    void writeLost(std::uint64_t loop, Outcome outcome);
    void readLost(std::uint64_t loop, Outcome outcome);
    void readyLost(std::uint64_t loop, Outcome outcome);
    // A read answer's segments; the verdicts per track where the run checks them.
    std::vector<TrackVerdict> readAnswer(std::uint64_t loop, const ReadAnswer& answer);
    void glitch(std::uint64_t loop, Glitch glitch, std::string detail = {});
    void reset(std::uint64_t loop);
    // Past its size bound the record keeps a summary every hour; called after each answer.
    void hourly(const Counters& counters);
    void end(RunEnd how, const Counters& counters);

    // The record file and, when it stopped, why: what the status line's tool tip says.
    std::string recordState() const;
    std::string checkSummary(int track) const;

private:
    void add(std::uint64_t loop, record::Event event, int track, std::string data,
             std::string answer, std::string_view outcome, std::string detail,
             record::Importance importance);
    void settingRows(const RunSettings& settings);
    void countRows(record::Event event, const Counters& counters, std::string_view outcome);
    std::optional<record::ReadBackCheck> verdict(std::uint64_t loop, int track,
                                                 const std::string* data);

    Clock clock_;
    record::RecordLimits limits_;
    std::optional<std::filesystem::path> directory_;
    std::unique_ptr<record::RecordFile> file_;
    RunSettings settings_;
    bool running_ = false;
    TrackTexts sent_;
    record::CardContent card_;
    std::array<CheckCount, 3> checks_{};
    std::chrono::system_clock::time_point lastSummary_{};
};

// "4,812": a count with a comma every three digits.
std::string groupedNumber(std::uint64_t n);

} // namespace dornal
