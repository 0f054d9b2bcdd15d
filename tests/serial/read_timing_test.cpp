#include "serial_fixture.h"

#include <cstdio>
#include <thread>

namespace dornal::testing {
namespace {

using namespace std::chrono_literals;

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

using ReadTimingTest = SerialLineTest;

TEST_F(ReadTimingTest, ADrainTakesSixteenOfTwentyWaitingBytesAtOnce) {
    peer.send("abcdefghijklmnopqrst");
    ASSERT_TRUE(awaitWaiting(20));
    char buffer[101] = {};
    const Stopwatch watch;
    EXPECT_EQ(serial.sio_read(kPort, buffer, timing::kDrainBytes), 16);
    EXPECT_LT(watch.elapsedMs(), 50);
    EXPECT_EQ(std::string(buffer, 16), "abcdefghijklmnop");
    EXPECT_EQ(serial.sio_iqueue(kPort), 4);
    EXPECT_EQ(serial.sio_getch(kPort), 'q');
}

// Each case: what waits, the time-outs, and how long the drain may take.
struct DrainCase {
    const char* name;
    std::string waiting;
    long totalMs;
    long intervalMs;
    int expectedCount;
    double minMs;
    double maxMs;
};

void PrintTo(const DrainCase& c, std::ostream* out) {
    *out << c.name;
}

class DrainTimingTest : public SerialLineTest, public ::testing::WithParamInterface<DrainCase> {};

TEST_P(DrainTimingTest, TheDrainEndsWhenItsTimeOutsRunOut) {
    const DrainCase& c = GetParam();
    serial.sio_SetReadTimeouts(kPort, c.totalMs, c.intervalMs);
    if (!c.waiting.empty()) {
        peer.send(c.waiting);
        ASSERT_TRUE(awaitWaiting(static_cast<int>(c.waiting.size())));
    }
    char buffer[101] = {};
    const Stopwatch watch;
    EXPECT_EQ(serial.sio_read(kPort, buffer, timing::kDrainBytes), c.expectedCount);
    EXPECT_GE(watch.elapsedMs(), c.minMs);
    EXPECT_LE(watch.elapsedMs(), c.maxMs);
    EXPECT_EQ(std::string(buffer, c.waiting.size()), c.waiting);
}

INSTANTIATE_TEST_SUITE_P(
    Drains, DrainTimingTest,
    ::testing::Values(DrainCase{"NothingWaiting", "", 100, 100, 0, 80, 300},
                      DrainCase{"FourWaiting", "wxyz", 100, 100, 4, 80, 300},
                      DrainCase{"IntervalEndsItEarly", "abc", 1000, 50, 3, 40, 300},
                      DrainCase{"NoTotalTakesOnlyWhatWaits", "ab", 0, 100, 2, 0, 30}),
    [](const auto& info) { return info.param.name; });

TEST_F(ReadTimingTest, TheTotalBoundHoldsWhileBytesKeepTrickling) {
    serial.sio_SetReadTimeouts(kPort, 200, 100);
    const LaterSender sender(peer, "0123456789", 0ms, 40ms);
    char buffer[101] = {};
    const Stopwatch watch;
    const int taken = serial.sio_read(kPort, buffer, timing::kDrainBytes);
    EXPECT_GE(watch.elapsedMs(), 180);
    EXPECT_LE(watch.elapsedMs(), 400);
    EXPECT_GE(taken, 3);
    EXPECT_LT(taken, 10);
}

TEST_F(ReadTimingTest, AReadCompletesAsSoonAsItsLengthArrives) {
    serial.sio_SetReadTimeouts(kPort, 2000, 1000);
    const LaterSender sender(peer, "ABCD", 50ms, 10ms);
    char buffer[8] = {};
    const Stopwatch watch;
    EXPECT_EQ(serial.sio_read(kPort, buffer, 4), 4);
    EXPECT_LT(watch.elapsedMs(), 500);
    EXPECT_EQ(std::string(buffer, 4), "ABCD");
}

TEST_F(ReadTimingTest, WaitByteReturnsAByteThatArrivesLater) {
    const LaterSender sender(peer, "y", 150ms);
    const Stopwatch watch;
    EXPECT_EQ(serial.waitByte(kPort, 2000), 'y');
    EXPECT_GE(watch.elapsedMs(), 100);
    EXPECT_LT(watch.elapsedMs(), 1000);
}

TEST_F(ReadTimingTest, WaitByteTimesOutNearItsBound) {
    const Stopwatch watch;
    EXPECT_EQ(serial.waitByte(kPort, 200), SerialPort::kNoByte);
    EXPECT_GE(watch.elapsedMs(), 195);
    EXPECT_LT(watch.elapsedMs(), 400);
}

TEST_F(ReadTimingTest, WaitingOnASilentLineCostsAlmostNoProcessorTime) {
    const Stopwatch watch;
    EXPECT_EQ(serial.waitByte(kPort, timing::kAnswerTimeoutMs), SerialPort::kNoByte);
    const double share = watch.cpuUsedMs() / watch.elapsedMs();
    EXPECT_LT(share, 0.05);
    std::printf("[ measure  ] silent waitByte(%d): %.1f ms wall, %.3f ms CPU (%.4f%%)\n",
                timing::kAnswerTimeoutMs, watch.elapsedMs(), watch.cpuUsedMs(), share * 100);
}

} // namespace
} // namespace dornal::testing
