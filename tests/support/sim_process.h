#pragma once

#include "port_links.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace dornal::testing {

// The simulated reader (the built dornal-sim, its path in $DORNAL_SIM) on port com<n> of a
// test's own port-link home. It lives no longer than the test: it is killed when the thread
// that started it ends, crashed or not, and it holds none of the test's files, so nothing of it
// keeps ctest waiting for the test's output. Its standard output and error go to files in the
// home.
class SimProcess {
public:
    // Starts it and waits (bounded) until its link is there or it has ended.
    SimProcess(const PortLinkHome& home, int port, std::vector<std::string> options = {})
        : link_(home.link(port)), files_(home.root() + "/dornal-sim-com" + std::to_string(port)) {
        std::vector<std::string> args{simulatorPath(), "--port", std::to_string(port)};
        args.insert(args.end(), options.begin(), options.end());
        std::vector<char*> argv;
        for (auto& arg : args)
            argv.push_back(arg.data());
        argv.push_back(nullptr);
        const int files[] = {open("/dev/null", O_RDONLY | O_CLOEXEC), logFile(".out"),
                             logFile(".err")};
        const pid_t parent = getpid();
        pid_ = fork();
        if (pid_ == 0) {
            // Only async-signal-safe calls from here on: the test may have other threads.
            if (prctl(PR_SET_PDEATHSIG, SIGKILL) != 0 || getppid() != parent)
                _exit(127);
            setpgid(0, 0);
            sigset_t none;
            sigemptyset(&none);
            sigprocmask(SIG_SETMASK, &none, nullptr);
            for (int fd = 0; fd < 3; ++fd)
                if (dup2(files[fd], fd) < 0)
                    _exit(127);
            if (close_range(3, ~0U, 0) != 0)
                for (int fd = 3; fd < 1024; ++fd)
                    close(fd);
            execv(argv[0], argv.data());
            _exit(127);
        }
        for (int fd : files)
            close(fd);
        if (pid_ < 0)
            throw std::runtime_error("cannot start dornal-sim");
        setpgid(pid_, pid_);
        waitForLink(true);
    }
    ~SimProcess() { stop(); }
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    pid_t pid() const { return pid_; }

    // Waits (bounded) until the port link exists (or is gone); true when it got there. A
    // simulator that has ended no longer brings its link.
    bool waitForLink(bool present,
                     std::chrono::milliseconds bound = std::chrono::milliseconds(5000)) {
        const auto deadline = std::chrono::steady_clock::now() + bound;
        while (std::filesystem::is_symlink(link_) != present) {
            if (std::chrono::steady_clock::now() >= deadline || (present && waitExit({})))
                return false;
            std::this_thread::sleep_for(kStep);
        }
        return true;
    }

    // The exit status (128 + the signal when killed) once it has ended within `bound`.
    std::optional<int> waitExit(std::chrono::milliseconds bound) {
        const auto deadline = std::chrono::steady_clock::now() + bound;
        while (!status_) {
            int status = 0;
            if (waitpid(pid_, &status, WNOHANG) == pid_)
                status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            else if (std::chrono::steady_clock::now() >= deadline)
                return std::nullopt;
            else
                std::this_thread::sleep_for(kStep);
        }
        return status_;
    }

    void signal(int number) const {
        if (!status_)
            kill(pid_, number);
    }

    // Ends it as its operator would, with SIGTERM, and with SIGKILL when that does not end it
    // within two seconds. Returns the exit status.
    int stop() {
        signal(SIGTERM);
        if (!waitExit(std::chrono::milliseconds(2000))) {
            signal(SIGKILL);
            waitExit(std::chrono::hours(1));
        }
        return *status_;
    }

    // What it has written so far to its standard output and to its standard error.
    std::string output() const { return fileText(files_ + ".out"); }
    std::string errorOutput() const { return fileText(files_ + ".err"); }

private:
    static constexpr std::chrono::milliseconds kStep{10};

    static std::string simulatorPath() {
        if (const char* path = std::getenv("DORNAL_SIM"); path != nullptr && *path != '\0')
            return path;
#ifdef DORNAL_SIM_BUILT
        return DORNAL_SIM_BUILT;
#else
        throw std::runtime_error("DORNAL_SIM is not set: run the tests through ctest");
#endif
    }

    int logFile(const char* suffix) const {
        return open((files_ + suffix).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    }

    static std::string fileText(const std::string& path) {
        std::ifstream in(path);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    std::filesystem::path link_;
    std::string files_; // its output files, without the suffix
    pid_t pid_ = -1;
    std::optional<int> status_;
};

} // namespace dornal::testing
