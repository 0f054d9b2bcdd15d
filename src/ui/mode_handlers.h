#pragma once

#include "reader/context.h"

namespace dornal {

// Test mode: write configuration on or off, half-height track boxes with read-back boxes in
// mode 4, full height without them otherwise.
void Option1_Click(Form1& form, int index);
// Character set: sends its command and empties the track 2 and 3 data.
void Option3_Click(Context& context, int index);
// Write strength: sends its command.
void Option4_Click(Context& context, int index);

} // namespace dornal
