#include "port_path.h"

#include "shared/port_links.h"

namespace dornal {

namespace fs = std::filesystem;

namespace {

#ifndef _WIN32
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

std::optional<std::string> portDevicePath(int port) {
    if (port < kFirstPort || port > kLastPort)
        return std::nullopt;
#ifdef _WIN32
    return "COM" + std::to_string(port);
#else
    // Without a folder for links (no home directory) the path is empty and nothing exists there.
    const fs::path link = portLinkPath(port);
    std::error_code error;
    if (fs::exists(fs::symlink_status(link, error)))
        return resolveLink(link);
    return "/dev/ttyS" + std::to_string(port - 1);
#endif
}

} // namespace dornal
