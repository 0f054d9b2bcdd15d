#pragma once

#include "port_links.h"

#include <algorithm>
#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <termios.h>

namespace dornal::testing {

// Bytes read from `fd` until `count` have come or `quiet` passes without a byte.
inline std::string receiveBytes(int fd, std::size_t count, std::chrono::milliseconds quiet) {
    std::string bytes;
    char buffer[256];
    pollfd wait{fd, POLLIN, 0};
    while (bytes.size() < count && poll(&wait, 1, static_cast<int>(quiet.count())) > 0 &&
           (wait.revents & POLLIN) != 0) {
        const ssize_t n = ::read(fd, buffer, std::min(sizeof buffer, count - bytes.size()));
        if (n <= 0)
            break;
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
    return bytes;
}

// The far end of a pseudo-terminal published as port `com<n>`: it sees exactly the bytes the
// program sends and can answer like a reader.
class PtyPeer {
public:
    PtyPeer(const PortLinkHome& home, int port) : link_(home.link(port)) {
        master_ = posix_openpt(O_RDWR | O_NOCTTY);
        if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0)
            throw std::runtime_error("no pseudo-terminal");
        termios raw = lineSettings();
        cfmakeraw(&raw);
        setLineSettings(raw);
        std::filesystem::create_symlink(ptsname(master_), link_);
    }
    ~PtyPeer() {
        hangUp();
        std::error_code ignored;
        std::filesystem::remove(link_, ignored);
    }
    PtyPeer(const PtyPeer&) = delete;
    PtyPeer& operator=(const PtyPeer&) = delete;

    void send(const std::string& bytes) {
        if (::write(master_, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()))
            throw std::runtime_error("pty write failed");
    }
    std::string receive(std::size_t count,
                        std::chrono::milliseconds quiet = std::chrono::seconds(2)) {
        return receiveBytes(master_, count, quiet);
    }

    // The line setting (and output speed) the program left on the line; a way to disturb it.
    termios lineSettings() const {
        termios settings{};
        tcgetattr(master_, &settings);
        return settings;
    }
    speed_t lineSpeed() const {
        const termios settings = lineSettings();
        return cfgetospeed(&settings);
    }
    void setLineSettings(const termios& settings) { tcsetattr(master_, TCSANOW, &settings); }

    // Like an unplugged reader: the line goes away.
    void hangUp() {
        if (master_ >= 0)
            ::close(master_);
        master_ = -1;
    }

private:
    std::filesystem::path link_;
    int master_ = -1;
};

} // namespace dornal::testing
