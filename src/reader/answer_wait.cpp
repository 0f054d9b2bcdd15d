#include "answer_wait.h"

#include "shared/timing.h"

#include <algorithm>

namespace dornal {

AnswerWait::AnswerWait(Input& input)
    : input_(input), bytesLeft_(timing::kAnswerMaxBytes),
      deadlineMs_(input.line().nowMs() + timing::kAnswerMaxMs) {}

Task<AwaitedByte> AnswerWait::next() {
    const std::int64_t left = deadlineMs_ - input_.line().nowMs();
    if (bytesLeft_ <= 0 || left <= 0)
        co_return AwaitedByte{Outcome::TooLong, 0};
    const int bound = static_cast<int>(std::min<std::int64_t>(timing::kAnswerTimeoutMs, left));
    const int got = co_await input_.nextByte(bound);
    if (got >= 0) {
        --bytesLeft_;
        co_return AwaitedByte{Outcome::Complete, static_cast<std::uint8_t>(got)};
    }
    if (got != Line::kNoByte)
        co_return AwaitedByte{Outcome::PortError, 0};
    // The wait was cut short by the overall bound rather than by a pause of the reader.
    if (bound < timing::kAnswerTimeoutMs)
        co_return AwaitedByte{Outcome::TooLong, 0};
    co_return AwaitedByte{Outcome::TimedOut, 0};
}

} // namespace dornal
