#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace dornal::testing {

// A private $XDG_CONFIG_HOME for one test, so port links never touch the user's own.
class PortLinkHome {
public:
    PortLinkHome() {
        char pattern[] = "/tmp/dornal-test-XXXXXX";
        root_ = mkdtemp(pattern);
        const char* old = std::getenv("XDG_CONFIG_HOME");
        if (old != nullptr)
            previous_ = old;
        hadPrevious_ = old != nullptr;
        setenv("XDG_CONFIG_HOME", root_.c_str(), 1);
        std::filesystem::create_directories(portsDir());
    }
    ~PortLinkHome() {
        if (hadPrevious_)
            setenv("XDG_CONFIG_HOME", previous_.c_str(), 1);
        else
            unsetenv("XDG_CONFIG_HOME");
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }
    PortLinkHome(const PortLinkHome&) = delete;
    PortLinkHome& operator=(const PortLinkHome&) = delete;

    const std::string& root() const { return root_; }
    std::filesystem::path portsDir() const {
        return std::filesystem::path(root_) / "dornal" / "ports";
    }
    std::filesystem::path link(int port) const {
        return portsDir() / ("com" + std::to_string(port));
    }

private:
    std::string root_;
    std::string previous_;
    bool hadPrevious_ = false;
};

} // namespace dornal::testing
