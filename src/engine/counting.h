#pragma once

#include "modes.h"
#include "shared/tracks.h"

namespace dornal {

// A write answer: each track it reports as written adds to its total and its write counter.
void countWrite(Counters& counters, TrackSet written);

// One segment of a read answer adds to the track's read counter (a track 2 segment that is
// only an end mark is no read at all), and, with data and when reads count as successes,
// to its total.
void countReadSegment(Counters& counters, int track, bool hasData, bool toTotals);

} // namespace dornal
