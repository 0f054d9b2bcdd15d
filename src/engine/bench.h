#pragma once

#include "counting.h"
#include "modes.h"
#include "panel.h"
#include "reader/reader_link.h"
#include "reader/task.h"
#include "run_recorder.h"
#include "test_data.h"

#include <cstdint>
#include <optional>

namespace dornal {

// A run, from Start to its end: the mode it was started in, the writes and reads still to
// send in the current loop of "Auto Write/Read Loop", and the kind of answer awaited next.
struct Run {
    Mode mode = Mode::WriteLoop;
    LoopCounts left;
    bool awaitingRead = false;
};

// The test engine: the connection, the run (start, abandon, reset) and the test cycle that each
// tick of the 500 ms timer drives. It keeps the run's state as numbers and shows it through the
// panel.
//
// Each operation is a step: a task that waits for the reader without blocking and ends when
// its last command has gone out. Steps run one at a time; the caller starts the next one only
// after the last has ended.
class Bench {
public:
    Bench(Panel& panel, ReaderLink& link);

    // Opens the port (at the rate last chosen when none is given), resets the reader, zeroes
    // the counters and sends the chosen character set. Nothing once connected; otherwise why the
    // port did not open.
    Task<std::optional<OpenFailure>> connect(int port, std::optional<int> baudRate);
    // Closes the port. A run still going ends with it: nothing is sent, and the counters and
    // the firmware version stay as they are.
    void disconnect();
    bool connected() const { return connected_; }

    Task<> selectCharSet(CharSet set);
    Task<> selectItrip(Itrip strength);

    // "Start Action": the firmware query when wanted, the first command of the mode, the lock.
    Task<> start();
    // "Abandon Action": stops the run; the loop that was cut short does not count.
    Task<> abandon();
    // "Reset Counter": the loop count and the totals (and with them the serial numbers).
    Task<> resetCounters();
    // One tick: takes at most one answer, counts it and sends the mode's next command.
    Task<> tick();

    // Closing the window: a run still going ends there, and the port closes.
    void shutDown();

    bool running() const { return run_.has_value(); }
    RunRecorder& recorder() { return recorder_; }
    // The device a port opens, for the record (the program names it; tests need not).
    std::function<std::string(int port)> deviceOf;
    const Counters& counters() const { return counters_; }
    LoopCounts left() const { return run_ ? run_->left : LoopCounts{}; }
    bool writeFailed() const { return writeFailed_; }

private:
    // run_control.cpp
    Task<bool> startMode();
    Task<> startWriting(Mode mode, PatternSet set);
    Task<> startReading(Mode mode);
    Task<> startWriteReadLoop();
    void zeroCounters();
    void beginRecord(Mode mode);
    void endRun(bool itripToo, RunEnd how);
    Task<> writeTracks();
    Task<> sendReadRequest();
    void endSingleAction();

    // test_cycle.cpp
    Task<> onWriteAnswer(const Received& received);
    Task<> onReadAnswer(const ReadAnswer& answer);
    void showReadBack(const ReadAnswer& answer);
    Task<> continueWriteLoop();
    Task<> afterWriteInWriteReadLoop();
    Task<> afterReadInWriteReadLoop();
    Task<> continueReadLoop();
    Task<> awaitReady();
    void addLoop();
    void noteGlitch(const Received& received);
    void showVerdicts(const std::vector<TrackVerdict>& verdicts);

    Panel& panel_;
    ReaderLink& link_;
    TestData data_;
    Counters counters_;
    std::optional<Run> run_;
    RunRecorder recorder_;
    bool writeFailed_ = false;
    bool connected_ = false;
    bool portErrorNoted_ = false;
    int port_ = 0;
    std::optional<int> baudRate_;
};

} // namespace dornal
