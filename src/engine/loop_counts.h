#pragma once

#include "reader/context.h"

namespace dornal {

// Loads WritesLeft and ReadsLeft from the per-loop count boxes of "Auto Write/Read Loop".
// A count beyond the 16-bit range runs at the nearest end of it, and its box is set to that
// value so the operator sees the count in use.
void loadLoopCounts(Context& context);

} // namespace dornal
