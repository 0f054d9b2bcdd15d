#pragma once

#include <string>

namespace dornal::sim {

// The link through which the bench finds the simulated line of port N, at portLinkPath(N).
// Made when constructed, removed when destroyed, unless another simulator has taken the port
// over meanwhile.
class PortLink {
public:
    // Throws SimError when there is no folder for links (no home directory), when the folder
    // cannot be made or written, or when something other than a link stands at the link's
    // place.
    PortLink(int port, const std::string& target);
    ~PortLink();
    PortLink(const PortLink&) = delete;
    PortLink& operator=(const PortLink&) = delete;

    const std::string& path() const { return path_; }
    // Takes the link away now; later calls do nothing.
    void remove();
    // A link that was there before and pointed to something that still exists.
    const std::string& replacedTarget() const { return replacedTarget_; }

private:
    std::string path_;
    std::string target_;
    std::string replacedTarget_;
    bool present_ = false;
};

} // namespace dornal::sim
