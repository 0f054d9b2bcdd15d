#include "device_facts.h"

#ifndef _WIN32
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace dornal {

#ifdef _WIN32
// A COM port's name says nothing before it is opened.
DeviceFacts deviceFacts(const std::string&) {
    return {.exists = true, .characterDevice = true, .accessible = true};
}
#else
DeviceFacts deviceFacts(const std::string& path) {
    struct stat status {};
    if (path.empty() || ::stat(path.c_str(), &status) != 0)
        return {};
    DeviceFacts facts{.exists = true,
                      .characterDevice = S_ISCHR(status.st_mode),
                      .accessible = ::access(path.c_str(), R_OK | W_OK) == 0};
    if (const group* owner = ::getgrgid(status.st_gid); owner != nullptr)
        facts.group = owner->gr_name;
    else
        facts.group = std::to_string(status.st_gid);
    return facts;
}
#endif

} // namespace dornal
