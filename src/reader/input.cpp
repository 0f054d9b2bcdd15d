#include "input.h"

#include "readable.h"
#include "shared/timing.h"

#include <array>
#include <span>

namespace dornal {

int Input::takeByte() {
    std::uint8_t byte = 0;
    const int got = line_.take({&byte, 1});
    if (got < 0)
        return Line::kPortError;
    if (got == 0)
        return Line::kNoByte;
    return byte;
}

Task<int> Input::nextByte(int timeoutMs) {
    const int got = takeByte();
    if (got != Line::kNoByte || timeoutMs <= 0)
        co_return got;
    co_await Readable(line_, timeoutMs);
    co_return takeByte();
}

Task<std::string> Input::drain() {
    std::array<std::uint8_t, timing::kDrainBytes> stale{};
    std::size_t taken = 0;
    const std::int64_t deadline = line_.nowMs() + timing::kDrainMs;
    for (;;) {
        const int got = line_.take(std::span(stale).subspan(taken));
        if (got > 0)
            taken += static_cast<std::size_t>(got);
        if (taken == stale.size() || got < 0)
            break;
        const std::int64_t left = deadline - line_.nowMs();
        if (left <= 0)
            break;
        co_await Readable(line_, static_cast<int>(left));
    }
    co_return std::string(stale.begin(), stale.begin() + static_cast<std::ptrdiff_t>(taken));
}

void Input::discardWaiting() {
    std::array<std::uint8_t, 256> chunk{};
    while (line_.take(chunk) > 0) {
    }
}

} // namespace dornal
