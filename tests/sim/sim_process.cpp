#include "sim_process.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <poll.h>
#include <sstream>
#include <stdexcept>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace dornal::sim::testing {

namespace {

constexpr std::chrono::milliseconds kStep{10};

std::string simulatorPath() {
    if (const char* path = std::getenv("DORNAL_SIM"); path != nullptr && *path != '\0') {
        return path;
    }
#ifdef DORNAL_SIM_BUILT
    return DORNAL_SIM_BUILT;
#else
    throw std::runtime_error("DORNAL_SIM is not set: run the sim tests through ctest");
#endif
}

} // namespace

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "dornal-sim-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot create a temporary directory");
    }
    path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

SimProcess::SimProcess(const std::string& configHome, std::vector<std::string> args,
                       std::string errorFile)
    : configHome_(configHome),
      errorFile_(errorFile.empty() ? configHome + "/sim.err" : std::move(errorFile)) {
    args.insert(args.begin(), simulatorPath());
    std::vector<char*> argv;
    for (std::string& a : args) {
        argv.push_back(a.data());
    }
    argv.push_back(nullptr);
    pid_ = fork();
    if (pid_ == 0) {
        setenv("XDG_CONFIG_HOME", configHome_.c_str(), 1);
        const int err = open(errorFile_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(err, STDERR_FILENO);
        execv(argv[0], argv.data());
        _exit(127);
    }
    if (pid_ < 0) {
        throw std::runtime_error("cannot start dornal-sim");
    }
}

SimProcess::~SimProcess() {
    if (pid_ > 0) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
}

std::string SimProcess::linkPath(int port) const {
    return configHome_ + "/dornal/ports/com" + std::to_string(port);
}

bool SimProcess::waitForLink(int port, std::chrono::milliseconds within) const {
    for (auto waited = std::chrono::milliseconds(0); waited < within; waited += kStep) {
        if (access(linkPath(port).c_str(), F_OK) == 0) {
            return true;
        }
        std::this_thread::sleep_for(kStep);
    }
    return false;
}

std::optional<int> SimProcess::waitExit(std::chrono::milliseconds within) {
    for (auto waited = std::chrono::milliseconds(0); waited < within; waited += kStep) {
        int status = 0;
        if (waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        }
        std::this_thread::sleep_for(kStep);
    }
    return std::nullopt;
}

void SimProcess::signal(int number) const {
    kill(pid_, number);
}

std::string SimProcess::errorOutput() const {
    std::ifstream in(errorFile_);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

PlainLine::PlainLine(const std::string& path, speed_t speed) {
    fd_ = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    termios settings{};
    if (fd_ < 0 || tcgetattr(fd_, &settings) != 0) {
        return;
    }
    cfmakeraw(&settings);
    cfsetispeed(&settings, speed);
    cfsetospeed(&settings, speed);
    tcsetattr(fd_, TCSANOW, &settings);
}

PlainLine::~PlainLine() {
    if (fd_ >= 0) {
        close(fd_);
    }
}

void PlainLine::send(const std::string& bytes) const {
    if (write(fd_, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size())) {
        throw std::runtime_error("cannot write to the line");
    }
}

std::string PlainLine::receive(std::size_t count, std::chrono::milliseconds quiet) const {
    std::string got;
    while (got.size() < count) {
        pollfd wait{fd_, POLLIN, 0};
        if (poll(&wait, 1, static_cast<int>(quiet.count())) <= 0 || !(wait.revents & POLLIN)) {
            break;
        }
        char buffer[256];
        const ssize_t n = read(fd_, buffer, std::min(sizeof buffer, count - got.size()));
        if (n <= 0) {
            break;
        }
        got.append(buffer, static_cast<std::size_t>(n));
    }
    return got;
}

bool PlainLine::hungUp() const {
    pollfd wait{fd_, POLLIN, 0};
    char byte;
    return poll(&wait, 1, 0) == 1 && (wait.revents & POLLHUP) != 0 && read(fd_, &byte, 1) <= 0;
}

} // namespace dornal::sim::testing
