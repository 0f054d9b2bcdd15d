#pragma once

#include "reader/qt/qt_serial_port.h"
#include "reader/timing.h"
#include "support/pty_peer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <ctime>
#include <string>
#include <thread>

namespace dornal::testing {

// Wall time and process CPU time since construction.
class Stopwatch {
  public:
    Stopwatch() : wall_(std::chrono::steady_clock::now()), cpu_(cpuMs()) {}
    double elapsedMs() const {
        return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - wall_)
            .count();
    }
    double cpuUsedMs() const { return cpuMs() - cpu_; }

  private:
    static double cpuMs() {
        timespec now{};
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
        return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
    }
    std::chrono::steady_clock::time_point wall_;
    double cpu_;
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
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
        while (serial.sio_iqueue(kPort) < count) {
            if (std::chrono::steady_clock::now() > deadline)
                return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        return serial.sio_iqueue(kPort) == count;
    }

    static std::string allByteValues() {
        std::string bytes;
        for (int value = 0; value < 256; ++value)
            bytes.push_back(static_cast<char>(value));
        return bytes;
    }

    PortLinkHome home;
    PtyPeer peer{home, kPort};
    QtSerialPort serial;
};

} // namespace dornal::testing
