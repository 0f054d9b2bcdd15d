#pragma once

#include <array>
#include <cstdint>

namespace dornal {

// The test modes, in the order the window offers them.
enum class Mode { WriteLoop, ReadLoop, SingleWrite, SingleRead, WriteReadLoop };

// How the data change between writes, in the window's order.
enum class WriteConfig { KeepData, AddTestChar, AddSerialNumber };

// Which boxes are light yellow: those being written, those being read back, or none.
enum class Phase { Idle, Writing, Reading };

// The two rows of track boxes: the data to write, and below them the data read back in
// "Auto Write/Read Loop".
enum class Row { Data, ReadBack };

// Writes and reads per loop of "Auto Write/Read Loop", as 16-bit counts.
struct LoopCounts {
    std::int16_t writes = 0;
    std::int16_t reads = 0;
};

// What a run has counted, exactly however large it grows.
struct Counters {
    std::uint64_t loops = 0;
    std::array<std::uint64_t, 3> totals{}; // per track (index track - 1)
    std::array<std::uint64_t, 3> writes{};
    std::array<std::uint64_t, 3> reads{};
    bool operator==(const Counters&) const = default;
};

} // namespace dornal
