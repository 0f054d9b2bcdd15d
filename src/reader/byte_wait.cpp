#include "byte_wait.h"

#include "timing.h"

namespace dornal {

AwaitedByte awaitAnswerByte(ReaderLink& link) {
    const int got = link.port.waitByte(link.portNumber(), timing::kAnswerTimeoutMs);
    if (got >= 0)
        return {WaitOutcome::Complete, static_cast<std::uint8_t>(got)};
    return {got == SerialPort::kNoByte ? WaitOutcome::TimedOut : WaitOutcome::PortError, 0};
}

} // namespace dornal
