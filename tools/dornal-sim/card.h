#pragma once

#include <array>
#include <string>

namespace dornal::sim {

// Which tracks a request covers: bit 0 track 1, bit 1 track 2, bit 2 track 3 (the bit order
// of the write answer codes).
using TrackSet = unsigned;
inline constexpr TrackSet kTrack1 = 0b001;
inline constexpr TrackSet kTrack2 = 0b010;
inline constexpr TrackSet kTrack3 = 0b100;
inline constexpr TrackSet kAllTracks = 0b111;

// The card in the reader: the bytes on each track, index 0..2 for tracks 1..3.
struct Card {
    std::array<std::string, 3> tracks;

    std::string& track(int number) { return tracks[static_cast<std::size_t>(number - 1)]; }
    const std::string& track(int number) const {
        return tracks[static_cast<std::size_t>(number - 1)];
    }
};

} // namespace dornal::sim
