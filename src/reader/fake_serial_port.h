#pragma once

#include "serial_port.h"

#include <deque>
#include <functional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace dornal {

// An in-memory serial layer for tests. It records every byte sent to an open port, each
// write as it left and where each command (batch) began, and plays scripted incoming bytes:
// bytes fed now wait in the queue at once; chunks scripted "later" arrive one chunk each time
// the program blocks for input (a read with too few bytes or a wait with none), as if time
// passed. Time is simulated: every blocking wait that runs out adds its bound to elapsedMs.
class FakeSerialPort : public SerialPort {
public:
    FakeSerialPort();

    int sio_open(int port) override;
    int sio_close(int port) override;
    int sio_SetReadTimeouts(int port, long totalMs, long intervalMs) override;
    int sio_ioctl(int port, int baudCode, int mode) override;
    int sio_read(int port, char* buffer, int length) override;
    int sio_putch(int port, int value) override;
    int sio_getch(int port) override;
    int sio_iqueue(int port) override;
    int waitByte(int port, int timeoutMs) override;
    void beginBatch(int port) override;
    void endBatch(int port) override;

    // --- the script ---
    std::set<int> existingPorts{1, 2, 3, 4, 5, 6, 7, 8};
    void feed(std::string_view bytes);      // waiting now
    void feedLater(std::string_view chunk); // arrives at the next blocking wait
    void failPort() { failed_ = true; }     // the device vanishes: every call fails
    // Called after every write with the bytes it carried; a scripted reader answers here.
    std::function<void(const std::vector<std::uint8_t>&)> onWrite;

    // --- what happened ---
    bool isOpen() const { return openPort_ != 0; }
    int openPort() const { return openPort_; }
    std::vector<std::uint8_t> sent;                // every byte, in order
    std::vector<std::vector<std::uint8_t>> writes; // each write as one piece
    std::vector<std::size_t> commandStarts;        // offset in `sent` of each batch
    std::vector<std::string> calls;                // "open 1", "ioctl 12 3", "read 16", ...
    long totalTimeoutMs = 0;
    long intervalTimeoutMs = 0;
    int baudCode = -1;
    long elapsedMs = 0;
    int getchCalls = 0;
    std::size_t waiting() const { return incoming_.size(); }

    // The sent bytes as text, and the bytes of each command as its own text.
    std::string sentText() const { return {sent.begin(), sent.end()}; }
    std::vector<std::string> commandTexts() const;
    void clearRecord();

private:
    bool usable(int port) const { return !failed_ && openPort_ != 0 && port == openPort_; }
    bool releaseLater();
    void write(std::vector<std::uint8_t> bytes);

    std::deque<std::uint8_t> incoming_;
    std::deque<std::string> later_;
    std::vector<std::uint8_t> batch_;
    int batchDepth_ = 0;
    int openPort_ = 0;
    bool failed_ = false;
};

} // namespace dornal
