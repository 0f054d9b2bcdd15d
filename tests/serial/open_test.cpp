#include "serial_fixture.h"

#include <sys/wait.h>
#include <unistd.h>

namespace dornal::testing {
namespace {

class OpenTest : public ::testing::Test {
protected:
    static constexpr int kPort = 1;
    PortLinkHome home;
    PtyPeer peer{home, kPort};
    QtSerialPort serial;
};

TEST_F(OpenTest, OnlyALinkedExistingLineOneToEightOpens) {
    for (int port : {0, 9, -1})
        EXPECT_EQ(serial.sio_open(port), QtSerialPort::kNoSuchPort) << port;
    std::filesystem::create_symlink("/dev/no-such-serial-device", home.link(2));
    EXPECT_EQ(serial.sio_open(2), QtSerialPort::kDeviceMissing);
    EXPECT_EQ(serial.sio_getch(2), SerialPort::kPortError);
    EXPECT_EQ(serial.sio_open(kPort), 0);
    EXPECT_EQ(serial.sio_close(kPort), 0);
    EXPECT_EQ(serial.sio_open(kPort), 0);
}

TEST_F(OpenTest, ALineOpenInThisProcessCannotBeOpenedAgain) {
    ASSERT_EQ(serial.sio_open(kPort), 0);
    EXPECT_EQ(serial.sio_open(kPort), QtSerialPort::kPortBusy) << "same port, same layer";
    QtSerialPort other;
    EXPECT_EQ(other.sio_open(kPort), QtSerialPort::kPortBusy) << "second layer";
    std::filesystem::create_symlink(std::filesystem::read_symlink(home.link(kPort)), home.link(2));
    EXPECT_EQ(serial.sio_open(2), QtSerialPort::kPortBusy) << "another port naming the line";
    ASSERT_EQ(serial.sio_close(kPort), 0);
    EXPECT_EQ(other.sio_open(kPort), 0) << "free again after close";
}

TEST_F(OpenTest, ALineOpenHereCannotBeOpenedByAnotherProcess) {
    ASSERT_EQ(serial.sio_open(kPort), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        QtSerialPort second;
        _exit(second.sio_open(kPort) == QtSerialPort::kPortBusy ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the second process opened it";
    // The refused opener must not have disturbed the line.
    EXPECT_EQ(serial.sio_putch(kPort, 'x'), 0);
    EXPECT_EQ(peer.receive(1), "x");
}

TEST_F(OpenTest, EveryOperationOnAPortNotOpenIsAPortError) {
    char buffer[16];
    for (int result :
         {serial.sio_close(kPort), serial.sio_SetReadTimeouts(kPort, 100, 100),
          serial.sio_ioctl(kPort, 12, SerialPort::kLineMode8N1), serial.sio_read(kPort, buffer, 16),
          serial.sio_putch(kPort, 'a'), serial.sio_getch(kPort), serial.sio_iqueue(kPort),
          serial.waitByte(kPort, 1000)})
        EXPECT_EQ(result, SerialPort::kPortError);
    serial.beginBatch(kPort);
    serial.endBatch(kPort);
    EXPECT_EQ(serial.writeCalls(), 0);
    EXPECT_EQ(peer.receive(1, 50ms), "");
}

} // namespace
} // namespace dornal::testing
