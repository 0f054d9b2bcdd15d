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
    return OpenResult::Opened;
}

bool SerialLine::setBaudRate(int rate) {
    return !failed_ && port_.isOpen() && port_.setBaudRate(rate);
}

int SerialLine::read(char* buffer, int length, int boundMs) {
    if (buffer == nullptr || length <= 0)
        return 0;
    const auto deadline = Clock::now() + milliseconds(std::max(boundMs, 0));
    int taken = 0;
    for (;;) {
        const int wait = msUntil(deadline);
        collect(wait);
        const int got = take(buffer + taken, length - taken);
        taken += got;
        if (taken == length || (failed_ && input_.isEmpty()) || (got == 0 && wait == 0))
            break;
    }
    return taken == 0 && failed_ ? Line::kPortError : taken;
}

int SerialLine::waiting() {
    collect(0);
    if (failed_ && input_.isEmpty())
        return Line::kPortError;
    return static_cast<int>(std::min<qsizetype>(input_.size(), INT32_MAX));
}

int SerialLine::waitByte(int timeoutMs) {
    const auto deadline = Clock::now() + milliseconds(std::max(timeoutMs, 0));
    for (;;) {
        const int left = msUntil(deadline);
        collect(left);
        char byte = 0;
        if (take(&byte, 1) == 1)
            return static_cast<unsigned char>(byte);
        if (failed_)
            return Line::kPortError;
        if (left == 0)
            return Line::kNoByte;
    }
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

// Moves what the device received into the input queue. Blocks on the port for up to
// `waitMs` only when nothing is waiting; otherwise just picks up what the kernel holds.
void SerialLine::collect(int waitMs) {
    if (failed_ || !port_.isOpen()) { // Qt may close a device it finds gone by itself
        shutDown();
        return;
    }
    const bool nothingWaiting = input_.isEmpty() && port_.bytesAvailable() == 0;
    port_.waitForReadyRead(nothingWaiting ? std::max(waitMs, 0) : 0);
    if (failed_) {
        shutDown();
        return;
    }
    input_.append(port_.readAll());
}

int SerialLine::take(char* buffer, int length) {
    const int count = static_cast<int>(std::min<qsizetype>(input_.size(), length));
    if (count > 0) {
        std::memcpy(buffer, input_.constData(), static_cast<std::size_t>(count));
        input_.remove(0, count);
    }
    return count;
}

void SerialLine::noteError(QSerialPort::SerialPortError error) {
    if (failed_ || !endsTheLine(error))
        return;
    failed_ = true;
    // A blocking caller shuts the line on its way out of the wait. With an event loop the
    // error may come from the port's own read notification instead, and a hung-up device
    // stays readable, so the loop would spin on it: shut it as soon as that notification
    // has returned (closing it from inside would delete the notifier being run).
    if (QCoreApplication::instance() != nullptr)
        QMetaObject::invokeMethod(
            &port_, [this] { shutDown(); }, Qt::QueuedConnection);
}

void SerialLine::shutDown() {
    failed_ = true;
    if (!port_.isOpen())
        return;
    input_.append(port_.readAll());
    port_.close();
}

} // namespace dornal
