#pragma once

#include "reader/context.h"

#include <array>
#include <string_view>

namespace dornal {

// Track 2 leads the write frame, track 3 follows, track 1 comes last; the data of the ticked
// tracks are prepared in the same order.
inline constexpr std::array<int, 3> kFrameTrackOrder{2, 3, 1};

enum class PatternSet { Loop, Single };

// The pattern an empty track box is filled with (track 1..3).
std::string_view defaultPattern(int track, PatternSet set);

// FillEmptyTrack, then AdvanceTrackData, for track 1..3.
void PrepareTrackData(Context& context, int track, PatternSet set);
// An empty box gets the track's pattern (and "0000" under "Add Serie Number").
void FillEmptyTrack(Context& context, int track, PatternSet set);
// By "Write Config": nothing, one more test character, or the serial number at the end.
void AdvanceTrackData(Context& context, int track);

} // namespace dornal
