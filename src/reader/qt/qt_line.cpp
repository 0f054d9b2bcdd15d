#include "qt_line.h"

#include "describe_port.h"
#include "port_path.h"
#include "serial_line.h"

#include <chrono>

namespace dornal {
namespace {

Line::OpenResult openResult(SerialLine::OpenResult result) {
    switch (result) {
    case SerialLine::OpenResult::Opened:
        return Line::OpenResult::Opened;
    case SerialLine::OpenResult::Missing:
        return Line::OpenResult::Missing;
    case SerialLine::OpenResult::Busy:
        return Line::OpenResult::Busy;
    case SerialLine::OpenResult::Failed:
        break;
    }
    return Line::OpenResult::Failed;
}

} // namespace

QtLine::QtLine() = default;
QtLine::~QtLine() = default;

Line::OpenResult QtLine::open(int port, int baudRate) {
    close();
    const std::optional<std::string> path = portDevicePath(port);
    if (!path) {
        openFailure_ = {.reason = OpenFailure::Reason::NoSuchPort};
        return OpenResult::NoSuchPort;
    }
    auto line = std::make_unique<SerialLine>();
    const OpenResult result = openResult(line->open(*path));
    if (result != OpenResult::Opened) {
        openFailure_ = line->openFailure();
        return result;
    }
    if (!line->setBaudRate(baudRate)) {
        openFailure_ = {.device = *path, .systemText = line->errorText()};
        return OpenResult::Failed;
    }
    line_ = std::move(line);
    return OpenResult::Opened;
}

void QtLine::close() {
    line_.reset();
}

bool QtLine::write(std::span<const std::uint8_t> bytes) {
    if (!line_ || line_->failed())
        return false;
    return line_->write(QByteArray(reinterpret_cast<const char*>(bytes.data()),
                                   static_cast<qsizetype>(bytes.size())));
}

int QtLine::read(std::span<std::uint8_t> bytes, int boundMs) {
    if (!line_)
        return kPortError;
    return line_->read(reinterpret_cast<char*>(bytes.data()), static_cast<int>(bytes.size()),
                       boundMs);
}

int QtLine::waiting() {
    return line_ ? line_->waiting() : kPortError;
}

int QtLine::waitByte(int timeoutMs) {
    return line_ ? line_->waitByte(timeoutMs) : kPortError;
}

PortDescription QtLine::describePort(int port) const {
    return dornal::describePort(port);
}

std::int64_t QtLine::nowMs() const {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

} // namespace dornal
