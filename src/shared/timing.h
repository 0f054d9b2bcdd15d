#pragma once

namespace dornal::timing {

// The test cycle's tick: at most one answer is taken per tick.
inline constexpr int kTickMs = 500;
// The input drain before each command lasts up to this long (the line's read time-out)...
inline constexpr int kDrainMs = 100;
// ...and takes at most this many stale bytes.
inline constexpr int kDrainBytes = 16;
// How long an answer, the ready byte or the firmware answer may pause between two bytes
// before the wait gives up. Measured from the last byte received.
inline constexpr int kAnswerTimeoutMs = 2000;
// A reader that keeps sending without ever ending its answer (or without ever saying "y") is
// given up after this many bytes or this long, whichever comes first.
inline constexpr int kAnswerMaxBytes = 8192;
inline constexpr int kAnswerMaxMs = 10000;
// How long the serial layer waits for the line to take the bytes of one write before it
// drops them and reports the write as failed (a stalled line, not a slow one: the kernel
// buffers far more than one command).
inline constexpr int kWriteTimeoutMs = 1000;

} // namespace dornal::timing
