#pragma once

#include "reader_link.h"

#include <chrono>
#include <cstdint>

namespace dornal {

// How the collection of an answer (or a wait for one byte) ended. TooLong: the reader kept
// sending without ever ending the answer.
enum class WaitOutcome { Complete, TimedOut, PortError, TooLong };

struct AwaitedByte {
    WaitOutcome outcome = WaitOutcome::Complete;
    std::uint8_t byte = 0; // valid when the outcome is Complete
};

// The bytes of one answer (or of the wait for "y"), one at a time. Each byte is awaited at most
// kAnswerTimeoutMs after the last one came, and the answer as a whole is bounded in bytes and in
// time, so neither a silent nor a babbling reader can hold the window.
class AnswerWait {
public:
    explicit AnswerWait(ReaderLink& link);
    AwaitedByte next();

private:
    ReaderLink& link_;
    int bytesLeft_;
    std::chrono::steady_clock::time_point deadline_;
};

} // namespace dornal
