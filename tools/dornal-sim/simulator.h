#pragma once

#include "options.h"
#include "reader_model.h"

#include <chrono>
#include <cstdint>
#include <deque>
#include <optional>
#include <random>
#include <string>

namespace dornal::sim {

class PtyLine;
class PortLink;
class Trace;

// Serves the reader on the line until a stop signal or the planned hang-up. Waits in poll()
// for input, the next answer byte's time or a signal; never spins.
class Simulator {
public:
    using Clock = std::chrono::steady_clock;

    // `stopFd` becomes readable when the simulator is to stop.
    Simulator(const Options& options, PtyLine& line, PortLink& link, Trace& trace, int stopFd);
    // Returns the exit status.
    int run();

private:
    struct Outgoing {
        Clock::time_point due;
        char byte;
        bool endsAnswer;
    };

    int pollTimeoutMs(Clock::time_point now) const;
    void takeInput();
    // Answers a request whose last byte reached the reader at `heard`.
    void hear(std::string_view bytes);
    void answer(const Answer& answer, Clock::time_point heard);
    void sendDue(Clock::time_point now);
    void programLeft();
    void checkProgramBack();
    void hangUp();
    // Answers still waiting to leave count as unsent; the tally goes to standard output.
    void printTally();
    std::uint64_t answersWaiting() const;

    const Options& options_;
    PtyLine& line_;
    PortLink& link_;
    Trace& trace_;
    int stopFd_;
    ReaderModel model_;
    std::minstd_rand noise_;
    std::deque<Outgoing> outgoing_;
    Clock::time_point lineFreeAt_;  // when the reader's last answer byte has left
    Clock::time_point inputFreeAt_; // when the program's last byte has reached the reader
    std::optional<Clock::time_point> hangupAt_;
    bool attached_ = true;
    bool writeBlocked_ = false;
};

} // namespace dornal::sim
