#include "serial_fixture.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include <cstdio>
#include <functional>
#include <thread>

namespace dornal::testing {
namespace {

using HangUpTest = SerialLineTest;

TEST_F(HangUpTest, AWaitEndsAtOnceWithAPortErrorAndDoesNotSpin) {
    peer.hangUp();
    const Stopwatch watch;
    EXPECT_EQ(serial.waitByte(kPort, timing::kAnswerTimeoutMs), SerialPort::kPortError);
    EXPECT_LT(watch.elapsedMs(), 100);
    std::printf("[ measure  ] waitByte after hang-up: %.3f ms wall, %.3f ms CPU\n",
                watch.elapsedMs(), watch.cpuUsedMs());
}

TEST_F(HangUpTest, EveryLaterOperationReportsThePortErrorAtOnceUntilClosed) {
    peer.hangUp();
    EXPECT_EQ(serial.sio_getch(kPort), SerialPort::kPortError);
    char buffer[101];
    const std::pair<const char*, std::function<int()>> operations[] = {
        {"getch", [&] { return serial.sio_getch(kPort); }},
        {"iqueue", [&] { return serial.sio_iqueue(kPort); }},
        {"read", [&] { return serial.sio_read(kPort, buffer, 16); }},
        {"putch", [&] { return serial.sio_putch(kPort, 27); }},
        {"waitByte", [&] { return serial.waitByte(kPort, 1000); }},
        {"timeouts", [&] { return serial.sio_SetReadTimeouts(kPort, 100, 100); }},
        {"ioctl", [&] { return serial.sio_ioctl(kPort, 12, 3); }},
    };
    const Stopwatch watch;
    for (const auto& [name, operation] : operations) {
        const int result = operation();
        EXPECT_LT(result, 0) << name;
        EXPECT_NE(result, SerialPort::kNoByte) << name;
    }
    EXPECT_LT(watch.elapsedMs(), 100);
    EXPECT_LT(watch.cpuUsedMs(), 50);
    EXPECT_EQ(serial.sio_close(kPort), 0);
    EXPECT_EQ(serial.sio_getch(kPort), SerialPort::kPortError);
}

TEST_F(HangUpTest, AHangUpDuringAReadEndsTheRead) {
    serial.sio_SetReadTimeouts(kPort, 3000, 3000);
    std::thread unplug([this] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        peer.hangUp();
    });
    char buffer[101];
    const Stopwatch watch;
    const int result = serial.sio_read(kPort, buffer, 16);
    unplug.join();
    EXPECT_EQ(result, SerialPort::kPortError);
    EXPECT_LT(watch.elapsedMs(), 1000);
    EXPECT_LT(watch.cpuUsedMs() / watch.elapsedMs(), 0.05);
}

TEST_F(HangUpTest, BytesReceivedBeforeTheHangUpAreStillHandedOut) {
    peer.send("pq");
    ASSERT_TRUE(awaitWaiting(2));
    peer.hangUp();
    EXPECT_EQ(serial.waitByte(kPort, 1000), 'p');
    EXPECT_EQ(serial.sio_getch(kPort), 'q');
    EXPECT_EQ(serial.sio_getch(kPort), SerialPort::kPortError);
}

TEST_F(HangUpTest, AWriteToAHungUpLineFails) {
    peer.hangUp();
    {
        const OneWrite oneWrite(serial, kPort);
        serial.sio_putch(kPort, 27);
    }
    EXPECT_EQ(serial.sio_putch(kPort, 'a'), SerialPort::kPortError);
}

// The window's event loop runs between ticks; a hung-up line must not keep it busy.
TEST_F(HangUpTest, TheEventLoopStaysIdleAfterAHangUp) {
    if (QCoreApplication::instance() == nullptr)
        GTEST_SKIP() << "needs the application object";
    peer.hangUp();
    QEventLoop loop;
    const Stopwatch watch;
    QTimer::singleShot(500, &loop, &QEventLoop::quit);
    loop.exec();
    const double share = watch.cpuUsedMs() / watch.elapsedMs();
    EXPECT_LT(share, 0.05);
    EXPECT_EQ(serial.sio_getch(kPort), SerialPort::kPortError);
    std::printf("[ measure  ] event loop 500 ms after hang-up: %.3f ms CPU (%.2f%%)\n",
                watch.cpuUsedMs(), share * 100);
}

TEST_F(HangUpTest, AnotherLineCanBeOpenedAfterClosingTheFailedOne) {
    peer.hangUp();
    EXPECT_EQ(serial.sio_getch(kPort), SerialPort::kPortError);
    ASSERT_EQ(serial.sio_close(kPort), 0);
    std::filesystem::remove(home.link(kPort));
    PtyPeer replugged(home, kPort);
    ASSERT_EQ(serial.sio_open(kPort), 0);
    serial.sio_putch(kPort, 'z');
    EXPECT_EQ(replugged.receive(1), "z");
}

} // namespace
} // namespace dornal::testing
