#include "memory_line.h"

#include <utility>

namespace dornal {

Line::OpenResult MemoryLine::open(int port, int baudRate) {
    close();
    if (port < 1 || port > 8) {
        failure_ = {.reason = OpenFailure::Reason::NoSuchPort};
        return OpenResult::NoSuchPort;
    }
    if (existingPorts.count(port) == 0) {
        failure_ = refusal;
        return OpenResult::Missing;
    }
    port_ = port;
    baudRate_ = baudRate;
    failed_ = false;
    return OpenResult::Opened;
}

PortDescription MemoryLine::describePort(int port) const {
    PortDescription description{.port = port, .device = "memory" + std::to_string(port)};
    if (existingPorts.count(port) != 0)
        description.state = PortDescription::Device::Present;
    return description;
}

void MemoryLine::close() {
    port_ = 0;
    ready_ = nullptr;
}

bool MemoryLine::write(std::span<const std::uint8_t> bytes) {
    if (!usable())
        return false;
    writes.emplace_back(bytes.begin(), bytes.end());
    if (onWrite)
        onWrite(writes.back());
    return true;
}

int MemoryLine::take(std::span<std::uint8_t> bytes) {
    if (!usable())
        return kPortError;
    std::size_t taken = 0;
    while (taken < bytes.size() && !incoming_.empty()) {
        bytes[taken++] = incoming_.front();
        incoming_.pop_front();
    }
    return static_cast<int>(taken);
}

int MemoryLine::waiting() {
    return usable() ? static_cast<int>(incoming_.size()) : kPortError;
}

void MemoryLine::whenReadable(int boundMs, std::function<void()> ready) {
    ready_ = std::move(ready);
    boundMs_ = boundMs;
    if (!holdWaits)
        endWait();
}

void MemoryLine::cancelWait() {
    ready_ = nullptr;
}

// A byte already waiting or a failed line ends the wait at once; else the next scripted chunk
// comes; else the whole bound passes.
bool MemoryLine::endWait() {
    if (!ready_)
        return false;
    if (usable() && incoming_.empty() && !releaseLater())
        clockMs += boundMs_;
    std::exchange(ready_, nullptr)();
    return true;
}

void MemoryLine::feed(std::string_view bytes) {
    incoming_.insert(incoming_.end(), bytes.begin(), bytes.end());
}

void MemoryLine::feedLater(std::string_view chunk) {
    later_.emplace_back(chunk);
}

bool MemoryLine::releaseLater() {
    if (later_.empty())
        return false;
    const std::string chunk = std::move(later_.front());
    later_.pop_front();
    feed(chunk);
    // An empty chunk is a wait during which nothing came.
    return !chunk.empty();
}

} // namespace dornal
