#pragma once

#include "context.h"

namespace dornal {

// Sends the selected Itrip command, then the write frame: ESC "t", track 2 data, "A" and
// track 3 data, "~" and track 1 data (each only when its track is ticked), and the trailer.
// The frame leaves in one write. Afterwards LastCmdRead is false.
void WriteTracks(Context& context);

} // namespace dornal
