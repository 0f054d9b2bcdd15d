#include "port_link.h"

#include "shared/port_links.h"
#include "sim_error.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace dornal::sim {

namespace {

std::string linkPath(int port) {
    const std::string path = portLinkPath(port).string();
    if (path.empty()) {
        throw SimError("cannot find the home directory: set HOME or XDG_CONFIG_HOME");
    }
    return path;
}

// mkdir -p: every missing directory on the way is made.
void makeDirectories(const std::string& path) {
    for (std::size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
        const std::string part = path.substr(0, slash);
        if (mkdir(part.c_str(), 0755) != 0 && errno != EEXIST) {
            throwSystemError("cannot create the link directory " + part);
        }
        if (slash == std::string::npos) {
            break;
        }
    }
    struct stat info {};
    if (stat(path.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
        throw SimError("the link directory " + path + " is not a directory");
    }
}

std::string linkTarget(const std::string& path) {
    char buffer[4096];
    const ssize_t length = readlink(path.c_str(), buffer, sizeof buffer - 1);
    return length < 0 ? std::string() : std::string(buffer, static_cast<std::size_t>(length));
}

} // namespace

PortLink::PortLink(int port, const std::string& target) : path_(linkPath(port)), target_(target) {
    const std::string directory = std::filesystem::path(path_).parent_path().string();
    makeDirectories(directory);
    struct stat info {};
    if (lstat(path_.c_str(), &info) == 0) {
        if (!S_ISLNK(info.st_mode)) {
            throw SimError(path_ + " exists and is not a link; not replacing it");
        }
        if (struct stat pointed{}; stat(path_.c_str(), &pointed) == 0) {
            replacedTarget_ = linkTarget(path_);
        }
    }
    // Made under another name and renamed, so the bench never finds a half-made link.
    const std::string temporary = path_ + ".new." + std::to_string(getpid());
    std::remove(temporary.c_str());
    if (symlink(target_.c_str(), temporary.c_str()) != 0) {
        throwSystemError("cannot create the port link in " + directory);
    }
    if (rename(temporary.c_str(), path_.c_str()) != 0) {
        const int error = errno;
        std::remove(temporary.c_str());
        errno = error;
        throwSystemError("cannot create the port link " + path_);
    }
    present_ = true;
}

PortLink::~PortLink() {
    remove();
}

void PortLink::remove() {
    if (!present_) {
        return;
    }
    present_ = false;
    // A simulator started later for the same port owns the link now: leave it to that one.
    if (linkTarget(path_) == target_) {
        unlink(path_.c_str());
    }
}

} // namespace dornal::sim
