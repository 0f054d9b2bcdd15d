#include "fake_serial_port.h"

#include "timing.h"

namespace dornal {

FakeSerialPort::FakeSerialPort() = default;

int FakeSerialPort::sio_open(int port) {
    calls.push_back("open " + std::to_string(port));
    if (openPort_ != 0 || existingPorts.count(port) == 0)
        return -1;
    openPort_ = port;
    failed_ = false;
    return 0;
}

int FakeSerialPort::sio_close(int port) {
    calls.push_back("close " + std::to_string(port));
    if (port != openPort_ || openPort_ == 0)
        return -1;
    openPort_ = 0;
    return 0;
}

int FakeSerialPort::sio_SetReadTimeouts(int port, long totalMs, long intervalMs) {
    calls.push_back("timeouts " + std::to_string(totalMs) + " " + std::to_string(intervalMs));
    if (!usable(port))
        return kPortError;
    totalTimeoutMs = totalMs;
    intervalTimeoutMs = intervalMs;
    return 0;
}

int FakeSerialPort::sio_ioctl(int port, int code, int mode) {
    calls.push_back("ioctl " + std::to_string(code) + " " + std::to_string(mode));
    if (!usable(port))
        return kPortError;
    baudCode = code;
    return 0;
}

int FakeSerialPort::sio_read(int port, char* buffer, int length) {
    calls.push_back("read " + std::to_string(length));
    if (!usable(port))
        return kPortError;
    int taken = 0;
    while (taken < length) {
        if (incoming_.empty()) {
            elapsedMs += timing::kReadTotalTimeoutMs;
            if (!releaseLater())
                break;
            continue;
        }
        buffer[taken++] = static_cast<char>(incoming_.front());
        incoming_.pop_front();
    }
    return taken;
}

int FakeSerialPort::sio_putch(int port, int value) {
    if (!usable(port))
        return kPortError;
    if (batchDepth_ > 0)
        batch_.push_back(static_cast<std::uint8_t>(value));
    else
        write({static_cast<std::uint8_t>(value)});
    return 0;
}

int FakeSerialPort::sio_getch(int port) {
    ++getchCalls;
    if (!usable(port))
        return kPortError;
    if (incoming_.empty())
        return kNoByte;
    const int byte = incoming_.front();
    incoming_.pop_front();
    return byte;
}

int FakeSerialPort::sio_iqueue(int port) {
    if (!usable(port))
        return kPortError;
    return static_cast<int>(incoming_.size());
}

int FakeSerialPort::waitByte(int port, int timeoutMs) {
    if (!usable(port))
        return kPortError;
    if (incoming_.empty() && !releaseLater()) {
        elapsedMs += timeoutMs;
        return kNoByte;
    }
    return sio_getch(port);
}

void FakeSerialPort::beginBatch(int port) {
    if (batchDepth_++ == 0 && usable(port))
        commandStarts.push_back(sent.size());
}

void FakeSerialPort::endBatch(int /*port*/) {
    if (--batchDepth_ == 0 && !batch_.empty()) {
        std::vector<std::uint8_t> bytes;
        bytes.swap(batch_);
        write(std::move(bytes));
    }
}

void FakeSerialPort::feed(std::string_view bytes) {
    incoming_.insert(incoming_.end(), bytes.begin(), bytes.end());
}

void FakeSerialPort::feedLater(std::string_view chunk) {
    later_.emplace_back(chunk);
}

std::vector<std::string> FakeSerialPort::commandTexts() const {
    std::vector<std::string> texts;
    for (std::size_t i = 0; i < commandStarts.size(); ++i) {
        const std::size_t end = i + 1 < commandStarts.size() ? commandStarts[i + 1] : sent.size();
        texts.emplace_back(sent.begin() + static_cast<long>(commandStarts[i]),
                           sent.begin() + static_cast<long>(end));
    }
    return texts;
}

void FakeSerialPort::clearRecord() {
    sent.clear();
    writes.clear();
    commandStarts.clear();
    calls.clear();
    elapsedMs = 0;
    getchCalls = 0;
}

bool FakeSerialPort::releaseLater() {
    if (later_.empty())
        return false;
    const std::string chunk = std::move(later_.front());
    later_.pop_front();
    feed(chunk);
    return true;
}

void FakeSerialPort::write(std::vector<std::uint8_t> bytes) {
    sent.insert(sent.end(), bytes.begin(), bytes.end());
    writes.push_back(bytes);
    if (onWrite)
        onWrite(bytes);
}

} // namespace dornal
