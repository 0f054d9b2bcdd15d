#pragma once

#include <QByteArray>
#include <QSerialPort>

#include <chrono>
#include <optional>
#include <string>

namespace dornal {

// One open serial device, used in blocking fashion from the thread that created it, with or
// without a running event loop.
//
// Received bytes are moved from the port into an input queue of our own before they are
// handed out, so that a failing device can be shut at once without losing what it delivered.
// A device error (the line hung up, the adapter was pulled) ends the line for good: the
// device is closed so that nothing polls it any more, bytes already received are still
// handed out, and after that every operation reports a port error until the line is closed.
class SerialLine {
public:
    enum class OpenResult { Opened, Missing, Busy, Failed };

    SerialLine();
    ~SerialLine();
    SerialLine(const SerialLine&) = delete;
    SerialLine& operator=(const SerialLine&) = delete;

    // Opens the device at 9600 baud, 8 data bits, no parity, 1 stop bit, no flow control.
    // A device open already, here or in another process, is refused by Qt's lock file
    // (named after the path, so callers pass the real device path) and, for other users,
    // by the device's exclusive mode.
    OpenResult open(const std::string& devicePath);
    bool failed() const { return failed_; }

    // A total bound of 0 or less makes read() take only what is waiting; an interval bound
    // of 0 or less leaves only the total bound.
    void setReadTimeouts(long totalMs, long intervalMs);
    bool setBaudRate(int rate);
    bool setLine8N1();

    // Up to `length` bytes within the read time-outs: the count taken, or kPortError when
    // the line failed before any byte was taken.
    int read(char* buffer, int length);
    // The next byte, SerialPort::kNoByte when none waits, or kPortError.
    int takeByte();
    // The number of bytes waiting, or kPortError.
    int waiting();
    // Blocks up to `timeoutMs` for a byte: the byte, kNoByte, or kPortError at once.
    int waitByte(int timeoutMs);
    // Hands `bytes` to the device in one write and waits (bounded) until it took them all.
    bool write(const QByteArray& bytes);

    // Bytes of a batch are held until its outermost level ends.
    void beginBatch() { ++batchDepth_; }
    bool batching() const { return batchDepth_ > 0; }
    void hold(char byte) { held_.append(byte); }
    // The held bytes when the outermost level ends, else nothing.
    std::optional<QByteArray> endBatch();

private:
    using Clock = std::chrono::steady_clock;

    void collect(int waitMs);
    int take(char* buffer, int length);
    int readWaitLeft(Clock::time_point start, std::optional<Clock::time_point> lastByte) const;
    void noteError(QSerialPort::SerialPortError error);
    void shutDown();

    QSerialPort port_;
    QByteArray input_;
    QByteArray held_;
    int batchDepth_ = 0;
    long totalTimeoutMs_;
    long intervalTimeoutMs_;
    bool failed_ = false;
};

} // namespace dornal
