#pragma once

#include "line.h"
#include "task.h"

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>

namespace dornal {

// What the reader has sent and the bench not yet taken: bytes handed on by an earlier drain
// (an answer that must not be lost), then the line's own.
class Input {
public:
    explicit Input(Line& line) : line_(line) {}

    Line& line() { return line_; }

    // The number of bytes waiting, or Line::kPortError when the line failed and none is left.
    int waiting();
    // A waiting byte, Line::kNoByte when none is waiting, or Line::kPortError.
    int takeByte();
    // The next byte, waiting up to `timeoutMs` for it: the byte, Line::kNoByte or
    // Line::kPortError.
    Task<int> nextByte(int timeoutMs);

    // Takes at most timing::kDrainBytes stale bytes within timing::kDrainMs, as the reader's
    // commands do before they go out, and returns them.
    Task<std::string> drain();
    // Puts bytes back in front of the input, for the next answer to find.
    void handOn(std::string_view bytes);
    // Throws away all that waits now, however much it is.
    void discardWaiting();

private:
    void takeInto(std::string& bytes, std::size_t upTo);

    Line& line_;
    std::deque<std::uint8_t> handedOn_;
};

} // namespace dornal
