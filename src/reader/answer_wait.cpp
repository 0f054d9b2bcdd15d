#include "answer_wait.h"

#include "shared/timing.h"

#include <algorithm>

namespace dornal {

AnswerWait::AnswerWait(Line& line)
    : line_(line), bytesLeft_(timing::kAnswerMaxBytes),
      deadlineMs_(line.nowMs() + timing::kAnswerMaxMs) {}

AwaitedByte AnswerWait::next() {
    const std::int64_t left = deadlineMs_ - line_.nowMs();
    if (bytesLeft_ <= 0 || left <= 0)
        return {Outcome::TooLong, 0};
    const int bound = static_cast<int>(std::min<std::int64_t>(timing::kAnswerTimeoutMs, left));
    const int got = line_.waitByte(bound);
    if (got >= 0) {
        --bytesLeft_;
        return {Outcome::Complete, static_cast<std::uint8_t>(got)};
    }
    if (got != Line::kNoByte)
        return {Outcome::PortError, 0};
    // The wait was cut short by the overall bound rather than by a pause of the reader.
    return {bound < timing::kAnswerTimeoutMs ? Outcome::TooLong : Outcome::TimedOut, 0};
}

} // namespace dornal
