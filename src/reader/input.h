#pragma once

#include "line.h"
#include "task.h"

#include <string>

namespace dornal {

// What the reader has sent and the bench not yet taken, as the bench takes it: byte by byte
// for an answer, in drains before a command, all at once before a run.
class Input {
public:
    explicit Input(Line& line) : line_(line) {}

    Line& line() { return line_; }

    // A waiting byte, Line::kNoByte when none is waiting, or Line::kPortError.
    int takeByte();
    // The next byte, waiting up to `timeoutMs` for it: the byte, Line::kNoByte or
    // Line::kPortError.
    Task<int> nextByte(int timeoutMs);

    // Takes at most timing::kDrainBytes stale bytes within timing::kDrainMs, as the reader's
    // commands do before they go out, and returns them.
    Task<std::string> drain();
    // Throws away all that waits now, however much it is.
    void discardWaiting();

private:
    Line& line_;
};

} // namespace dornal
