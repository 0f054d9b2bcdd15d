#pragma once

#include "reader/context.h"

namespace dornal {

// Fills the lists, sets the loaded state of every control and stores the track alphabets.
// The handlers must be bound to the controls before (Form1Events does so).
void Form_Load(Context& context);

} // namespace dornal
