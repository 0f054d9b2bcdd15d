#include "simulator.h"

#include "line_rate.h"
#include "port_link.h"
#include "pty_line.h"
#include "sim_error.h"
#include "trace.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <poll.h>
#include <unistd.h>

namespace dornal::sim {

namespace {

// While no program has the line open the master reports a hang-up at once on every poll, so
// it is left out of the poll set and looked at again this often instead.
constexpr std::chrono::milliseconds kReattachCheck{50};

// A program that sends requests but never reads cannot make the simulator hoard answers: past
// this many bytes waiting to leave, further answers are lost, as on a line nobody listens to.
constexpr std::size_t kMaxWaitingBytes = 64 * 1024;

int ceilMs(Simulator::Clock::duration d) {
    const auto ms = std::chrono::ceil<std::chrono::milliseconds>(d).count();
    return static_cast<int>(std::clamp<long long>(ms, 0, 60'000));
}

} // namespace

Simulator::Simulator(const Options& options, PtyLine& line, PortLink& link, Trace& trace,
                     int stopFd)
    : options_(options), line_(line), link_(link), trace_(trace), stopFd_(stopFd),
      model_(ReaderSettings{options.failEvery, options.versionText, options.corruptEvery}) {
    if (options.hangupAfterSeconds) {
        hangupAt_ = Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                       std::chrono::duration<double>(*options.hangupAfterSeconds));
    }
}

int Simulator::run() {
    for (;;) {
        const Clock::time_point now = Clock::now();
        if (hangupAt_ && now >= *hangupAt_) {
            hangUp();
            printTally();
            return 0;
        }
        pollfd fds[2] = {{stopFd_, POLLIN, 0}, {-1, 0, 0}};
        if (attached_) {
            fds[1] = {line_.fd(), static_cast<short>(POLLIN | (writeBlocked_ ? POLLOUT : 0)), 0};
        }
        if (poll(fds, 2, pollTimeoutMs(now)) < 0) {
            if (errno == EINTR) {
                continue;
            }
            throwSystemError("poll failed");
        }
        if (fds[0].revents != 0) {
            trace_.note("stopped by a signal");
            printTally();
            return 0;
        }
        if (!attached_) {
            checkProgramBack();
            continue;
        }
        if (fds[1].revents & POLLOUT) {
            writeBlocked_ = false;
        }
        if (fds[1].revents & (POLLIN | POLLHUP | POLLERR)) {
            takeInput();
        }
        if (attached_) {
            sendDue(Clock::now());
        }
    }
}

int Simulator::pollTimeoutMs(Clock::time_point now) const {
    std::optional<Clock::time_point> wake = hangupAt_;
    auto earliest = [&wake](Clock::time_point t) { wake = wake ? std::min(*wake, t) : t; };
    if (!attached_) {
        earliest(now + kReattachCheck);
    } else if (!outgoing_.empty() && !writeBlocked_) {
        earliest(outgoing_.front().due);
    }
    return wake ? ceilMs(*wake - now) : -1;
}

void Simulator::takeInput() {
    char buffer[4096];
    for (;;) {
        const ssize_t count = read(line_.fd(), buffer, sizeof buffer);
        if (count > 0) {
            const std::string_view bytes(buffer, static_cast<std::size_t>(count));
            trace_.bytes("in", bytes);
            hear(bytes);
            continue;
        }
        if (count < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            return;
        }
        if (count < 0 && errno == EINTR) {
            continue;
        }
        programLeft(); // EIO: the last program closed the slave side.
        return;
    }
}

// A pseudo-terminal hands over the program's bytes at once; on a real line each takes 10 bits
// at the line rate, so the reader hears the end of a request only that much later.
void Simulator::hear(std::string_view bytes) {
    const auto perByte = std::chrono::duration_cast<Clock::duration>(byteTime(options_.baud));
    Clock::time_point heard = std::max(Clock::now(), inputFreeAt_);
    for (char byte : bytes) {
        heard += perByte;
        for (const Answer& a : model_.feed(std::string_view(&byte, 1))) {
            answer(a, heard);
        }
    }
    inputFreeAt_ = heard;
}

void Simulator::answer(const Answer& answer, Clock::time_point heard) {
    std::optional<std::string> bytes = shapeAnswer(answer, options_.faults);
    const speed_t programSpeed = line_.programSpeed();
    const bool garbled = bytes && !bytes->empty() && programSpeed != *speedCode(options_.baud);
    if (garbled) {
        trace_.note("line set to " + std::to_string(baudOf(programSpeed)) + " baud, reader at " +
                    std::to_string(options_.baud) + ": answer garbled");
        *bytes = garble(*bytes, noise_);
    }
    if (!bytes || garbled || *bytes != answer.bytes) {
        model_.countSpoiled();
    }
    if (!bytes || bytes->empty()) {
        return;
    }
    if (outgoing_.size() + bytes->size() > kMaxWaitingBytes) {
        trace_.note("the program does not read: answer dropped");
        model_.countUnsent(1);
        return;
    }
    const auto perByte = std::max<std::chrono::duration<double>>(
        byteTime(options_.baud), std::chrono::milliseconds(options_.dribbleMs));
    Clock::time_point at =
        std::max(heard + std::chrono::milliseconds(options_.delayMs), lineFreeAt_);
    for (char byte : *bytes) {
        at += std::chrono::duration_cast<Clock::duration>(perByte);
        outgoing_.push_back({at, byte, false});
    }
    outgoing_.back().endsAnswer = true;
    lineFreeAt_ = at;
}

void Simulator::sendDue(Clock::time_point now) {
    std::string due;
    for (auto it = outgoing_.begin(); it != outgoing_.end() && it->due <= now; ++it) {
        due.push_back(it->byte);
    }
    if (due.empty() || writeBlocked_) {
        return;
    }
    const ssize_t sent = write(line_.fd(), due.data(), due.size());
    if (sent < 0) {
        if (errno == EAGAIN || errno == EWOULDBLOCK) {
            writeBlocked_ = true; // The program does not read: wait until there is room.
        } else if (errno == EIO) {
            programLeft();
        } else if (errno != EINTR) {
            throwSystemError("cannot write to the line");
        }
        return;
    }
    trace_.bytes("out", std::string_view(due.data(), static_cast<std::size_t>(sent)));
    outgoing_.erase(outgoing_.begin(), outgoing_.begin() + sent);
}

void Simulator::programLeft() {
    attached_ = false;
    writeBlocked_ = false;
    model_.countUnsent(answersWaiting());
    outgoing_.clear();
    model_.lineClosed();
    trace_.note("line closed by the program");
    // A program that has already opened the line again keeps its settings.
    if (!line_.programAttached()) {
        line_.resetForNextProgram();
    }
    checkProgramBack();
}

std::uint64_t Simulator::answersWaiting() const {
    return static_cast<std::uint64_t>(std::count_if(
        outgoing_.begin(), outgoing_.end(), [](const Outgoing& out) { return out.endsAnswer; }));
}

void Simulator::printTally() {
    model_.countUnsent(answersWaiting());
    outgoing_.clear();
    const std::string line = tallyLine(model_.tally());
    trace_.note(line);
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

void Simulator::checkProgramBack() {
    if (line_.programAttached()) {
        attached_ = true;
        trace_.note("line opened by a program");
    }
}

void Simulator::hangUp() {
    trace_.note("hang-up: the line is closed");
    line_.close();
    link_.remove();
    std::fprintf(stderr, "dornal-sim: line com%d hung up after %g s, as asked\n", options_.port,
                 *options_.hangupAfterSeconds);
}

} // namespace dornal::sim
