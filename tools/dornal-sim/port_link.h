#pragma once

#include <functional>
#include <string>

namespace dornal::sim {

// The directory of the port links: $XDG_CONFIG_HOME/dornal/ports, or ~/.config/dornal/ports
// when XDG_CONFIG_HOME is unset or empty. `env` looks up an environment variable (nullptr when
// unset).
std::string portLinkDirectory(const std::function<const char*(const char*)>& env);

// The link com<N> through which the bench finds the simulated line. Made when constructed,
// removed when destroyed, unless another simulator has taken the port over meanwhile.
class PortLink {
public:
    // Throws SimError when the directory cannot be made or written, or when something other
    // than a link stands at the link's place.
    PortLink(const std::string& directory, int port, const std::string& target);
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
