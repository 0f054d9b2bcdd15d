#include "serial_fixture.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include <functional>

namespace dornal::testing {
namespace {

using HangUpTest = SerialLineTest;

TEST_F(HangUpTest, BytesReceivedBeforeAreHandedOutThenEveryOperationFailsAtOnceUntilClosed) {
    peer.send("pq");
    ASSERT_TRUE(awaitWaiting(2));
    peer.hangUp();
    EXPECT_EQ(serial.waitByte(kPort, 1000), 'p');
    EXPECT_EQ(serial.sio_getch(kPort), 'q');
    char buffer[101];
    const std::pair<const char*, std::function<int()>> operations[] = {
        {"waitByte", [&] { return serial.waitByte(kPort, timing::kAnswerTimeoutMs); }},
        {"getch", [&] { return serial.sio_getch(kPort); }},
        {"iqueue", [&] { return serial.sio_iqueue(kPort); }},
        {"read", [&] { return serial.sio_read(kPort, buffer, 16); }},
        {"putch", [&] { return serial.sio_putch(kPort, 27); }},
        {"timeouts", [&] { return serial.sio_SetReadTimeouts(kPort, 100, 100); }},
        {"ioctl", [&] { return serial.sio_ioctl(kPort, 12, 3); }},
    };
    const Stopwatch watch;
    for (const auto& [name, operation] : operations)
        EXPECT_EQ(operation(), SerialPort::kPortError) << name;
    EXPECT_LT(watch.elapsedMs(), 100);
    EXPECT_EQ(serial.sio_close(kPort), 0);
    EXPECT_EQ(serial.sio_getch(kPort), SerialPort::kPortError);
}

TEST_F(HangUpTest, AHangUpDuringAReadEndsTheRead) {
    serial.sio_SetReadTimeouts(kPort, 3000, 3000);
    std::thread unplug([this] {
        std::this_thread::sleep_for(100ms);
        peer.hangUp();
    });
    char buffer[101];
    const Stopwatch watch;
    const int result = serial.sio_read(kPort, buffer, 16);
    unplug.join();
    EXPECT_EQ(result, SerialPort::kPortError);
    EXPECT_LT(watch.elapsedMs(), 1000);
    EXPECT_LT(watch.cpuShare(), 0.05);
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
    EXPECT_LT(watch.cpuShare(), 0.05);
    EXPECT_EQ(serial.sio_getch(kPort), SerialPort::kPortError);
}

TEST_F(HangUpTest, TheLineCanBeOpenedAgainAfterClosingTheFailedOne) {
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
