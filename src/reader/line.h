#pragma once

#include "open_failure.h"
#include "port_description.h"

#include <cstdint>
#include <span>

namespace dornal {

// The serial line to the reader: one port at a time, 8 data bits, no parity, 1 stop bit.
// Every wait is bounded by its caller; none spins.
class Line {
public:
    // waitByte: no byte came within the bound.
    static constexpr int kNoByte = -4;
    // Any other result below 0 is a port error: the device vanished, or the line is not open.
    static constexpr int kPortError = -1;

    enum class OpenResult { Opened, NoSuchPort, Missing, Busy, Failed };

    virtual ~Line() = default;

    // Opens port 1..8 at `baudRate`. A port already open is closed first.
    virtual OpenResult open(int port, int baudRate) = 0;
    // Closing a line that is not open does nothing.
    virtual void close() = 0;

    // Hands all the bytes to the device in one write; false when the line did not take them.
    virtual bool write(std::span<const std::uint8_t> bytes) = 0;
    // Takes up to bytes.size() bytes, returning when that many came or `boundMs` has passed:
    // the count taken, or kPortError when the line failed before any byte was taken.
    virtual int read(std::span<std::uint8_t> bytes, int boundMs) = 0;
    // The number of bytes waiting, or kPortError.
    virtual int waiting() = 0;
    // Blocks up to `timeoutMs` for one byte: the byte 0..255, kNoByte, or kPortError at once
    // when the line is gone. A bound of 0 takes a waiting byte without blocking.
    virtual int waitByte(int timeoutMs) = 0;

    // Milliseconds on the line's clock, which bounds whole answers.
    virtual std::int64_t nowMs() const = 0;

    // Takes at most kDrainBytes stale bytes out of the input within kDrainMs and throws them away.
    void drain();

    // Why the last open that failed did so; for a line that tells nothing, Reason::Other.
    virtual OpenFailure openFailure() const;
    // The device port `port` opens and whether it is there, as it stands now.
    virtual PortDescription describePort(int port) const;
};

} // namespace dornal
