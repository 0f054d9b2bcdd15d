#pragma once

#include "port_link.h"
#include "port_links.h"
#include "pty_line.h"

#include <algorithm>
#include <chrono>
#include <poll.h>
#include <stdexcept>

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

// The far end of a pseudo-terminal published as port `com<n>`, made as the simulated reader
// makes its line: it sees exactly the bytes the program sends and can answer like a reader.
// Hanging up is closing it, like an unplugged reader.
class PtyPeer : public sim::PtyLine {
public:
    PtyPeer(const PortLinkHome&, int port) : PtyLine(B9600), link_(port, slavePath()) {}

    void send(const std::string& bytes) {
        if (::write(fd(), bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()))
            throw std::runtime_error("pty write failed");
    }
    std::string receive(std::size_t count,
                        std::chrono::milliseconds quiet = std::chrono::seconds(2)) {
        return receiveBytes(fd(), count, quiet);
    }
    // The line settings the program left on the line; a way to disturb them.
    termios lineSettings() const {
        termios settings{};
        tcgetattr(fd(), &settings);
        return settings;
    }
    void setLineSettings(const termios& settings) { tcsetattr(fd(), TCSANOW, &settings); }
    void hangUp() { close(); }

private:
    sim::PortLink link_;
};

} // namespace dornal::testing
