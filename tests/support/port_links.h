#pragma once

#include "shared/port_links.h"

#include <array>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <unistd.h>

namespace dornal::testing {

// A private $XDG_CONFIG_HOME and $XDG_STATE_HOME for one test, so port links and run records
// never touch the user's own.
class PortLinkHome {
public:
    PortLinkHome() {
        char pattern[] = "/tmp/dornal-test-XXXXXX";
        root_ = mkdtemp(pattern);
        for (std::size_t i = 0; i < kVariables.size(); ++i) {
            if (const char* old = std::getenv(kVariables[i]))
                previous_[i] = old;
            setenv(kVariables[i], root_.c_str(), 1);
        }
        ports_ = portLinkDirectory();
        std::filesystem::create_directories(ports_);
    }
    ~PortLinkHome() {
        for (std::size_t i = 0; i < kVariables.size(); ++i) {
            if (previous_[i])
                setenv(kVariables[i], previous_[i]->c_str(), 1);
            else
                unsetenv(kVariables[i]);
        }
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }
    PortLinkHome(const PortLinkHome&) = delete;
    PortLinkHome& operator=(const PortLinkHome&) = delete;

    const std::string& root() const { return root_; }
    // Where the program looks for the link of `port` under this home (the tests of that rule
    // name the folder themselves).
    std::filesystem::path link(int port) const { return ports_ / portLinkName(port); }

private:
    static constexpr std::array<const char*, 2> kVariables{"XDG_CONFIG_HOME", "XDG_STATE_HOME"};
    std::string root_;
    std::filesystem::path ports_;
    std::array<std::optional<std::string>, 2> previous_;
};

} // namespace dornal::testing
