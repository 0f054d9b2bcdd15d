#include "serial_line.h"

#include "device_facts.h"
#include "open_failure_reason.h"
#include "reader/line.h"
#include "shared/timing.h"

#include <QCoreApplication>

#include <algorithm>
#include <cstring>

namespace dornal {

namespace {

using std::chrono::milliseconds;

// Whole milliseconds until `deadline`, rounded up so that a wait never ends early, 0 after it.
int msUntil(std::chrono::steady_clock::time_point deadline) {
    const auto left = std::chrono::ceil<milliseconds>(deadline - std::chrono::steady_clock::now());
    return static_cast<int>(std::clamp<long long>(left.count(), 0, 24LL * 3600 * 1000));
}

// Errors that mean the device itself is gone or unusable, as opposed to a time-out or a
// setting the device does not support.
bool endsTheLine(QSerialPort::SerialPortError error) {
    switch (error) {
    case QSerialPort::DeviceNotFoundError:
    case QSerialPort::PermissionError:
    case QSerialPort::ReadError:
    case QSerialPort::WriteError:
    case QSerialPort::ResourceError:
        return true;
    default:
        return false;
    }
}

} // namespace

SerialLine::SerialLine() = default;

// Closing a hung-up device raises one more error; nobody is left to take note of it.
SerialLine::~SerialLine() {
    port_.disconnect();
}

SerialLine::OpenResult SerialLine::open(const std::string& devicePath) {
    port_.setPortName(QString::fromStdString(devicePath));
    port_.setBaudRate(QSerialPort::Baud9600);
    port_.setDataBits(QSerialPort::Data8);
    port_.setParity(QSerialPort::NoParity);
    port_.setStopBits(QSerialPort::OneStop);
    port_.setFlowControl(QSerialPort::NoFlowControl);
    if (!port_.open(QIODevice::ReadWrite)) {
        openFailure_ = explainOpenFailure(
            devicePath, port_.error(), port_.errorString().toStdString(), deviceFacts(devicePath));
        switch (openFailure_.reason) {
        case OpenFailure::Reason::NoDevice:
            return OpenResult::Missing;
        case OpenFailure::Reason::Busy:
            return OpenResult::Busy;
        default:
            return OpenResult::Failed;
        }
    }
    QObject::connect(&port_, &QSerialPort::errorOccurred,
                     [this](QSerialPort::SerialPortError error) { noteError(error); });
    QObject::connect(&port_, &QSerialPort::readyRead, [this] { readable(); });
    return OpenResult::Opened;
}

bool SerialLine::setBaudRate(int rate) {
    return !failed_ && port_.isOpen() && port_.setBaudRate(rate);
}

int SerialLine::take(char* buffer, int length) {
    collect();
    const int taken = takeCollected(buffer, length);
    if (taken == 0 && failed_)
        return Line::kPortError;
    return taken;
}

int SerialLine::waiting() {
    collect();
    if (failed_ && input_.isEmpty())
        return Line::kPortError;
    return static_cast<int>(std::min<qsizetype>(input_.size(), INT32_MAX));
}

bool SerialLine::write(const QByteArray& bytes) {
    if (failed_ || !port_.isOpen()) {
        shutDown();
        return false;
    }
    if (port_.write(bytes) != bytes.size())
        return false;
    // Waiting only while Qt still holds bytes: once they are handed to the device a wait
    // for "bytes written" would block until its time-out.
    const auto deadline = Clock::now() + milliseconds(timing::kWriteTimeoutMs);
    while (port_.bytesToWrite() > 0 && !failed_) {
        const int left = msUntil(deadline);
        if (left == 0)
            break;
        port_.waitForBytesWritten(left);
    }
    if (failed_) {
        shutDown();
        return false;
    }
    if (port_.bytesToWrite() > 0) {
        // The line does not move. Sending the rest of a command later, in the middle of
        // whatever follows, would only confuse the reader.
        port_.clear(QSerialPort::Output);
        return false;
    }
    return true;
}

// Moves what the device received into the input queue, without waiting.
void SerialLine::collect() {
    if (failed_ || !port_.isOpen()) { // Qt may close a device it finds gone by itself
        shutDown();
        return;
    }
    // What the kernel holds and the event loop has not yet read in comes along as well.
    if (port_.bytesAvailable() == 0)
        port_.waitForReadyRead(0);
    if (failed_) {
        shutDown();
        return;
    }
    input_.append(port_.readAll());
}

int SerialLine::takeCollected(char* buffer, int length) {
    const int count = static_cast<int>(std::min<qsizetype>(input_.size(), length));
    if (count > 0) {
        std::memcpy(buffer, input_.constData(), static_cast<std::size_t>(count));
        input_.remove(0, count);
    }
    return count;
}

void SerialLine::readable() {
    if (onReadable)
        onReadable();
}

void SerialLine::noteError(QSerialPort::SerialPortError error) {
    if (failed_ || !endsTheLine(error))
        return;
    failed_ = true;
    // The error may come from the port's own read notification, and a hung-up device stays
    // readable, so the loop would spin on it: shut it as soon as that notification has
    // returned (closing it from inside would delete the notifier being run).
    QMetaObject::invokeMethod(
        &port_, [this] { shutDown(); }, Qt::QueuedConnection);
    readable();
}

void SerialLine::shutDown() {
    failed_ = true;
    if (!port_.isOpen())
        return;
    input_.append(port_.readAll());
    port_.close();
}

} // namespace dornal
