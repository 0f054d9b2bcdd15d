#pragma once

#include "port_links.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace dornal::testing {

// Runs the simulated reader (its path in $DORNAL_SIM) on port `com<n>` for the life of the
// object, with the test's own $XDG_CONFIG_HOME.
class SimProcess {
public:
    SimProcess(const PortLinkHome& home, int port, std::vector<std::string> options = {})
        : link_(home.link(port)) {
        const char* sim = std::getenv("DORNAL_SIM");
        if (sim == nullptr)
            throw std::runtime_error("DORNAL_SIM is not set");
        std::vector<std::string> args{sim, "--port", std::to_string(port)};
        args.insert(args.end(), options.begin(), options.end());
        pid_ = fork();
        if (pid_ == 0) {
            std::vector<char*> argv;
            for (auto& arg : args)
                argv.push_back(arg.data());
            argv.push_back(nullptr);
            execv(argv[0], argv.data());
            _exit(127);
        }
        waitForLink(true);
    }
    ~SimProcess() { stop(); }
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    // Waits (bounded) until the port link exists (or is gone); true when it got there.
    bool waitForLink(bool present,
                     std::chrono::milliseconds bound = std::chrono::milliseconds(5000)) const {
        const auto deadline = std::chrono::steady_clock::now() + bound;
        while (std::chrono::steady_clock::now() < deadline) {
            if (std::filesystem::is_symlink(link_) == present)
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return false;
    }

    void stop() {
        if (pid_ <= 0)
            return;
        kill(pid_, SIGTERM);
        int status = 0;
        waitpid(pid_, &status, 0);
        pid_ = -1;
    }

private:
    std::filesystem::path link_;
    pid_t pid_ = -1;
};

} // namespace dornal::testing
