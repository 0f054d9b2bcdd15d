#include "qt_line.h"

#include "describe_port.h"
#include "port_path.h"
#include "serial_line.h"

#include <algorithm>
#include <chrono>
#include <utility>

namespace dornal {
namespace {

// Qt's timers count whole milliseconds from a start rounded to one, so a wait could end up to
// a millisecond before its bound; one more keeps a 100 ms drain from ending at 99.
constexpr int kTimerSlackMs = 1;

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

QtLine::QtLine() {
    // A drain lasts its 100 ms, not about them.
    bound_.setTimerType(Qt::PreciseTimer);
    bound_.setSingleShot(true);
    QObject::connect(&bound_, &QTimer::timeout, &context_, [this] { endWait(wait_); });
}

QtLine::~QtLine() {
    cancelWait();
}

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
    cancelWait();
    line_.reset();
}

bool QtLine::write(std::span<const std::uint8_t> bytes) {
    if (!line_ || line_->failed())
        return false;
    return line_->write(QByteArray(reinterpret_cast<const char*>(bytes.data()),
                                   static_cast<qsizetype>(bytes.size())));
}

int QtLine::take(std::span<std::uint8_t> bytes) {
    if (!line_)
        return kPortError;
    return line_->take(reinterpret_cast<char*>(bytes.data()), static_cast<int>(bytes.size()));
}

int QtLine::waiting() {
    return line_ ? line_->waiting() : kPortError;
}

void QtLine::whenReadable(int boundMs, std::function<void()> ready) {
    cancelWait();
    ready_ = std::move(ready);
    const unsigned wait = wait_;
    if (waiting() != 0) {
        endWait(wait);
        return;
    }
    line_->onReadable = [this, wait] { post(wait); };
    bound_.start(std::max(boundMs, 0) + kTimerSlackMs);
}

void QtLine::cancelWait() {
    ++wait_;
    ready_ = nullptr;
    bound_.stop();
    if (line_)
        line_->onReadable = nullptr;
}

void QtLine::post(unsigned wait) {
    QMetaObject::invokeMethod(
        &context_, [this, wait] { endWait(wait); }, Qt::QueuedConnection);
}

// A wait withdrawn or replaced meanwhile has a number of the past and ends nothing.
void QtLine::endWait(unsigned wait) {
    if (wait != wait_ || !ready_)
        return;
    std::function<void()> ready = std::exchange(ready_, nullptr);
    cancelWait();
    ready();
}

PortDescription QtLine::describePort(int port) const {
    return dornal::describePort(port);
}

std::int64_t QtLine::nowMs() const {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

} // namespace dornal
