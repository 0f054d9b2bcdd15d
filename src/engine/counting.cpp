#include "counting.h"

namespace dornal {

void countWrite(Counters& counters, TrackSet written) {
    for (int track = 1; track <= kTrackCount; ++track) {
        if (holds(written, track)) {
            ++counters.totals[trackIndex(track)];
            ++counters.writes[trackIndex(track)];
        }
    }
}

void countReadSegment(Counters& counters, int track, bool hasData, bool toTotals) {
    if (track < 1 || track > kTrackCount || (track == 2 && !hasData))
        return;
    ++counters.reads[trackIndex(track)];
    if (hasData && toTotals)
        ++counters.totals[trackIndex(track)];
}

} // namespace dornal
