#include "record_directory.h"

#include "shared/home_directory.h"

#include <cstdlib>

namespace dornal::record {

std::filesystem::path defaultRecordDirectory() {
    if (const char* state = std::getenv("XDG_STATE_HOME"); isSet(state))
        return std::filesystem::path(state) / "dornal" / "runs";
    const std::filesystem::path home = homeDirectory();
    if (home.empty())
        return {};
    return home / ".local" / "state" / "dornal" / "runs";
}

} // namespace dornal::record
