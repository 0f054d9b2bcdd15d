#pragma once

#include "reader/context.h"

#include <string_view>

namespace dornal {

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
