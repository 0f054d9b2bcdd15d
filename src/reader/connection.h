#pragma once

#include "context.h"

namespace dornal {

inline constexpr const char* kOpenFailMessage = "Open COM Port Fail!";

// "&Connect": opens PortNumber at the chosen line rate, resets the reader, sends the selected
// character set and unlocks the test controls; three beeps and a message when the open fails.
void Connect(Context& context);
// "&Disconnect": closes the port, locks the test controls, empties the track data.
void Disconnect(Context& context);
// Index 0 connects, 1 disconnects, any other does nothing.
void Command1_Click(Context& context, int index);
// Closing the window closes the port, connected or not.
void Form_Unload(Context& context);

} // namespace dornal
