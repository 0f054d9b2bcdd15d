#include "serial_fixture.h"

namespace dornal::testing {
namespace {

using ExchangeTest = SerialLineTest;

TEST_F(ExchangeTest, TheWaitingCountFollowsArrivalsAndTakingsAndGetchNeverBlocks) {
    const Stopwatch watch;
    EXPECT_EQ(serial.sio_getch(kPort), SerialPort::kNoByte);
    EXPECT_LT(watch.elapsedMs(), 20);
    peer.send("12345");
    ASSERT_TRUE(awaitWaiting(5));
    EXPECT_EQ(serial.sio_getch(kPort), '1');
    EXPECT_EQ(serial.sio_iqueue(kPort), 4);
    peer.send("678");
    EXPECT_TRUE(awaitWaiting(7));
}

TEST_F(ExchangeTest, ValuesOutsideAByteAreRefusedAndNothingIsSent) {
    for (int value : {-1, 256, 1000})
        EXPECT_EQ(serial.sio_putch(kPort, value), QtSerialPort::kBadArgument) << value;
    EXPECT_EQ(serial.writeCalls(), 0);
    EXPECT_EQ(peer.receive(1, 50ms), "");
}

// Outside a batch each byte leaves at once; a batch, nested or not, leaves in one write when the
// outermost one ends, and an empty or unmatched end writes nothing.
TEST_F(ExchangeTest, ABatchLeavesInOneWriteWhenItEnds) {
    serial.sio_putch(kPort, 27);
    EXPECT_EQ(peer.receive(1), "\x1b");
    EXPECT_EQ(serial.writeCalls(), 1);
    { const OneWrite nothing(serial, kPort); }
    EXPECT_EQ(serial.writeCalls(), 1);

    const std::string frame = "\x1b*\x1bt" + std::string(40, '5') + "A" + std::string(107, '7') +
                              "~" + std::string(79, 'A') + "\x1d\x1b\\\x1bj";
    {
        const OneWrite oneWrite(serial, kPort);
        serial.beginBatch(kPort);
        for (char byte : frame)
            serial.sio_putch(kPort, static_cast<unsigned char>(byte));
        serial.endBatch(kPort);
        EXPECT_EQ(peer.receive(1, 50ms), "") << "left before the end";
    }
    EXPECT_EQ(serial.writeCalls(), 2);
    EXPECT_EQ(peer.receive(frame.size()), frame);
    serial.endBatch(kPort);
    EXPECT_EQ(serial.writeCalls(), 2);
}

// Nobody reads the far end, so the line stops taking bytes: the write gives up after its
// bound, without spinning, and the line stays usable once the far end reads again.
TEST_F(ExchangeTest, AWriteToAStalledLineGivesUpAfterItsBound) {
    const std::string flood(512 * 1024, 'F');
    serial.beginBatch(kPort);
    for (char byte : flood)
        serial.sio_putch(kPort, static_cast<unsigned char>(byte));
    const Stopwatch watch;
    serial.endBatch(kPort);
    EXPECT_GE(watch.elapsedMs(), timing::kWriteTimeoutMs - 5);
    EXPECT_LT(watch.elapsedMs(), timing::kWriteTimeoutMs + 500);
    EXPECT_LT(watch.cpuShare(), 0.05);
    EXPECT_LT(peer.receive(flood.size(), 100ms).size(), flood.size());
    EXPECT_EQ(serial.sio_putch(kPort, 'x'), 0);
    EXPECT_EQ(peer.receive(1), "x");
}

} // namespace
} // namespace dornal::testing
