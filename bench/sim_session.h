#pragma once

#include "bench_fixture.h"
#include "reader/qt/qt_serial_port.h"
#include "sim_process.h"

#include <string>
#include <vector>

namespace dornal::bench {

// The real serial layer, also noting how many bytes each write to the device carried.
// writeCalls() stays the count of writes; the sizes only add what each one held.
class CountingPort : public QtSerialPort {
public:
    int sio_putch(int port, int value) override;
    void beginBatch(int port) override;
    void endBatch(int port) override;

    const std::vector<int>& writeSizes() const { return writeSizes_; }

private:
    int batchDepth_ = 0;
    int held_ = 0;
    std::vector<int> writeSizes_;
};

// Test modes by their place in Option1.
enum class Mode { WriteLoop = 0, ReadLoop = 1, SingleWrite = 2, SingleRead = 3, WriteReadLoop = 4 };

// The window's logic on the real serial layer, connected through port 1 to a simulated
// reader started with `simOptions`, at `baudRate` chosen in Combo2, as the operator does it.
class SimSession {
public:
    SimSession(const std::vector<std::string>& simOptions, int baudRate);
    ~SimSession();
    SimSession(const SimSession&) = delete;
    SimSession& operator=(const SimSession&) = delete;

    // Ticks all three tracks, 1 write and 1 read per loop, picks `mode` and presses Start.
    void start(Mode mode);
    long loops() const;

    Form1 form;
    CountingPort port;
    Context& context() { return events.context(); }

private:
    testing::PortLinkHome home_;
    testing::SimProcess sim_;
    testing::RecordingAlerts alerts_;
    SharedValues shared_;
    Form1Events events{form, alerts_, port, shared_};
};

} // namespace dornal::bench
