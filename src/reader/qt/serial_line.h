#pragma once

#include "reader/open_failure.h"

#include <QByteArray>
#include <QSerialPort>

#include <chrono>
#include <functional>
#include <string>

namespace dornal {

// One open serial device, used from the thread that created it, which runs Qt's event loop.
// Nothing here blocks for input; onReadable tells when bytes came or the device failed.
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
    // Why the open failed.
    const OpenFailure& openFailure() const { return openFailure_; }
    bool failed() const { return failed_; }

    bool setBaudRate(int rate);
    // The system's words for the last error.
    std::string errorText() const { return port_.errorString().toStdString(); }

    // Up to `length` of the bytes waiting, at once: the count taken, or Line::kPortError when
    // the line failed and nothing is left.
    int take(char* buffer, int length);
    // The number of bytes waiting, or Line::kPortError.
    int waiting();
    // Hands `bytes` to the device in one write and waits (bounded) until it took them all.
    bool write(const QByteArray& bytes);

    // Called from Qt's event loop when bytes came or the device failed.
    std::function<void()> onReadable;

private:
    using Clock = std::chrono::steady_clock;

    void collect();
    int takeCollected(char* buffer, int length);
    void readable();
    void noteError(QSerialPort::SerialPortError error);
    void shutDown();

    QSerialPort port_;
    QByteArray input_;
    bool failed_ = false;
    OpenFailure openFailure_;
};

} // namespace dornal
