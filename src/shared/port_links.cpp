#include "port_links.h"

#include "home_directory.h"

#include <cstdlib>

namespace dornal {

namespace fs = std::filesystem;

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
