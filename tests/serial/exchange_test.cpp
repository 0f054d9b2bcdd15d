#include "serial_fixture.h"

#include <cstdio>

namespace dornal::testing {
namespace {

using ExchangeTest = SerialLineTest;

TEST_F(ExchangeTest, EveryByteValueReachesTheFarEndUnchanged) {
    const std::string bytes = allByteValues();
    for (char byte : bytes)
        ASSERT_EQ(serial.sio_putch(kPort, static_cast<unsigned char>(byte)), 0);
    EXPECT_EQ(peer.receive(bytes.size()), bytes);
}

TEST_F(ExchangeTest, EveryByteValueComesInUnchanged) {
    const std::string bytes = allByteValues();
    peer.send(bytes);
    std::string received;
    while (received.size() < bytes.size()) {
        const int byte = serial.waitByte(kPort, 1000);
        if (byte < 0)
            break;
        received.push_back(static_cast<char>(byte));
    }
    EXPECT_EQ(received, bytes);
    EXPECT_EQ(serial.sio_getch(kPort), SerialPort::kNoByte);
}

TEST_F(ExchangeTest, GetchAnswersAtOnceWhenNoByteWaits) {
    const Stopwatch watch;
    EXPECT_EQ(serial.sio_getch(kPort), SerialPort::kNoByte);
    EXPECT_LT(watch.elapsedMs(), 20);
}

TEST_F(ExchangeTest, TheWaitingCountFollowsArrivalsAndTakings) {
    EXPECT_EQ(serial.sio_iqueue(kPort), 0);
    peer.send("12345");
    ASSERT_TRUE(awaitWaiting(5));
    serial.sio_getch(kPort);
    EXPECT_EQ(serial.sio_iqueue(kPort), 4);
    peer.send("678");
    EXPECT_TRUE(awaitWaiting(7));
}

TEST_F(ExchangeTest, ValuesOutsideAByteAreRefusedAndNothingIsSent) {
    for (int value : {-1, 256, 1000})
        EXPECT_EQ(serial.sio_putch(kPort, value), QtSerialPort::kBadArgument) << value;
    EXPECT_EQ(serial.writeCalls(), 0);
    EXPECT_EQ(peer.receive(1, std::chrono::milliseconds(50)), "");
}

TEST_F(ExchangeTest, OutsideABatchEachByteLeavesAtOnce) {
    serial.sio_putch(kPort, 27);
    EXPECT_EQ(peer.receive(1), "\x1b");
    serial.sio_putch(kPort, 'a');
    EXPECT_EQ(peer.receive(1), "a");
    EXPECT_EQ(serial.writeCalls(), 2);
}

// A write frame as the bench sends it: Itrip, ESC "t", track 2, "A" track 3, "~" track 1,
// trailer.
std::string writeFrame() {
    std::string frame = "\x1b*\x1bt";
    frame += std::string(40, '5') + "A" + std::string(107, '7') + "~" + std::string(79, 'A');
    frame += std::string{29, 27, 92, 27, 106};
    return frame;
}

TEST_F(ExchangeTest, ABatchLeavesInOneWriteWhenItEnds) {
    const std::string frame = writeFrame();
    Stopwatch watch;
    {
        const OneWrite oneWrite(serial, kPort);
        for (char byte : frame)
            serial.sio_putch(kPort, static_cast<unsigned char>(byte));
        EXPECT_EQ(serial.writeCalls(), 0);
        EXPECT_EQ(peer.receive(1, std::chrono::milliseconds(50)), "") << "left before the end";
        watch = Stopwatch();
    }
    const double writeMs = watch.elapsedMs();
    EXPECT_EQ(serial.writeCalls(), 1);
    EXPECT_EQ(peer.receive(frame.size()), frame);
    const double arrivedMs = watch.elapsedMs();
    EXPECT_LT(writeMs, 50);
    std::printf("[ measure  ] frame of %zu bytes: 1 write, handed over in %.3f ms, "
                "all at the far end after %.3f ms\n",
                frame.size(), writeMs, arrivedMs);
}

TEST_F(ExchangeTest, NestedBatchesLeaveWhenTheOutermostEnds) {
    { const OneWrite nothing(serial, kPort); }
    EXPECT_EQ(serial.writeCalls(), 0) << "an empty batch writes nothing";
    serial.beginBatch(kPort);
    serial.sio_putch(kPort, 27);
    serial.beginBatch(kPort);
    serial.sio_putch(kPort, 'e');
    serial.endBatch(kPort);
    EXPECT_EQ(serial.writeCalls(), 0);
    serial.sio_putch(kPort, '0');
    serial.endBatch(kPort);
    EXPECT_EQ(serial.writeCalls(), 1);
    EXPECT_EQ(peer.receive(3), "\x1b"
                               "e0");
    serial.endBatch(kPort); // an unmatched end sends nothing
    EXPECT_EQ(serial.writeCalls(), 1);
}

// Nobody reads the far end, so the line stops taking bytes: the write gives up after its
// bound, without spinning, and the line stays usable once the far end reads again.
TEST_F(ExchangeTest, AWriteToAStalledLineGivesUpAfterItsBound) {
    const std::string flood(512 * 1024, 'F');
    Stopwatch watch;
    {
        const OneWrite oneWrite(serial, kPort);
        for (char byte : flood)
            serial.sio_putch(kPort, static_cast<unsigned char>(byte));
        watch = Stopwatch();
    }
    EXPECT_GE(watch.elapsedMs(), timing::kWriteTimeoutMs - 5);
    EXPECT_LT(watch.elapsedMs(), timing::kWriteTimeoutMs + 500);
    EXPECT_LT(watch.cpuUsedMs() / watch.elapsedMs(), 0.05);
    EXPECT_LT(peer.receive(flood.size(), std::chrono::milliseconds(100)).size(), flood.size());
    EXPECT_EQ(serial.sio_putch(kPort, 'x'), 0);
    EXPECT_EQ(peer.receive(1), "x");
}

} // namespace
} // namespace dornal::testing
