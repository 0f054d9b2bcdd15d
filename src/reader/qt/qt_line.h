#pragma once

#include "reader/line.h"

#include <QObject>
#include <QTimer>

#include <memory>

namespace dornal {

class SerialLine;

// The line on Qt SerialPort, driven by Qt's event loop on the thread that made it. Port n
// names a device as portDevicePath() says. A write the device does not take within
// timing::kWriteTimeoutMs is dropped and reported as failed. After a device error (hang-up,
// adapter pulled) every operation gives kPortError, once the bytes received before it have
// been taken, until the line is closed.
class QtLine : public Line {
public:
    QtLine();
    ~QtLine() override;
    QtLine(const QtLine&) = delete;
    QtLine& operator=(const QtLine&) = delete;

    OpenResult open(int port, int baudRate) override;
    void close() override;
    bool write(std::span<const std::uint8_t> bytes) override;
    int take(std::span<std::uint8_t> bytes) override;
    int waiting() override;
    void whenReadable(int boundMs, std::function<void()> ready) override;
    void cancelWait() override;
    std::int64_t nowMs() const override;
    OpenFailure openFailure() const override { return openFailure_; }
    PortDescription describePort(int port) const override;

private:
    void post(unsigned wait);
    void endWait(unsigned wait);

    std::unique_ptr<SerialLine> line_;
    OpenFailure openFailure_;
    // A wait ends from the event loop, never from inside the device's own notification, so
    // that whatever runs on may close the device.
    QObject context_;
    QTimer bound_;
    std::function<void()> ready_;
    unsigned wait_ = 0;
};

} // namespace dornal
