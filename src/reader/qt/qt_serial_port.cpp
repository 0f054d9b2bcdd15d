#include "qt_serial_port.h"

#include "port_path.h"
#include "reader/protocol.h"
#include "serial_line.h"

#include <optional>

namespace dornal {

namespace {

std::optional<int> baudRateOf(int code) {
    for (std::size_t i = 0; i < protocol::kBaudCodes.size(); ++i) {
        if (protocol::kBaudCodes[i] == code)
            return protocol::kBaudRates[i];
    }
    return std::nullopt;
}

int openResultCode(SerialLine::OpenResult result) {
    switch (result) {
    case SerialLine::OpenResult::Opened:
        return 0;
    case SerialLine::OpenResult::Missing:
        return QtSerialPort::kDeviceMissing;
    case SerialLine::OpenResult::Busy:
        return QtSerialPort::kPortBusy;
    case SerialLine::OpenResult::Failed:
        break;
    }
    return QtSerialPort::kOpenFailed;
}

} // namespace

QtSerialPort::QtSerialPort() = default;
QtSerialPort::~QtSerialPort() = default;

int QtSerialPort::sio_open(int port) {
    const std::optional<std::string> path = portDevicePath(port);
    if (!path)
        return kNoSuchPort;
    if (lines_.count(port) != 0)
        return kPortBusy;
    auto line = std::make_unique<SerialLine>();
    const int result = openResultCode(line->open(*path));
    if (result == 0)
        lines_[port] = std::move(line);
    return result;
}

int QtSerialPort::sio_close(int port) {
    return lines_.erase(port) == 1 ? 0 : kPortError;
}

int QtSerialPort::sio_SetReadTimeouts(int port, long totalMs, long intervalMs) {
    SerialLine* line = openLine(port);
    if (line == nullptr || line->failed())
        return kPortError;
    line->setReadTimeouts(totalMs, intervalMs);
    return 0;
}

int QtSerialPort::sio_ioctl(int port, int baudCode, int mode) {
    SerialLine* line = openLine(port);
    if (line == nullptr || line->failed())
        return kPortError;
    const std::optional<int> rate = baudRateOf(baudCode);
    const bool rateSet = rate && line->setBaudRate(*rate);
    const bool modeSet = mode == kLineMode8N1 && line->setLine8N1();
    if (line->failed())
        return kPortError;
    return rateSet && modeSet ? 0 : kBadArgument;
}

int QtSerialPort::sio_read(int port, char* buffer, int length) {
    SerialLine* line = openLine(port);
    return line != nullptr ? line->read(buffer, length) : kPortError;
}

int QtSerialPort::sio_putch(int port, int value) {
    SerialLine* line = openLine(port);
    if (line == nullptr || line->failed())
        return kPortError;
    if (value < 0 || value > 255)
        return kBadArgument;
    const char byte = static_cast<char>(value);
    if (line->batching()) {
        line->hold(byte);
        return 0;
    }
    return send(*line, QByteArray(1, byte)) ? 0 : kPortError;
}

int QtSerialPort::sio_getch(int port) {
    SerialLine* line = openLine(port);
    return line != nullptr ? line->takeByte() : kPortError;
}

int QtSerialPort::sio_iqueue(int port) {
    SerialLine* line = openLine(port);
    return line != nullptr ? line->waiting() : kPortError;
}

int QtSerialPort::waitByte(int port, int timeoutMs) {
    SerialLine* line = openLine(port);
    return line != nullptr ? line->waitByte(timeoutMs) : kPortError;
}

void QtSerialPort::beginBatch(int port) {
    if (auto found = lines_.find(port); found != lines_.end())
        found->second->beginBatch();
}

void QtSerialPort::endBatch(int port) {
    auto found = lines_.find(port);
    if (found == lines_.end())
        return;
    const std::optional<QByteArray> bytes = found->second->endBatch();
    if (bytes && !bytes->isEmpty() && !found->second->failed())
        send(*found->second, *bytes);
}

// A failed line still hands out the bytes it received before the failure; the line itself
// reports the failure after them.
SerialLine* QtSerialPort::openLine(int port) const {
    const auto found = lines_.find(port);
    return found != lines_.end() ? found->second.get() : nullptr;
}

bool QtSerialPort::send(SerialLine& line, const QByteArray& bytes) {
    ++writeCalls_;
    return line.write(bytes);
}

} // namespace dornal
