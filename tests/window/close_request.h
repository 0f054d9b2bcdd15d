#pragma once

#include <string>

namespace dornal::testing {

// Asks a top-level window to close as a window manager's close button does (WM_DELETE_WINDOW).
bool requestClose(const std::string& display, unsigned long window);

} // namespace dornal::testing
