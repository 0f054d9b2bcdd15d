#include "port_links.h"

#include <cstdlib>

#ifndef _WIN32
#include <pwd.h>
#include <unistd.h>
#endif

namespace dornal {

namespace fs = std::filesystem;

namespace {

bool isSet(const char* value) {
    return value != nullptr && *value != '\0';
}

fs::path homeDirectory() {
#ifndef _WIN32
    if (const char* home = std::getenv("HOME"); isSet(home))
        return home;
    if (const passwd* entry = getpwuid(getuid()); entry != nullptr && isSet(entry->pw_dir))
        return entry->pw_dir;
#endif
    return {};
}

} // namespace

fs::path portLinkDirectory() {
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); isSet(config))
        return fs::path(config) / "dornal" / "ports";
    const fs::path home = homeDirectory();
    return home.empty() ? fs::path() : home / ".config" / "dornal" / "ports";
}

std::string portLinkName(int port) {
    return "com" + std::to_string(port);
}

fs::path portLinkPath(int port) {
    const fs::path directory = portLinkDirectory();
    return directory.empty() ? fs::path() : directory / portLinkName(port);
}

} // namespace dornal
