#pragma once

#include "line.h"

#include <deque>
#include <functional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace dornal {

// An in-memory line for tests. It records every write made while open and plays scripted
// incoming bytes: bytes fed now wait at once; chunks scripted "later" arrive one chunk each
// time the program waits for input, as if time passed. Time is virtual: a wait that runs out
// adds its bound to the clock.
//
// A wait ends at once unless `holdWaits` is set: then it stays open until the test lets it
// end (endWait), so that the test can act while the program waits.
class MemoryLine : public Line {
public:
    OpenResult open(int port, int baudRate) override;
    void close() override;
    bool write(std::span<const std::uint8_t> bytes) override;
    int take(std::span<std::uint8_t> bytes) override;
    int waiting() override;
    void whenReadable(int boundMs, std::function<void()> ready) override;
    void cancelWait() override;
    std::int64_t nowMs() const override { return clockMs; }
    OpenFailure openFailure() const override { return failure_; }
    // Port n's device is "memory<n>", there while the port exists.
    PortDescription describePort(int port) const override;

    // --- the script ---
    std::set<int> existingPorts{1, 2, 3, 4, 5, 6, 7, 8};
    // Why a port that does not exist fails to open (a port outside 1..8: NoSuchPort).
    OpenFailure refusal{.reason = OpenFailure::Reason::NoDevice};
    void feed(std::string_view bytes);      // waiting now
    void feedLater(std::string_view chunk); // arrives at the next wait
    void failPort() { failed_ = true; }     // the device vanishes: every call fails
    // Called after every write with the bytes it carried; a scripted reader answers here.
    std::function<void(std::string_view bytes)> onWrite;
    bool holdWaits = false;
    bool waitOpen() const { return static_cast<bool>(ready_); }
    // Ends the open wait as an unheld one would have ended; false when none is open.
    bool endWait();

    // --- what happened ---
    bool isOpen() const { return port_ != 0; }
    int port() const { return port_; }
    int baudRate() const { return baudRate_; }
    std::vector<std::string> writes; // each write as one piece, in order
    std::int64_t clockMs = 0;
    std::size_t pending() const { return incoming_.size(); }
    void clearRecord() { writes.clear(); }

private:
    bool usable() const { return !failed_ && port_ != 0; }
    bool releaseLater();

    std::deque<std::uint8_t> incoming_;
    std::deque<std::string> later_;
    std::function<void()> ready_;
    int boundMs_ = 0;
    int port_ = 0;
    int baudRate_ = 0;
    bool failed_ = false;
    OpenFailure failure_;
};

} // namespace dornal
