#include "serial_fixture.h"

namespace dornal::testing {
namespace {

using ReadTimingTest = SerialLineTest;

TEST_F(ReadTimingTest, ADrainTakesSixteenOfTwentyWaitingBytesAtOnce) {
    peer.send("abcdefghijklmnopqrst");
    ASSERT_TRUE(awaitWaiting(20));
    char buffer[101] = {};
    const Stopwatch watch;
    EXPECT_EQ(serial.sio_read(kPort, buffer, timing::kDrainBytes), 16);
    EXPECT_LT(watch.elapsedMs(), 50);
    EXPECT_EQ(std::string(buffer, 17), std::string("abcdefghijklmnop") + '\0');
    EXPECT_EQ(serial.sio_iqueue(kPort), 4);
    EXPECT_EQ(serial.sio_getch(kPort), 'q');
}

TEST_F(ReadTimingTest, TheDrainEndsWhenItsTimeOutsRunOut) {
    const struct {
        std::string waiting;
        long totalMs, intervalMs;
        double minMs, maxMs;
    } cases[] = {
        {"", 100, 100, 80, 300},
        {"wxyz", 100, 100, 80, 300},
        {"abc", 1000, 50, 40, 300}, // the interval ends it early
        {"ab", 0, 100, 0, 30},      // without a total it takes only what waits
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.waiting);
        serial.sio_SetReadTimeouts(kPort, c.totalMs, c.intervalMs);
        peer.send(c.waiting);
        ASSERT_TRUE(awaitWaiting(static_cast<int>(c.waiting.size())));
        char buffer[101] = {};
        const Stopwatch watch;
        EXPECT_EQ(serial.sio_read(kPort, buffer, timing::kDrainBytes), c.waiting.size());
        EXPECT_GE(watch.elapsedMs(), c.minMs);
        EXPECT_LE(watch.elapsedMs(), c.maxMs);
        EXPECT_EQ(std::string(buffer), c.waiting);
    }
}

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

TEST_F(ReadTimingTest, WaitByteBlocksWithoutSpinningUntilAByteOrItsBound) {
    {
        const LaterSender sender(peer, "y", 150ms);
        const Stopwatch watch;
        EXPECT_EQ(serial.waitByte(kPort, 2000), 'y');
        EXPECT_GE(watch.elapsedMs(), 100);
        EXPECT_LT(watch.elapsedMs(), 1000);
    }
    const Stopwatch watch;
    EXPECT_EQ(serial.waitByte(kPort, 300), SerialPort::kNoByte);
    EXPECT_GE(watch.elapsedMs(), 295);
    EXPECT_LT(watch.elapsedMs(), 500);
    EXPECT_LT(watch.cpuShare(), 0.05);
}

} // namespace
} // namespace dornal::testing
