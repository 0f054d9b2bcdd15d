#include "home_directory.h"

#include <cstdlib>

#ifndef _WIN32
#include <pwd.h>
#include <unistd.h>
#endif

namespace dornal {

bool isSet(const char* value) {
    return value != nullptr && *value != '\0';
}

std::filesystem::path homeDirectory() {
#ifndef _WIN32
    if (const char* home = std::getenv("HOME"); isSet(home))
        return home;
    if (const passwd* entry = getpwuid(getuid()); entry != nullptr && isSet(entry->pw_dir))
        return entry->pw_dir;
#endif
    return {};
}

} // namespace dornal
