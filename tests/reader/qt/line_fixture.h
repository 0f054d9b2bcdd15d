#pragma once

#include "reader/qt/qt_line.h"
#include "support/cpu_clock.h"
#include "support/pty_peer.h"

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <string>
#include <thread>

namespace dornal::testing {

using namespace std::chrono_literals;

// Wall time and process CPU time since construction, in milliseconds.
class Stopwatch {
public:
    double ms() const {
        return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - wall_)
            .count();
    }
    double cpuMs() const { return (processCpuSeconds() - cpu_) * 1e3; }

private:
    std::chrono::steady_clock::time_point wall_ = std::chrono::steady_clock::now();
    double cpu_ = processCpuSeconds();
};

// The far end sends `bytes` one at a time, `gap` apart, after `delay`, while the test blocks.
inline std::jthread sendLater(PtyPeer& peer, std::string bytes, std::chrono::milliseconds delay,
                              std::chrono::milliseconds gap = 0ms) {
    return std::jthread([&peer, bytes, delay, gap] {
        std::this_thread::sleep_for(delay);
        for (char byte : bytes) {
            peer.send(std::string(1, byte));
            std::this_thread::sleep_for(gap);
        }
    });
}

// Port 1 opened at 115200 on a pseudo-terminal.
class QtLineTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(line.open(1, 115200), Line::OpenResult::Opened); }

    // Bytes from the far end need a moment to cross the pseudo-terminal.
    bool awaitWaiting(int count) {
        const auto deadline = std::chrono::steady_clock::now() + 2s;
        while (line.waiting() < count && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(2ms);
        return line.waiting() == count;
    }

    // Every operation fails, and at once.
    void expectRefused() {
        std::array<std::uint8_t, 16> buffer{};
        const Stopwatch watch;
        EXPECT_EQ(line.waitByte(2000), Line::kPortError);
        EXPECT_EQ(line.read(buffer, 2000), Line::kPortError);
        EXPECT_EQ(line.waiting(), Line::kPortError);
        EXPECT_FALSE(line.write(buffer));
        EXPECT_LT(watch.ms(), 100);
    }

    PortLinkHome home;
    PtyPeer peer{home, 1};
    QtLine line;
};

} // namespace dornal::testing
