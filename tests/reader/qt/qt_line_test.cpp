// The serial line on pseudo-terminals, the ports' device paths and why a port does not open.
#include "reader/input.h"
#include "reader/qt/open_failure_reason.h"
#include "reader/qt/port_path.h"
#include "reader/qt/qt_line.h"
#include "shared/port_links.h"
#include "support/cpu_clock.h"
#include "support/port_links.h"
#include "support/pty_peer.h"
#include "support/run_with_events.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <numeric>
#include <pwd.h>
#include <span>
#include <termios.h>
#include <thread>

namespace dornal::testing {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

std::span<const std::uint8_t> bytesOf(const std::string& text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

// Wall time and process CPU time since construction, in milliseconds.
struct Stopwatch {
    std::chrono::steady_clock::time_point wall = std::chrono::steady_clock::now();
    double cpu = processCpuSeconds();
    double ms() const { return (std::chrono::steady_clock::now() - wall) / 1.0ms; }
    double cpuMs() const { return (processCpuSeconds() - cpu) * 1e3; }
};

// Wall time within [low, high) milliseconds.
auto Took(double low, double high) {
    return ::testing::AllOf(::testing::Ge(low), ::testing::Lt(high));
}

// The far end acts after `delay` while the test blocks.
std::jthread after(std::chrono::milliseconds delay, std::function<void()> act) {
    return std::jthread([delay, act] {
        std::this_thread::sleep_for(delay);
        act();
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

    // The next byte as the bench awaits it, the event loop turning meanwhile.
    int nextByte(int timeoutMs) { return runWithEvents(input.nextByte(timeoutMs)); }
    std::string drain() { return runWithEvents(input.drain()); }

    // Every operation fails, and at once.
    void expectRefused() {
        std::array<std::uint8_t, 16> buffer{};
        const Stopwatch watch;
        EXPECT_EQ(
            (std::tuple{nextByte(2000), line.take(buffer), line.waiting(), line.write(buffer)}),
            (std::tuple{Line::kPortError, Line::kPortError, Line::kPortError, false}));
        EXPECT_LT(watch.ms(), 100);
    }

    PortLinkHome home;
    PtyPeer peer{home, 1};
    QtLine line;
    Input input{line};
};

// A device starts with the terminal defaults (line editing, echo, CR/LF and XON/XOFF handling,
// maybe 7 bits with parity): opening must make it carry every byte value untouched both ways.
TEST_F(QtLineTest, OpensAtItsRateEightBitsNoParityAndCarriesEveryByteUntouched) {
    EXPECT_EQ(peer.programSpeed(), speed_t{B115200});
    termios cooked = peer.lineSettings();
    cooked.c_cflag = (cooked.c_cflag & ~CSIZE) | CS7 | PARENB | CSTOPB;
    cooked.c_iflag |= ICRNL | IXON | ISTRIP;
    cooked.c_oflag |= OPOST | ONLCR;
    cooked.c_lflag |= ICANON | ECHO | ISIG | IEXTEN;
    peer.setLineSettings(cooked);
    ASSERT_EQ(line.open(1, 9600), Line::OpenResult::Opened) << "the open line is closed first";
    EXPECT_EQ(peer.programSpeed(), speed_t{B9600});
    EXPECT_EQ(peer.lineSettings().c_cflag & (CSIZE | PARENB | CSTOPB), tcflag_t{CS8});
    std::string every(256, '\0');
    std::iota(every.begin(), every.end(), '\0');
    EXPECT_TRUE(line.write(bytesOf(every)));
    EXPECT_EQ(peer.receive(every.size() + 1, 200ms), every);
    peer.send(every);
    std::string received;
    for (int byte = nextByte(200); byte >= 0; byte = nextByte(200))
        received.push_back(static_cast<char>(byte));
    EXPECT_EQ(received, every);
    EXPECT_EQ(peer.receive(1, 50ms), "") << "no echo";
}

// An open device is busy for any other opener, here or in another process.
TEST_F(QtLineTest, OnlyAFreeExistingDeviceBehindPortsOneToEightOpens) {
    for (int port : {0, 9, -1})
        EXPECT_EQ(line.open(port, 9600), Line::OpenResult::NoSuchPort) << port;
    expectRefused(); // opening closed the line that was open
    fs::create_symlink("/dev/no-such-serial-device", home.link(2));
    EXPECT_EQ(line.open(2, 9600), Line::OpenResult::Missing);
    std::ofstream{home.root() + "/plain"};
    fs::create_symlink(home.root() + "/plain", home.link(3));
    EXPECT_EQ(line.open(3, 9600), Line::OpenResult::Failed) << "not a serial device";
    EXPECT_EQ(line.open(1, -1), Line::OpenResult::Failed) << "a rate the line refuses";
    expectRefused();
    EXPECT_EQ(line.open(1, 9600), Line::OpenResult::Opened);
    QtLine other;
    EXPECT_EQ(other.open(1, 9600), Line::OpenResult::Busy);
    fs::create_symlink(fs::read_symlink(home.link(1)), home.link(4));
    EXPECT_EQ(other.open(4, 9600), Line::OpenResult::Busy) << "another port naming the device";
    EXPECT_EXIT(std::_Exit(QtLine().open(1, 9600) == Line::OpenResult::Busy ? 0 : 1),
                ::testing::ExitedWithCode(0), "")
        << "the other process opened it";
    EXPECT_EQ((std::tuple{line.write(bytesOf("x")), peer.receive(1)}), (std::tuple{true, "x"}))
        << "the refused openers left the line alone";
    line.close();
    EXPECT_EQ(other.open(1, 9600), Line::OpenResult::Opened) << "free again once closed";
}

// Waiting for a byte ends with the byte or its bound, without spending CPU, and while it waits
// the event loop goes on.
TEST_F(QtLineTest, AWaitEndsWhenAByteCameOrElseWhenItsBoundPassed) {
    {
        const std::jthread sender = after(150ms, [this] { peer.send("y"); });
        const Stopwatch watch;
        EXPECT_EQ(nextByte(2000), 'y');
        EXPECT_THAT(watch.ms(), Took(100, 1000));
    }
    int ticks = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&ticks] { ++ticks; });
    ticker.start(100);
    const Stopwatch none;
    const std::int64_t start = line.nowMs();
    EXPECT_EQ(nextByte(2000), Line::kNoByte);
    EXPECT_THAT(none.ms(), Took(2000, 2300));
    EXPECT_NEAR(static_cast<double>(line.nowMs() - start), none.ms(), 20);
    EXPECT_LT(none.cpuMs(), 100);
    EXPECT_GE(ticks, 15) << "the event loop went on during the wait";
    const Stopwatch now;
    EXPECT_EQ(nextByte(0), Line::kNoByte);
    EXPECT_LT(now.ms(), 20);
}

TEST_F(QtLineTest, ADrainTakesSixteenWaitingBytesAtOnceOrWaitsItsBoundForFewer) {
    peer.send("abcdefghijklmnopqrst");
    ASSERT_TRUE(awaitWaiting(20));
    const Stopwatch full;
    EXPECT_EQ(drain(), "abcdefghijklmnop");
    EXPECT_LT(full.ms(), 50);
    EXPECT_EQ((std::tuple{line.waiting(), nextByte(0)}), (std::tuple{4, int{'q'}}));
    const Stopwatch few;
    EXPECT_EQ(drain(), "rst");
    EXPECT_EQ(line.waiting(), 0);
    EXPECT_THAT(few.ms(), Took(100, 300));
    {
        const std::jthread sender = after(30ms, [this] { peer.send(std::string(20, 'L')); });
        const Stopwatch late;
        EXPECT_EQ(drain(), std::string(16, 'L'));
        EXPECT_THAT(late.ms(), Took(25, 100)) << "sixteen bytes that come end the drain";
    }
}

// The window's event loop runs between ticks; a hung-up line must not keep it busy. After a
// replug the line opens again; bytes that came before a hang-up still come out.
TEST_F(QtLineTest, AHangUpEndsAWaitAtOnceAndEveryOperationFailsAtOnceWithoutSpendingCpu) {
    {
        const std::jthread unplug = after(100ms, [this] { peer.hangUp(); });
        const Stopwatch watch;
        EXPECT_EQ(nextByte(3000), Line::kPortError);
        EXPECT_LT(watch.ms(), 1000);
        EXPECT_LT(watch.cpuMs(), 50);
    }
    expectRefused();
    {
        QEventLoop loop;
        QTimer::singleShot(500, &loop, &QEventLoop::quit);
        const Stopwatch idle;
        loop.exec();
        EXPECT_LT(idle.cpuMs(), 50);
    }
    line.close();
    expectRefused();
    fs::remove(home.link(1));
    PtyPeer replugged(home, 1);
    ASSERT_EQ(line.open(1, 9600), Line::OpenResult::Opened);
    EXPECT_EQ((std::tuple{line.write(bytesOf("z")), replugged.receive(1)}),
              (std::tuple{true, "z"}));
    replugged.send("pq");
    ASSERT_TRUE(awaitWaiting(2));
    replugged.hangUp();
    std::array<std::uint8_t, 16> buffer{};
    EXPECT_EQ((std::tuple{nextByte(1000), line.take(buffer), buffer[0]}),
              (std::tuple{int{'p'}, 1, std::uint8_t{'q'}}));
    expectRefused();
}

// Nobody reads the far end: the write gives up after its bound, and the line stays usable.
TEST_F(QtLineTest, AWriteTheLineDoesNotTakeIsDroppedAfterItsBound) {
    const std::string flood(512 * 1024, 'F');
    const Stopwatch watch;
    EXPECT_FALSE(line.write(bytesOf(flood)));
    EXPECT_THAT(watch.ms(), Took(1000, 1500));
    EXPECT_LT(watch.cpuMs(), 100);
    EXPECT_LT(peer.receive(flood.size(), 100ms).size(), flood.size());
    EXPECT_EQ((std::tuple{line.write(bytesOf("x")), peer.receive(1)}), (std::tuple{true, "x"}));
}

// The table of ports the operator may meet: the reader's line (held by another opener, then
// free), a file, a device that is no terminal, a link to nothing, and no port at all.
TEST(PortReasons, EachPortNamesTheDeviceItOpensAndAFailedOpenSaysWhy) {
    using Device = PortDescription::Device;
    using Reason = OpenFailure::Reason;
    const PortLinkHome home;
    const PtyPeer reader(home, 1);
    const fs::path root = fs::canonical(home.root());
    std::ofstream{root / "plain"};
    fs::create_symlink(root / "plain", home.link(3));
    fs::create_symlink("/dev/null", home.link(4));
    fs::create_symlink(root / "unplugged", home.link(5));
    const std::string pty = fs::canonical(home.link(1)).string();
    QtLine holder;
    ASSERT_EQ(holder.open(1, 9600), Line::OpenResult::Opened);
    // {port, the device described, its state, why it does not open}
    const std::tuple<int, std::string, Device, Reason> rows[] = {
        {1, pty, Device::Present, Reason::Busy},
        {3, root / "plain", Device::NotSerial, Reason::NotSerial},
        {4, "/dev/null", Device::Present, Reason::NotSerial},
        {5, root / "unplugged", Device::Missing, Reason::NoDevice},
        {0, "", Device::Missing, Reason::NoSuchPort},
    };
    for (const auto& [port, device, state, reason] : rows) {
        QtLine line;
        const PortDescription described = line.describePort(port);
        EXPECT_EQ(std::tuple(described.port, described.device, described.state),
                  std::tuple(port, device, state))
            << port;
        EXPECT_NE(line.open(port, 9600), Line::OpenResult::Opened) << port;
        EXPECT_EQ(line.openFailure(), (OpenFailure{.reason = reason, .device = device})) << port;
    }
    holder.close();
    EXPECT_EQ(holder.open(1, 9600), Line::OpenResult::Opened) << "free once closed";
}

// What the system says of a device; a permission failure (which root never meets) and the other
// errors as Qt reports them, told apart by the device's facts.
TEST(PortReasons, QtsErrorAndTheDevicesFactsGiveTheReason) {
    using Reason = OpenFailure::Reason;
    EXPECT_EQ(deviceFacts("/dev/null"), (DeviceFacts{true, true, true, "root"}));
    EXPECT_EQ(deviceFacts("/no/such/device"), DeviceFacts{});
    const DeviceFacts locked{true, true, false, "dialout"};
    const DeviceFacts open{true, true, true, "dialout"};
    const DeviceFacts file{true, false, true, "users"};
    // {error, facts, reason, group, system text kept}
    const std::tuple<QSerialPort::SerialPortError, DeviceFacts, Reason, std::string, std::string>
        rows[] = {
            {QSerialPort::PermissionError, locked, Reason::PermissionDenied, "dialout", ""},
            {QSerialPort::PermissionError, open, Reason::Busy, "", ""},
            {QSerialPort::DeviceNotFoundError, open, Reason::NoDevice, "", ""},
            {QSerialPort::UnknownError, DeviceFacts{}, Reason::NoDevice, "", ""},
            {QSerialPort::UnsupportedOperationError, open, Reason::NotSerial, "", ""},
            {QSerialPort::UnknownError, file, Reason::NotSerial, "", ""},
            {QSerialPort::ResourceError, open, Reason::Other, "", "Input/output error"},
        };
    for (const auto& [error, facts, reason, group, systemText] : rows)
        EXPECT_EQ(explainOpenFailure("/dev/ttyUSB0", error, "Input/output error", facts),
                  (OpenFailure{reason, "/dev/ttyUSB0", group, systemText}))
            << error;
}

// The links are named here, not through the rule under test: straight to the device, through a
// second link, relative to the ports directory, gone (its target still decides).
TEST(PortPath, LinksAreFollowedToTheRealDeviceAndWithoutOneTheSerialDeviceCountedFromZero) {
    const PortLinkHome home;
    const fs::path root = fs::canonical(home.root());
    std::ofstream{root / "ttyReader"};
    fs::create_symlink(root / "ttyReader", root / "alias");
    // clang-format off
    const std::pair<int, fs::path> links[] = {{1, root / "ttyReader"}, {2, root / "alias"},
        {3, "../../ttyReader"}, {6, root / "unplugged"}, {7, "../../gone"}};
    // clang-format on
    for (const auto& [port, target] : links)
        fs::create_symlink(target, root / "dornal/ports" / ("com" + std::to_string(port)));
    const std::optional<std::string> expected[] = {
        std::nullopt, root / "ttyReader", root / "ttyReader", root / "ttyReader", "/dev/ttyS3",
        "/dev/ttyS4", root / "unplugged", root / "gone",      "/dev/ttyS7",       std::nullopt};
    for (int port = 0; port <= 9; ++port)
        EXPECT_EQ(portDevicePath(port), expected[port]) << port;
    EXPECT_EQ(portDevicePath(-1), std::nullopt);
    // Without XDG_CONFIG_HOME the links live in the home's config directory.
    const std::string oldHome = std::getenv("HOME") ? std::getenv("HOME") : "";
    setenv("HOME", root.c_str(), 1);
    fs::create_directories(root / ".config" / "dornal" / "ports");
    fs::create_symlink(root / "ttyHome", root / ".config" / "dornal" / "ports" / "com2");
    for (bool unset : {true, false}) {
        unset ? unsetenv("XDG_CONFIG_HOME") : setenv("XDG_CONFIG_HOME", "", 1);
        EXPECT_EQ(portDevicePath(2), (root / "ttyHome").string());
        EXPECT_EQ(portDevicePath(3), "/dev/ttyS2");
    }
    unsetenv("HOME"); // then the account's home directory
    EXPECT_EQ(portLinkDirectory(), fs::path(getpwuid(getuid())->pw_dir) / ".config/dornal/ports");
    setenv("HOME", oldHome.c_str(), 1); // the link home puts XDG_CONFIG_HOME back itself
}

} // namespace
} // namespace dornal::testing
