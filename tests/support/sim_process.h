#pragma once

#include "port_links.h" // with <cstdlib>, <optional>, <string> and <unistd.h>

#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <stdexcept>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>
#include <vector>

namespace dornal::testing {

// The whole text of a file; empty when there is none.
inline std::string fileText(const std::filesystem::path& path) {
    std::ifstream in(path);
    return {std::istreambuf_iterator<char>(in), {}};
}

// A program a test starts (`args[0]` its full path), its standard output and error going to
// the files `<files>.out` and `<files>.err`. It lives no longer than the test: it is killed
// when the thread that started it ends, crashed or not, and it holds none of the test's files,
// so nothing of it keeps ctest waiting for the test's output.
class ChildProcess {
public:
    ChildProcess(std::vector<std::string> args, std::string files) : files_(std::move(files)) {
        std::vector<char*> argv;
        for (auto& arg : args)
            argv.push_back(arg.data());
        argv.push_back(nullptr);
        const int fds[] = {open("/dev/null", O_RDONLY | O_CLOEXEC), logFile(".out"),
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
                if (dup2(fds[fd], fd) < 0)
                    _exit(127);
            if (close_range(3, ~0U, 0) != 0)
                for (int fd = 3; fd < 1024; ++fd)
                    close(fd);
            execv(argv[0], argv.data());
            _exit(127);
        }
        for (int fd : fds)
            close(fd);
        if (pid_ < 0)
            throw std::runtime_error("cannot start " + args[0]);
        setpgid(pid_, pid_);
    }
    ~ChildProcess() { stop(); }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    pid_t pid() const { return pid_; }

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

    // Ends it with SIGTERM, or SIGKILL when that takes longer than two seconds; its status.
    int stop() {
        signal(SIGTERM);
        if (!waitExit(std::chrono::seconds(2))) {
            signal(SIGKILL);
            waitExit(std::chrono::hours(1));
        }
        return *status_;
    }

    // What it has written so far to its standard output and to its standard error.
    std::string output() const { return fileText(files_ + ".out"); }
    std::string errorOutput() const { return fileText(files_ + ".err"); }

protected:
    static constexpr std::chrono::milliseconds kStep{10};

private:
    int logFile(const char* suffix) const {
        return open((files_ + suffix).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    }

    std::string files_; // its output files, without the suffix
    pid_t pid_ = -1;
    std::optional<int> status_;
};

// The simulated reader (the built dornal-sim, its path in $DORNAL_SIM) on port com<n> of a
// test's own port-link home, its output files in that home.
class SimProcess : public ChildProcess {
public:
    // Starts it and waits (bounded) until its link is there or it has ended.
    SimProcess(const PortLinkHome& home, int port, std::vector<std::string> options = {})
        : ChildProcess(arguments(port, std::move(options)),
                       home.root() + "/dornal-sim-com" + std::to_string(port)),
          link_(home.link(port)) {
        waitForLink();
    }

    // Waits (bounded) until the port link exists; false when it does not come or the
    // simulator has ended.
    bool waitForLink() {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        for (; !std::filesystem::is_symlink(link_); std::this_thread::sleep_for(kStep))
            if (std::chrono::steady_clock::now() >= deadline || waitExit({}))
                return false;
        return true;
    }

private:
    static std::vector<std::string> arguments(int port, std::vector<std::string> options) {
        const char* path = std::getenv("DORNAL_SIM");
#ifdef DORNAL_SIM_BUILT
        path = path != nullptr && *path != '\0' ? path : DORNAL_SIM_BUILT;
#endif
        if (path == nullptr || *path == '\0')
            throw std::runtime_error("DORNAL_SIM is not set: run the tests through ctest");
        options.insert(options.begin(), {path, "--port", std::to_string(port)});
        return options;
    }

    std::filesystem::path link_;
};

} // namespace dornal::testing
