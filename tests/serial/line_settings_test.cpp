#include "serial_fixture.h"

#include <termios.h>

namespace dornal::testing {
namespace {

using LineSettingsTest = SerialLineTest;

TEST_F(LineSettingsTest, EachBaudCodeSetsItsRateAndUnknownCodesKeepIt) {
    const std::pair<int, speed_t> cases[] = {{7, B1200},   {9, B2400},   {10, B4800},
                                             {12, B9600},  {13, B19200}, {14, B38400},
                                             {15, B57600}, {16, B115200}};
    for (const auto& [code, speed] : cases) {
        EXPECT_EQ(serial.sio_ioctl(kPort, code, SerialPort::kLineMode8N1), 0) << code;
        EXPECT_EQ(peer.lineSpeed(), speed) << code;
    }
    for (int code : {0, 8, 99, -1}) {
        EXPECT_EQ(serial.sio_ioctl(kPort, code, SerialPort::kLineMode8N1),
                  QtSerialPort::kBadArgument);
        EXPECT_EQ(peer.lineSpeed(), B115200) << code;
    }
    EXPECT_EQ(serial.sio_ioctl(kPort, 7, 0), QtSerialPort::kBadArgument);
    EXPECT_EQ(peer.lineSpeed(), B1200) << "a known rate is still applied";
    EXPECT_EQ(peer.lineSettings().c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
}

TEST_F(LineSettingsTest, ModeThreeSetsEightDataBitsNoParityOneStopBit) {
    termios disturbed = peer.lineSettings();
    disturbed.c_cflag = (disturbed.c_cflag & ~CSIZE) | CS7 | PARENB | CSTOPB;
    peer.setLineSettings(disturbed);
    ASSERT_EQ(serial.sio_ioctl(kPort, 12, SerialPort::kLineMode8N1), 0);
    EXPECT_EQ(peer.lineSettings().c_cflag & (CSIZE | PARENB | CSTOPB), static_cast<tcflag_t>(CS8));
}

// A serial device starts with the terminal defaults (line editing, echo, CR/LF and XON/XOFF
// handling); opening it must make it carry every byte value untouched both ways, at 9600 8N1
// until told otherwise.
TEST(FreshLineTest, ALineLeftCookedCarriesEveryByteValueUnchanged) {
    PortLinkHome home;
    PtyPeer peer(home, 1);
    termios cooked = peer.lineSettings();
    cooked.c_iflag |= ICRNL | IXON | ISTRIP;
    cooked.c_oflag |= OPOST | ONLCR;
    cooked.c_lflag |= ICANON | ECHO | ISIG | IEXTEN;
    peer.setLineSettings(cooked);
    QtSerialPort serial;
    ASSERT_EQ(serial.sio_open(1), 0);
    EXPECT_EQ(peer.lineSpeed(), B9600);
    EXPECT_EQ(peer.lineSettings().c_cflag & (CSIZE | PARENB | CSTOPB), static_cast<tcflag_t>(CS8));
    const std::string bytes = allByteValues();
    for (char byte : bytes)
        serial.sio_putch(1, static_cast<unsigned char>(byte));
    EXPECT_EQ(peer.receive(bytes.size() + 1, 200ms), bytes);

    peer.send(bytes);
    std::string received;
    for (int byte; (byte = serial.waitByte(1, 200)) >= 0;)
        received.push_back(static_cast<char>(byte));
    EXPECT_EQ(received, bytes);
    EXPECT_EQ(peer.receive(1, 50ms), "") << "no echo";
}

} // namespace
} // namespace dornal::testing
