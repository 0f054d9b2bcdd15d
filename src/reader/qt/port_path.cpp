#include "port_path.h"

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

#ifndef _WIN32
fs::path homeDirectory() {
    if (const char* home = std::getenv("HOME"); isSet(home))
        return home;
    if (const passwd* entry = getpwuid(getuid()); entry != nullptr && isSet(entry->pw_dir))
        return entry->pw_dir;
    return ".";
}

// Follows the link and any links behind it; a broken chain yields where it points.
std::string resolveLink(const fs::path& link) {
    std::error_code error;
    const fs::path real = fs::canonical(link, error);
    if (!error)
        return real.string();
    const fs::path target = fs::read_symlink(link, error);
    if (error)
        return link.string();
    return fs::weakly_canonical(link.parent_path() / target, error).string();
}
#endif

} // namespace

fs::path portLinkDirectory() {
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); isSet(config))
        return fs::path(config) / "dornal" / "ports";
#ifdef _WIN32
    return {};
#else
    return homeDirectory() / ".config" / "dornal" / "ports";
#endif
}

std::optional<std::string> portDevicePath(int port) {
    if (port < kFirstPort || port > kLastPort)
        return std::nullopt;
#ifdef _WIN32
    return "COM" + std::to_string(port);
#else
    const fs::path link = portLinkDirectory() / ("com" + std::to_string(port));
    std::error_code error;
    if (fs::exists(fs::symlink_status(link, error)))
        return resolveLink(link);
    return "/dev/ttyS" + std::to_string(port - 1);
#endif
}

} // namespace dornal
