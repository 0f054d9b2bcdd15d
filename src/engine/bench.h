#pragma once

#include "counting.h"
#include "modes.h"
#include "panel.h"
#include "reader/reader_link.h"
#include "test_data.h"

#include <cstdint>
#include <optional>

namespace dornal {

// The test engine: the connection, the run (start, abandon, reset) and the test cycle that each
// tick of the 500 ms timer drives. It keeps the run's state as numbers and shows it through the
// panel.
class Bench {
public:
    Bench(Panel& panel, ReaderLink& link);

    // Opens the port (at the rate last chosen when none is given), resets the reader, zeroes
    // the counters and sends the chosen character set. Nothing once connected; otherwise why the
    // port did not open.
    std::optional<OpenFailure> connect(int port, std::optional<int> baudRate);
    void disconnect();
    bool connected() const { return connected_; }

    void selectCharSet(CharSet set);
    void selectItrip(Itrip strength);

    // "Start Action": the firmware query when wanted, the first command of the mode, the lock.
    void start();
    // "Abandon Action": stops the run; the loop that was cut short does not count.
    void abandon();
    // "Reset Counter": the loop count and the totals (and with them the serial numbers).
    void resetCounters();
    // One tick: takes at most one answer, counts it and sends the mode's next command.
    void tick();

    const Counters& counters() const { return counters_; }
    LoopCounts left() const { return left_; }
    bool writeFailed() const { return writeFailed_; }

private:
    // run_control.cpp
    bool startMode();
    void startWriting(PatternSet set);
    void startReading();
    void startWriteReadLoop();
    void zeroCounters();
    void loadLoopCounts();
    void writeTracks();
    void sendReadRequest();
    void endSingleAction();

    // test_cycle.cpp
    void onWriteAnswer(const Received& received);
    void onReadAnswer(const ReadAnswer& answer);
    void showReadBack(const ReadAnswer& answer);
    void continueWriteLoop();
    void afterWriteInWriteReadLoop();
    void afterReadInWriteReadLoop();
    void continueReadLoop();
    void awaitReady();
    void addLoop();

    Panel& panel_;
    ReaderLink& link_;
    TestData data_;
    Counters counters_;
    LoopCounts left_;
    bool writeFailed_ = false;
    bool connected_ = false;
    std::optional<int> baudRate_;
};

} // namespace dornal
