#pragma once

#include "port_links.h"

#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <poll.h>
#include <stdexcept>
#include <string>
#include <termios.h>
#include <unistd.h>

namespace dornal::testing {

// The far end of a pseudo-terminal published as port `com<n>`: it sees exactly the bytes the
// program sends and can answer like a reader.
class PtyPeer {
public:
    PtyPeer(const PortLinkHome& home, int port) : link_(home.link(port)) {
        master_ = posix_openpt(O_RDWR | O_NOCTTY);
        if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0)
            throw std::runtime_error("no pseudo-terminal");
        termios raw{};
        tcgetattr(master_, &raw);
        cfmakeraw(&raw);
        tcsetattr(master_, TCSANOW, &raw);
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

    // Bytes that arrive until `count` have come or `timeout` passes without a byte.
    std::string receive(std::size_t count,
                        std::chrono::milliseconds timeout = std::chrono::milliseconds(2000)) {
        std::string bytes;
        while (bytes.size() < count) {
            pollfd fd{master_, POLLIN, 0};
            if (poll(&fd, 1, static_cast<int>(timeout.count())) <= 0 || (fd.revents & POLLIN) == 0)
                break;
            char buffer[256];
            const ssize_t n =
                ::read(master_, buffer, std::min(sizeof buffer, count - bytes.size()));
            if (n <= 0)
                break;
            bytes.append(buffer, static_cast<std::size_t>(n));
        }
        return bytes;
    }

    // The output speed the program set on the line.
    speed_t lineSpeed() const {
        termios settings{};
        tcgetattr(master_, &settings);
        return cfgetospeed(&settings);
    }

    // The whole line setting the program left on the line, and a way to disturb it first.
    termios lineSettings() const {
        termios settings{};
        tcgetattr(master_, &settings);
        return settings;
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
