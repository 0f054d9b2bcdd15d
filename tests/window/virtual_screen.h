#pragma once

#include <array>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <poll.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace dornal::testing {

// Whether a program of this name is on the PATH.
inline bool onPath(const std::string& program) {
    const char* path = std::getenv("PATH");
    std::string dirs = path != nullptr ? path : "/usr/bin:/bin";
    std::size_t start = 0;
    while (start <= dirs.size()) {
        const std::size_t end = std::min(dirs.find(':', start), dirs.size());
        const auto candidate = std::filesystem::path(dirs.substr(start, end - start)) / program;
        if (access(candidate.c_str(), X_OK) == 0)
            return true;
        start = end + 1;
    }
    return false;
}

// A child process started with execvp; `environment` entries ("NAME=value") are set in the
// child only. Ended with SIGTERM when the object goes, unless it has ended by itself.
class ChildProcess {
public:
    ChildProcess(std::vector<std::string> args, std::vector<std::string> environment = {},
                 int keepFd = -1) {
        pid_ = fork();
        if (pid_ == 0) {
            for (auto& entry : environment)
                putenv(entry.data());
            for (int fd = 3; fd < 256; ++fd)
                if (fd != keepFd)
                    close(fd);
            std::vector<char*> argv;
            for (auto& arg : args)
                argv.push_back(arg.data());
            argv.push_back(nullptr);
            execvp(argv[0], argv.data());
            _exit(127);
        }
    }
    ~ChildProcess() {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
        }
    }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    pid_t pid() const { return pid_; }

    // The exit status once the process has ended within `bound`; nothing if it still runs.
    std::optional<int> waitForExit(std::chrono::milliseconds bound) {
        const auto deadline = std::chrono::steady_clock::now() + bound;
        while (pid_ > 0) {
            int status = 0;
            if (waitpid(pid_, &status, WNOHANG) == pid_) {
                pid_ = -1;
                return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            }
            if (std::chrono::steady_clock::now() >= deadline)
                return std::nullopt;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return std::nullopt;
    }

private:
    pid_t pid_ = -1;
};

// An X server of its own on a free display (Xvfb picks it and tells us), at 96 dpi.
class VirtualScreen {
public:
    VirtualScreen() {
        int fds[2];
        if (pipe(fds) != 0)
            return;
        server_.emplace(std::vector<std::string>{"Xvfb", "-displayfd", std::to_string(fds[1]),
                                                 "-screen", "0", "1024x768x24", "-dpi", "96",
                                                 "-nolisten", "tcp"},
                        std::vector<std::string>{}, fds[1]);
        close(fds[1]);
        std::string number;
        pollfd ready{fds[0], POLLIN, 0};
        while (poll(&ready, 1, 10000) > 0) {
            char c = 0;
            if (read(fds[0], &c, 1) != 1 || c == '\n')
                break;
            number.push_back(c);
        }
        close(fds[0]);
        if (!number.empty())
            display_ = ":" + number;
    }

    // ":N", or empty when the server did not come up.
    const std::string& display() const { return display_; }

private:
    std::optional<ChildProcess> server_;
    std::string display_;
};

// Runs a shell command and returns what it printed.
inline std::string output(const std::string& command) {
    std::string text;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        std::array<char, 256> buffer{};
        while (std::fgets(buffer.data(), buffer.size(), pipe) != nullptr)
            text += buffer.data();
        pclose(pipe);
    }
    return text;
}

} // namespace dornal::testing
