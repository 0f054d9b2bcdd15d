#pragma once

#include "reader/context.h"

namespace dornal {

// One tick of Timer1: takes at most one answer, counts it, and sends the mode's next command.
void Timer1_Timer(Context& context);

// Sends the read command for the ticked tracks (none when no track is ticked).
void SendReadRequest(Context& context);
// AdvanceTrackData for the ticked tracks in the order 2, 3, 1.
void AdvanceSelectedTracks(Context& context);
// Unlocks the window after a single write or read and stops Timer1.
void EndSingleAction(Context& context);

} // namespace dornal
