#include "input.h"

#include "readable.h"
#include "shared/timing.h"

#include <algorithm>
#include <array>

namespace dornal {

int Input::waiting() {
    const int onLine = line_.waiting();
    if (handedOn_.empty())
        return onLine;
    return static_cast<int>(handedOn_.size()) + std::max(onLine, 0);
}

int Input::takeByte() {
    if (!handedOn_.empty()) {
        const int byte = handedOn_.front();
        handedOn_.pop_front();
        return byte;
    }
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

void Input::takeInto(std::string& bytes, std::size_t upTo) {
    while (bytes.size() < upTo && !handedOn_.empty()) {
        bytes.push_back(static_cast<char>(handedOn_.front()));
        handedOn_.pop_front();
    }
    std::array<std::uint8_t, timing::kDrainBytes> chunk{};
    const std::size_t wanted = std::min(upTo - bytes.size(), chunk.size());
    if (wanted == 0)
        return;
    const int got = line_.take({chunk.data(), wanted});
    if (got > 0)
        bytes.append(chunk.begin(), chunk.begin() + got);
}

Task<std::string> Input::drain() {
    std::string taken;
    const std::int64_t deadline = line_.nowMs() + timing::kDrainMs;
    for (;;) {
        takeInto(taken, timing::kDrainBytes);
        if (taken.size() >= timing::kDrainBytes || line_.waiting() < 0)
            break;
        const std::int64_t left = deadline - line_.nowMs();
        if (left <= 0)
            break;
        co_await Readable(line_, static_cast<int>(left));
    }
    co_return taken;
}

void Input::handOn(std::string_view bytes) {
    handedOn_.insert(handedOn_.begin(), bytes.begin(), bytes.end());
}

void Input::discardWaiting() {
    handedOn_.clear();
    std::array<std::uint8_t, 256> chunk{};
    while (line_.take(chunk) > 0) {
    }
}

} // namespace dornal
