#pragma once

#include "shared/tracks.h"

#include <array>
#include <string>

namespace dornal::sim {

// Which tracks a request covers, in the bit order of the write answer codes.
using dornal::TrackSet;
inline constexpr TrackSet kTrack1 = trackBit(1);
inline constexpr TrackSet kTrack2 = trackBit(2);
inline constexpr TrackSet kTrack3 = trackBit(3);
inline constexpr TrackSet kAllTracks = kTrack1 | kTrack2 | kTrack3;

// The card in the reader: the bytes on each track, index 0..2 for tracks 1..3.
struct Card {
    std::array<std::string, 3> tracks;

    std::string& track(int number) { return tracks[static_cast<std::size_t>(number - 1)]; }
    const std::string& track(int number) const {
        return tracks[static_cast<std::size_t>(number - 1)];
    }
};

} // namespace dornal::sim
