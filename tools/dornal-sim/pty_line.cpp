#include "pty_line.h"

#include "sim_error.h"

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <unistd.h>

namespace dornal::sim {

PtyLine::PtyLine(speed_t speed) : speed_(speed) {
    master_ = posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0) {
        throwSystemError("cannot open a pseudo-terminal");
    }
    try {
        if (grantpt(master_) != 0 || unlockpt(master_) != 0) {
            throwSystemError("cannot unlock the pseudo-terminal");
        }
        const char* name = ptsname(master_);
        if (name == nullptr) {
            throwSystemError("cannot name the pseudo-terminal");
        }
        slavePath_ = name;
        const int flags = fcntl(master_, F_GETFL);
        if (flags < 0 || fcntl(master_, F_SETFL, flags | O_NONBLOCK) != 0 ||
            fcntl(master_, F_SETFD, FD_CLOEXEC) != 0) {
            throwSystemError("cannot set up the pseudo-terminal");
        }
        makeRaw();
    } catch (...) {
        close();
        throw;
    }
}

PtyLine::~PtyLine() {
    close();
}

void PtyLine::makeRaw() {
    termios settings{};
    if (tcgetattr(master_, &settings) != 0) {
        throwSystemError("cannot read the pseudo-terminal settings");
    }
    // Without raw mode the line would echo answers back as input and turn CR into LF.
    cfmakeraw(&settings);
    settings.c_cflag |= CLOCAL | CREAD;
    cfsetispeed(&settings, speed_);
    cfsetospeed(&settings, speed_);
    if (tcsetattr(master_, TCSANOW, &settings) != 0) {
        throwSystemError("cannot make the pseudo-terminal raw");
    }
}

speed_t PtyLine::programSpeed() const {
    termios settings{};
    if (tcgetattr(master_, &settings) != 0) {
        return speed_;
    }
    return cfgetospeed(&settings);
}

void PtyLine::resetForNextProgram() {
    // Answers the last program did not take would wait for the next one in the slave's input
    // queue, which only the slave side can flush. Opening it for a moment keeps the hang-up
    // state: the master reports it again as soon as this descriptor is closed. Only that queue
    // is flushed: a program that has just opened the line may already have sent a request.
    const int slave = open(slavePath_.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (slave >= 0) {
        tcflush(slave, TCIFLUSH);
        ::close(slave);
    }
    makeRaw();
}

bool PtyLine::programAttached() const {
    pollfd probe{master_, POLLIN, 0};
    return poll(&probe, 1, 0) >= 0 && (probe.revents & (POLLHUP | POLLERR)) == 0;
}

void PtyLine::close() {
    if (master_ >= 0) {
        ::close(master_);
        master_ = -1;
    }
}

} // namespace dornal::sim
