#pragma once

#include "card.h"
#include "command_parser.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace dornal::sim {

struct ReaderSettings {
    // Every k-th write fails ("q") and leaves the card as it was; 0 never.
    int failEvery = 0;
    std::string versionText;
    // Every k-th read answer comes back with one character of one track changed; 0 never.
    int corruptEvery = 0;
};

// What the reader did since it started, for checking a bench's counters against it. The
// answers are counted as the reader gives them, whether or not they reach the line.
struct Tally {
    // Per track 1..3: writes answered "p" whose code names the track.
    std::array<std::uint64_t, 3> writesDone{};
    // Per track 1..3: read answers whose segment of the track holds data.
    std::array<std::uint64_t, 3> readsWithData{};
    std::uint64_t writeAnswers = 0;
    std::uint64_t failedWrites = 0; // write answers "q"
    std::uint64_t readAnswers = 0;
    std::uint64_t readyAnswers = 0; // "y"
    std::uint64_t firmwareAnswers = 0;
    // Answers the fault options kept back, cut short or led with stray bytes, and answers that
    // left as noise on a line set to another rate.
    std::uint64_t spoiled = 0;
    // Answers not wholly sent: the program closed the line or never read, or the simulator
    // ended first.
    std::uint64_t unsent = 0;
    // Read answers sent with one character changed (--corrupt-every).
    std::uint64_t corrupted = 0;
};

// "tally: writes-done 1=N 2=N 3=N reads-with-data 1=N 2=N 3=N write-answers N
// failed-writes N read-answers N ready N firmware N spoiled N unsent N corrupted N", on one
// line.
std::string tallyLine(const Tally& tally);

struct Answer {
    enum class Kind { Write, Read, Ready, Firmware };
    Kind kind;
    std::string bytes;
};

// The reader without a line: takes the bench's bytes in any chunking and gives the answers,
// keeping the card's three tracks.
class ReaderModel {
public:
    explicit ReaderModel(ReaderSettings settings);

    // The answers to the requests these bytes complete, in order.
    std::vector<Answer> feed(std::span<const std::uint8_t> bytes);
    std::vector<Answer> feed(std::string_view bytes);
    // The line was closed: a request begun is forgotten; the card stays.
    void lineClosed() { parser_.clear(); }

    const Card& card() const { return card_; }
    const Tally& tally() const { return tally_; }
    // What became of answers on their way out, which only the line knows.
    void countSpoiled() { ++tally_.spoiled; }
    void countUnsent(std::uint64_t answers) { tally_.unsent += answers; }

private:
    void answer(const ParsedCommand& command, std::vector<Answer>& out);
    void escape(std::string_view command, std::vector<Answer>& out);
    void write(std::string_view body, std::vector<Answer>& out);
    // What the reader reads from the card for the read answer just counted: the card, or with
    // one character changed when this answer is one that --corrupt-every spoils.
    Card cardAsRead(TrackSet tracks);

    ReaderSettings settings_;
    CommandParser parser_;
    Card card_;
    Tally tally_;
    std::vector<ParsedCommand> parsed_;
};

} // namespace dornal::sim
