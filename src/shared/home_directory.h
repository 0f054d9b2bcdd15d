#pragma once

#include <filesystem>

namespace dornal {

// $HOME, or the home directory the user database names when HOME is unset or empty; empty
// when neither names one (and on Windows).
std::filesystem::path homeDirectory();

// Whether an environment variable's value is there and not empty.
bool isSet(const char* value);

} // namespace dornal
