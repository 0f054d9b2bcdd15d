#pragma once

#include "reader/qt/qt_serial_port.h"
#include "reader/timing.h"
#include "support/cpu_clock.h"
#include "support/pty_peer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

namespace dornal::testing {

using namespace std::chrono_literals;

// Wall time and process CPU time since construction.
class Stopwatch {
public:
    double elapsedMs() const {
        return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - wall_)
            .count();
    }
    double cpuShare() const { return (processCpuSeconds() - cpu_) * 1e3 / elapsedMs(); }

private:
    std::chrono::steady_clock::time_point wall_ = std::chrono::steady_clock::now();
    double cpu_ = processCpuSeconds();
};

inline std::string allByteValues() {
    std::string bytes;
    for (int value = 0; value < 256; ++value)
        bytes.push_back(static_cast<char>(value));
    return bytes;
}

// Sends `bytes` from the far end after `delay`, one at a time `gap` apart, while the test blocks.
class LaterSender {
public:
    LaterSender(PtyPeer& peer, std::string bytes, std::chrono::milliseconds delay,
                std::chrono::milliseconds gap = 0ms)
        : thread_([&peer, bytes, delay, gap] {
              std::this_thread::sleep_for(delay);
              for (char byte : bytes) {
                  peer.send(std::string(1, byte));
                  std::this_thread::sleep_for(gap);
              }
          }) {}
    ~LaterSender() { thread_.join(); }

private:
    std::thread thread_;
};

// Port 1 of a QtSerialPort opened on a pseudo-terminal, set up as Connect does.
class SerialLineTest : public ::testing::Test {
protected:
    static constexpr int kPort = 1;

    void SetUp() override {
        ASSERT_EQ(serial.sio_open(kPort), 0);
        ASSERT_EQ(serial.sio_SetReadTimeouts(kPort, timing::kReadTotalTimeoutMs,
                                             timing::kReadIntervalTimeoutMs),
                  0);
        ASSERT_EQ(serial.sio_ioctl(kPort, 12, SerialPort::kLineMode8N1), 0);
    }

    // Bytes sent by the far end need a moment to cross the pseudo-terminal.
    bool awaitWaiting(int count) {
        const auto deadline = std::chrono::steady_clock::now() + 2s;
        while (serial.sio_iqueue(kPort) < count && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(2ms);
        return serial.sio_iqueue(kPort) == count;
    }

    PortLinkHome home;
    PtyPeer peer{home, kPort};
    QtSerialPort serial;
};

} // namespace dornal::testing
