#pragma once

#include <cstdint>

namespace dornal {

// The serial seam: the eight operations the program asks of a serial-port layer, with the
// results its callers rely on, plus a bounded wait so that no caller ever spins.
class SerialPort {
public:
    // sio_getch and waitByte: no byte is waiting (yet).
    static constexpr int kNoByte = -4;
    // Results below 0 other than kNoByte are port errors (the device vanished, not open...).
    static constexpr int kPortError = -1;
    // sio_ioctl mode: 8 data bits, no parity, 1 stop bit.
    static constexpr int kLineMode8N1 = 3;

    virtual ~SerialPort() = default;

    // 0 = opened; any other value = failure.
    virtual int sio_open(int port) = 0;
    virtual int sio_close(int port) = 0;
    // Later sio_read calls wait at most this long in total and between two bytes.
    virtual int sio_SetReadTimeouts(int port, long totalMs, long intervalMs) = 0;
    // Baud codes 7, 9, 10, 12, 13, 14, 15, 16 = 1200 ... 115200; mode 3 = 8N1.
    virtual int sio_ioctl(int port, int baudCode, int mode) = 0;
    // Takes up to `length` waiting bytes, returning when that many came or the read
    // time-outs ran out; the count taken, or a negative value on a port error.
    virtual int sio_read(int port, char* buffer, int length) = 0;
    // Sends one byte after those sent before. Inside a batch the byte is held until the batch ends.
    virtual int sio_putch(int port, int value) = 0;
    // The next received byte 0..255, kNoByte at once when none is waiting, or a port error.
    virtual int sio_getch(int port) = 0;
    // The number of bytes waiting in the input queue, or a negative value on a port error.
    virtual int sio_iqueue(int port) = 0;

    // Blocks until a byte arrives or `timeoutMs` has passed without one: the byte 0..255,
    // kNoByte when the time ran out, or a port error at once when the line is gone.
    virtual int waitByte(int port, int timeoutMs) = 0;

    // The bytes of one command leave in one write: between beginBatch and endBatch sio_putch
    // collects its bytes, and endBatch sends them all at once.
    virtual void beginBatch(int port) = 0;
    virtual void endBatch(int port) = 0;
};

// Holds sio_putch bytes for the life of the guard and sends them in one write at its end.
class OneWrite {
public:
    OneWrite(SerialPort& port, int portNumber) : port_(port), portNumber_(portNumber) {
        port_.beginBatch(portNumber_);
    }
    ~OneWrite() { port_.endBatch(portNumber_); }
    OneWrite(const OneWrite&) = delete;
    OneWrite& operator=(const OneWrite&) = delete;

private:
    SerialPort& port_;
    int portNumber_;
};

} // namespace dornal
