#include "line_fixture.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include <filesystem>
#include <fstream>
#include <numeric>
#include <span>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

namespace dornal::testing {
namespace {

std::span<const std::uint8_t> bytesOf(const std::string& text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

// A device starts with the terminal defaults (line editing, echo, CR/LF and XON/XOFF handling,
// maybe 7 bits with parity): opening must make it carry every byte value untouched both ways.
TEST_F(QtLineTest, OpensAtItsRateEightBitsNoParityAndCarriesEveryByteUntouched) {
    EXPECT_EQ(peer.lineSpeed(), speed_t{B115200});
    termios cooked = peer.lineSettings();
    cooked.c_cflag = (cooked.c_cflag & ~CSIZE) | CS7 | PARENB | CSTOPB;
    cooked.c_iflag |= ICRNL | IXON | ISTRIP;
    cooked.c_oflag |= OPOST | ONLCR;
    cooked.c_lflag |= ICANON | ECHO | ISIG | IEXTEN;
    peer.setLineSettings(cooked);
    ASSERT_EQ(line.open(1, 9600), Line::OpenResult::Opened) << "the open line is closed first";
    EXPECT_EQ(peer.lineSpeed(), speed_t{B9600});
    EXPECT_EQ(peer.lineSettings().c_cflag & (CSIZE | PARENB | CSTOPB), tcflag_t{CS8});
    std::string every(256, '\0');
    std::iota(every.begin(), every.end(), '\0');
    EXPECT_TRUE(line.write(bytesOf(every)));
    EXPECT_EQ(peer.receive(every.size() + 1, 200ms), every);
    peer.send(every);
    std::string received;
    for (int byte; (byte = line.waitByte(200)) >= 0;)
        received.push_back(static_cast<char>(byte));
    EXPECT_EQ(received, every);
    EXPECT_EQ(peer.receive(1, 50ms), "") << "no echo";
}

TEST_F(QtLineTest, OnlyAnExistingDeviceBehindPortsOneToEightOpens) {
    for (int port : {0, 9, -1})
        EXPECT_EQ(line.open(port, 9600), Line::OpenResult::NoSuchPort) << port;
    expectRefused(); // opening closed the line that was open
    std::filesystem::create_symlink("/dev/no-such-serial-device", home.link(2));
    EXPECT_EQ(line.open(2, 9600), Line::OpenResult::Missing);
    std::ofstream{home.root() + "/plain"};
    std::filesystem::create_symlink(home.root() + "/plain", home.link(3));
    EXPECT_EQ(line.open(3, 9600), Line::OpenResult::Failed) << "not a serial device";
    EXPECT_EQ(line.open(1, -1), Line::OpenResult::Failed) << "a rate the line refuses";
    expectRefused();
    EXPECT_EQ(line.open(1, 9600), Line::OpenResult::Opened);
}

TEST_F(QtLineTest, AnOpenDeviceIsBusyForAnyOtherOpenerHereOrInAnotherProcess) {
    QtLine other;
    EXPECT_EQ(other.open(1, 9600), Line::OpenResult::Busy);
    std::filesystem::create_symlink(std::filesystem::read_symlink(home.link(1)), home.link(2));
    EXPECT_EQ(other.open(2, 9600), Line::OpenResult::Busy) << "another port naming the device";
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0)
        _exit(QtLine().open(1, 9600) == Line::OpenResult::Busy ? 0 : 1);
    int status = -1;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the other process opened it";
    EXPECT_TRUE(line.write(bytesOf("x"))) << "the refused openers left the line alone";
    EXPECT_EQ(peer.receive(1), "x");
    line.close();
    EXPECT_EQ(other.open(1, 9600), Line::OpenResult::Opened) << "free again once closed";
}

TEST_F(QtLineTest, AReadReturnsOnceItsCountCameOrElseWhatCameWhenItsBoundPassed) {
    std::array<std::uint8_t, 4> buffer{};
    {
        const std::jthread sender = sendLater(peer, "ABCD", 50ms, 20ms);
        const Stopwatch watch;
        EXPECT_EQ(line.read(buffer, 2000), 4);
        EXPECT_LT(watch.ms(), 500);
    }
    EXPECT_EQ(std::string(buffer.begin(), buffer.end()), "ABCD");
    peer.send("xy");
    const Stopwatch watch;
    EXPECT_EQ(line.read(buffer, 300), 2);
    EXPECT_GE(watch.ms(), 300);
    EXPECT_LT(watch.ms(), 600);
    EXPECT_EQ(buffer[1], 'y');
}

TEST_F(QtLineTest, WaitingForAByteEndsWithTheByteOrItsBoundWithoutSpendingCpu) {
    {
        const std::jthread sender = sendLater(peer, "y", 150ms);
        const Stopwatch watch;
        EXPECT_EQ(line.waitByte(2000), 'y');
        EXPECT_GE(watch.ms(), 100);
        EXPECT_LT(watch.ms(), 1000);
    }
    const Stopwatch watch;
    const std::int64_t start = line.nowMs();
    EXPECT_EQ(line.waitByte(2000), Line::kNoByte);
    EXPECT_GE(watch.ms(), 2000);
    EXPECT_LT(watch.ms(), 2300);
    EXPECT_NEAR(static_cast<double>(line.nowMs() - start), watch.ms(), 20);
    EXPECT_LT(watch.cpuMs(), 100);
    const Stopwatch now;
    EXPECT_EQ(line.waitByte(0), Line::kNoByte);
    EXPECT_LT(now.ms(), 20);
}

TEST_F(QtLineTest, ADrainTakesSixteenWaitingBytesAtOnceOrWaitsItsBoundForFewer) {
    peer.send("abcdefghijklmnopqrst");
    ASSERT_TRUE(awaitWaiting(20));
    const Stopwatch full;
    line.drain();
    EXPECT_LT(full.ms(), 50);
    EXPECT_EQ(line.waiting(), 4);
    EXPECT_EQ(line.waitByte(0), 'q');
    const Stopwatch few;
    line.drain();
    EXPECT_EQ(line.waiting(), 0);
    EXPECT_GE(few.ms(), 100);
    EXPECT_LT(few.ms(), 300);
}

TEST_F(QtLineTest, AfterAHangUpTheBytesReceivedComeOutThenEveryOperationFailsAtOnce) {
    peer.send("pq");
    ASSERT_TRUE(awaitWaiting(2));
    peer.hangUp();
    EXPECT_EQ(line.waitByte(1000), 'p');
    std::array<std::uint8_t, 16> buffer{};
    EXPECT_EQ(line.read(buffer, 1000), 1);
    EXPECT_EQ(buffer[0], 'q');
    expectRefused();
    line.close();
    expectRefused();
    std::filesystem::remove(home.link(1));
    PtyPeer replugged(home, 1);
    ASSERT_EQ(line.open(1, 9600), Line::OpenResult::Opened);
    EXPECT_TRUE(line.write(bytesOf("z")));
    EXPECT_EQ(replugged.receive(1), "z");
}

TEST_F(QtLineTest, AHangUpDuringAWaitEndsTheWaitAtOnce) {
    const std::jthread unplug([this] {
        std::this_thread::sleep_for(100ms);
        peer.hangUp();
    });
    const Stopwatch watch;
    EXPECT_EQ(line.waitByte(3000), Line::kPortError);
    EXPECT_LT(watch.ms(), 1000);
    EXPECT_LT(watch.cpuMs(), 50);
}

// The window's event loop runs between ticks; a hung-up line must not keep it busy.
TEST_F(QtLineTest, AHungUpLineLeavesTheEventLoopIdle) {
    if (QCoreApplication::instance() == nullptr)
        GTEST_SKIP() << "needs the application object";
    peer.hangUp();
    QEventLoop loop;
    QTimer::singleShot(500, &loop, &QEventLoop::quit);
    const Stopwatch watch;
    loop.exec();
    EXPECT_LT(watch.cpuMs(), 50);
    expectRefused();
}

// Nobody reads the far end: the write gives up after its bound, and the line stays usable.
TEST_F(QtLineTest, AWriteTheLineDoesNotTakeIsDroppedAfterItsBound) {
    const std::string flood(512 * 1024, 'F');
    const Stopwatch watch;
    EXPECT_FALSE(line.write(bytesOf(flood)));
    EXPECT_GE(watch.ms(), 1000);
    EXPECT_LT(watch.ms(), 1500);
    EXPECT_LT(watch.cpuMs(), 100);
    EXPECT_LT(peer.receive(flood.size(), 100ms).size(), flood.size());
    EXPECT_TRUE(line.write(bytesOf("x")));
    EXPECT_EQ(peer.receive(1), "x");
}

// Tools without Qt's event loop use the line without an application object.
TEST(NoApplicationTest, TheLineTestsPassWithoutAnApplicationObject) {
    if (QCoreApplication::instance() == nullptr)
        GTEST_SKIP() << "already running without one";
    const std::string self = std::filesystem::read_symlink("/proc/self/exe");
    const std::string command = "DORNAL_SERIAL_NO_APP=1 '" + self +
                                "' --gtest_brief=1 --gtest_filter='QtLineTest.*' >/dev/null 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0);
}

} // namespace
} // namespace dornal::testing
