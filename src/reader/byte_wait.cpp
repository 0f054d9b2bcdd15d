#include "byte_wait.h"

#include "timing.h"

#include <algorithm>

namespace dornal {

AnswerWait::AnswerWait(ReaderLink& link)
    : link_(link), bytesLeft_(timing::kAnswerMaxBytes),
      deadline_(std::chrono::steady_clock::now() +
                std::chrono::milliseconds(timing::kAnswerMaxMs)) {}

AwaitedByte AnswerWait::next() {
    using namespace std::chrono;
    const auto left = duration_cast<milliseconds>(deadline_ - steady_clock::now()).count();
    if (bytesLeft_ <= 0 || left <= 0)
        return {WaitOutcome::TooLong, 0};
    const int bound = static_cast<int>(std::min<long long>(timing::kAnswerTimeoutMs, left));
    const int got = link_.port.waitByte(link_.portNumber(), bound);
    if (got >= 0) {
        --bytesLeft_;
        return {WaitOutcome::Complete, static_cast<std::uint8_t>(got)};
    }
    if (got != SerialPort::kNoByte)
        return {WaitOutcome::PortError, 0};
    // The wait was cut short by the overall bound rather than by a pause of the reader.
    return {bound < timing::kAnswerTimeoutMs ? WaitOutcome::TooLong : WaitOutcome::TimedOut, 0};
}

} // namespace dornal
