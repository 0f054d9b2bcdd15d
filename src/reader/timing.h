#pragma once

namespace dornal::timing {

// The test cycle's tick: at most one answer is taken per tick.
inline constexpr int kTickMs = 500;
// Read time-outs set at Connect; the input drain before each command lasts up to this long.
inline constexpr int kReadTotalTimeoutMs = 100;
inline constexpr int kReadIntervalTimeoutMs = 100;
// The drain takes at most this many stale bytes per command.
inline constexpr int kDrainBytes = 16;
// How long an answer, the ready byte or the firmware answer may pause between two bytes
// before the wait gives up. Measured from the last byte received.
inline constexpr int kAnswerTimeoutMs = 2000;

} // namespace dornal::timing
