#pragma once

#include "reader_link.h"

#include <cstdint>

namespace dornal {

// How the collection of an answer (or a wait for one byte) ended.
enum class WaitOutcome { Complete, TimedOut, PortError };

struct AwaitedByte {
    WaitOutcome outcome = WaitOutcome::Complete;
    std::uint8_t byte = 0; // valid when the outcome is Complete
};

// The next byte from the reader, waiting at most kAnswerTimeoutMs after the last one came.
AwaitedByte awaitAnswerByte(ReaderLink& link);

} // namespace dornal
