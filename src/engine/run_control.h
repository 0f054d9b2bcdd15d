#pragma once

#include "reader/context.h"

namespace dornal {

inline constexpr const char* kSelectTrackMessage = "Please select track to test!";

void StartAction(Context& context);
void AbandonAction(Context& context);
void ResetCounters(Context& context);
// Index 0 starts, 1 abandons, 2 resets the counters; any other does nothing.
void Command2_Click(Context& context, int index);

// The selected tracks: 1 for track 1, 2 for track 2, 4 for track 3 (ticked boxes only).
int trackMask(const Form1& form);

} // namespace dornal
