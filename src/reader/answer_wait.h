#pragma once

#include "input.h"
#include "task.h"

#include <cstdint>

namespace dornal {

// How the collection of an answer (or a wait for one byte) ended. TooLong: the reader kept
// sending without ever ending the answer.
enum class Outcome { Complete, TimedOut, PortError, TooLong };

struct AwaitedByte {
    Outcome outcome = Outcome::Complete;
    std::uint8_t byte = 0; // valid when the outcome is Complete
};

// The bytes of one answer (or of the wait for "y"), one at a time. Each byte is awaited at most
// kAnswerTimeoutMs after the last one came, and the answer as a whole is bounded in bytes and in
// time, so neither a silent nor a babbling reader can hold the bench.
class AnswerWait {
public:
    explicit AnswerWait(Input& input);
    Task<AwaitedByte> next();

private:
    Input& input_;
    int bytesLeft_;
    std::int64_t deadlineMs_;
};

} // namespace dornal
