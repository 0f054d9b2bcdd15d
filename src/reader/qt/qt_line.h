#pragma once

#include "reader/line.h"

#include <memory>

namespace dornal {

class SerialLine;

// The line on Qt SerialPort, used in blocking fashion from one thread, with or without a
// QCoreApplication. Port n names a device as portDevicePath() says. A write the device does
// not take within timing::kWriteTimeoutMs is dropped and reported as failed. After a device
// error (hang-up, adapter pulled) every operation gives kPortError, once the bytes received
// before it have been taken, until the line is closed.
class QtLine : public Line {
public:
    QtLine();
    ~QtLine() override;
    QtLine(const QtLine&) = delete;
    QtLine& operator=(const QtLine&) = delete;

    OpenResult open(int port, int baudRate) override;
    void close() override;
    bool write(std::span<const std::uint8_t> bytes) override;
    int read(std::span<std::uint8_t> bytes, int boundMs) override;
    int waiting() override;
    int waitByte(int timeoutMs) override;
    std::int64_t nowMs() const override;
    OpenFailure openFailure() const override { return openFailure_; }
    PortDescription describePort(int port) const override;

private:
    std::unique_ptr<SerialLine> line_;
    OpenFailure openFailure_;
};

} // namespace dornal
