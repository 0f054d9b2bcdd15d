#pragma once

#include "reader/serial_port.h"

#include <QByteArray>

#include <map>
#include <memory>

namespace dornal {

class SerialLine;

// The serial layer on Qt SerialPort, used in blocking fashion from one thread. Several ports
// may be open at once; port numbers 1 to 8 name devices as portDevicePath() says. Works with
// or without a QCoreApplication (Qt only warns that its socket notifiers have no event loop).
//
// Results besides those of SerialPort:
// - sio_open gives kNoSuchPort, kDeviceMissing, kPortBusy or kOpenFailed when it fails;
// - sio_ioctl gives kBadArgument for a baud code or mode it does not know: an unknown baud
//   code (0 included) keeps the current rate, which is 9600 on a freshly opened port; an
//   unknown mode keeps 8 data bits, no parity, 1 stop bit;
// - sio_putch gives kBadArgument for a value outside 0..255 and sends nothing;
// - sio_putch outside a batch gives kPortError when the line does not take the byte within
//   timing::kWriteTimeoutMs (a batch that stalls is dropped the same way, silently);
// - sio_close gives kPortError for a port that is not open.
// After a device error (hang-up, adapter pulled) every operation on that port gives
// kPortError, once the bytes received before it have been taken, until sio_close.
class QtSerialPort : public SerialPort {
public:
    static constexpr int kNoSuchPort = -2;    // number outside 1..8
    static constexpr int kDeviceMissing = -3; // no device behind the port's name
    static constexpr int kPortBusy = -5;   // in use here or by another program, or access refused
    static constexpr int kOpenFailed = -6; // any other reason
    static constexpr int kBadArgument = -7;

    QtSerialPort();
    ~QtSerialPort() override;
    QtSerialPort(const QtSerialPort&) = delete;
    QtSerialPort& operator=(const QtSerialPort&) = delete;

    int sio_open(int port) override;
    int sio_close(int port) override;
    int sio_SetReadTimeouts(int port, long totalMs, long intervalMs) override;
    int sio_ioctl(int port, int baudCode, int mode) override;
    int sio_read(int port, char* buffer, int length) override;
    int sio_putch(int port, int value) override;
    int sio_getch(int port) override;
    int sio_iqueue(int port) override;
    int waitByte(int port, int timeoutMs) override;
    void beginBatch(int port) override;
    void endBatch(int port) override;

    // Writes handed to the devices since construction: one per batch, one per byte outside.
    long writeCalls() const { return writeCalls_; }

private:
    // The open line of `port` (working or failed), or nothing.
    SerialLine* openLine(int port) const;
    bool send(SerialLine& line, const QByteArray& bytes);

    std::map<int, std::unique_ptr<SerialLine>> lines_;
    long writeCalls_ = 0;
};

} // namespace dornal
