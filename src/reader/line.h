#pragma once

#include "open_failure.h"
#include "port_description.h"

#include <cstdint>
#include <functional>
#include <span>

namespace dornal {

// The serial line to the reader: one port at a time, 8 data bits, no parity, 1 stop bit.
// Nothing here blocks: bytes are taken as they are waiting, and a caller that wants more asks
// to be told when they come (whenReadable), always with a bound.
class Line {
public:
    // A wait for a byte that ran out.
    static constexpr int kNoByte = -4;
    // Any other result below 0 is a port error: the device vanished, or the line is not open.
    static constexpr int kPortError = -1;

    enum class OpenResult { Opened, NoSuchPort, Missing, Busy, Failed };

    virtual ~Line() = default;

    // Opens port 1..8 at `baudRate`. A port already open is closed first.
    virtual OpenResult open(int port, int baudRate) = 0;
    // Closing a line that is not open does nothing; a wait in progress is withdrawn.
    virtual void close() = 0;

    // Hands all the bytes to the device in one write; false when the line did not take them.
    virtual bool write(std::span<const std::uint8_t> bytes) = 0;
    // Takes up to bytes.size() of the bytes waiting, at once: the count taken, or kPortError
    // when the line has failed and holds nothing more.
    virtual int take(std::span<std::uint8_t> bytes) = 0;
    // The number of bytes waiting, or kPortError.
    virtual int waiting() = 0;

    // Calls `ready` once: when a byte is waiting, when the line fails, or when `boundMs` has
    // passed, whichever comes first. It may be called before this returns (a byte that is
    // already there). One wait at a time; a new one replaces the last.
    virtual void whenReadable(int boundMs, std::function<void()> ready) = 0;
    // Withdraws the wait in progress, if any: its `ready` is not called.
    virtual void cancelWait() = 0;

    // Milliseconds on the line's clock, which bounds the waits.
    virtual std::int64_t nowMs() const = 0;

    // Why the last open that failed did so; for a line that tells nothing, Reason::Other.
    virtual OpenFailure openFailure() const;
    // The device port `port` opens and whether it is there, as it stands now.
    virtual PortDescription describePort(int port) const;
};

} // namespace dornal
