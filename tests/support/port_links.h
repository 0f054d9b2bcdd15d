#pragma once

#include "shared/port_links.h"

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <unistd.h>

namespace dornal::testing {

// A private $XDG_CONFIG_HOME for one test, so port links never touch the user's own.
class PortLinkHome {
public:
    PortLinkHome() {
        char pattern[] = "/tmp/dornal-test-XXXXXX";
        root_ = mkdtemp(pattern);
        if (const char* old = std::getenv("XDG_CONFIG_HOME"))
            previous_ = old;
        setenv("XDG_CONFIG_HOME", root_.c_str(), 1);
        ports_ = portLinkDirectory();
        std::filesystem::create_directories(ports_);
    }
    ~PortLinkHome() {
        if (previous_)
            setenv("XDG_CONFIG_HOME", previous_->c_str(), 1);
        else
            unsetenv("XDG_CONFIG_HOME");
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
    std::string root_;
    std::filesystem::path ports_;
    std::optional<std::string> previous_;
};

} // namespace dornal::testing
