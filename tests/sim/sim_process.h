#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <sys/types.h>
#include <termios.h>
#include <vector>

namespace dornal::sim::testing {

// A fresh directory that is removed with everything in it at the end.
class TempDir {
public:
    TempDir();
    ~TempDir();
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

// The built dornal-sim (path in DORNAL_SIM) running with its own XDG_CONFIG_HOME.
class SimProcess {
public:
    // Standard error goes to `errorFile`, by default sim.err in `configHome`.
    SimProcess(const std::string& configHome, std::vector<std::string> args,
               std::string errorFile = {});
    ~SimProcess(); // SIGKILL if still running

    std::string linkPath(int port) const;
    // Polls for the link in short steps; false when it did not come within the time.
    bool waitForLink(int port, std::chrono::milliseconds within) const;
    // The exit status once the process ended within the time; nullopt otherwise.
    std::optional<int> waitExit(std::chrono::milliseconds within);
    void signal(int number) const;
    std::string errorOutput() const;

private:
    std::string configHome_;
    std::string errorFile_;
    pid_t pid_ = -1;
};

// The bench side of the line, opened with plain POSIX termios.
class PlainLine {
public:
    PlainLine(const std::string& path, speed_t speed);
    ~PlainLine();
    bool isOpen() const { return fd_ >= 0; }
    void send(const std::string& bytes) const;
    // Reads until `count` bytes came or nothing arrived for `quiet`.
    std::string receive(std::size_t count,
                        std::chrono::milliseconds quiet = std::chrono::milliseconds(1000)) const;
    // Whether the line reports that the other side is gone.
    bool hungUp() const;

private:
    int fd_ = -1;
};

} // namespace dornal::sim::testing
