#pragma once

#include <filesystem>

namespace dornal::record {

// $XDG_STATE_HOME/dornal/runs, or ~/.local/state/dornal/runs when XDG_STATE_HOME is unset or
// empty. Empty when no home directory is known either.
std::filesystem::path defaultRecordDirectory();

} // namespace dornal::record
