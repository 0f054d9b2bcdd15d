// Starts the built simulator and talks to it over a real pseudo-terminal, as the bench does.
#include "pty_peer.h"
#include "sim_process.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <poll.h>
#include <sys/prctl.h>
#include <termios.h>
#include <unistd.h>

namespace dornal::testing {
namespace {

using namespace std::chrono_literals;

const std::string kTrailer = "\x1d\x1b\\\x1bj";
const std::string kQuery("\x42\x00\x06\x1a\x22\x00\x00\x00\x80\xfc", 10);

// The bench side of the line, opened with plain POSIX termios.
class PlainLine {
public:
    PlainLine(const std::filesystem::path& path, speed_t speed)
        : fd_(open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK)) {
        termios settings{};
        if (fd_ < 0 || tcgetattr(fd_, &settings) != 0)
            return;
        cfmakeraw(&settings);
        cfsetispeed(&settings, speed);
        cfsetospeed(&settings, speed);
        tcsetattr(fd_, TCSANOW, &settings);
    }
    ~PlainLine() {
        if (fd_ >= 0)
            close(fd_);
    }
    bool isOpen() const { return fd_ >= 0; }
    void send(const std::string& bytes) const {
        if (write(fd_, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()))
            throw std::runtime_error("cannot write to the line");
    }
    std::string receive(std::size_t count) const { return receiveBytes(fd_, count, 1s); }
    // Whether the line reports that the other side is gone.
    bool hungUp() const {
        pollfd wait{fd_, POLLIN, 0};
        char byte;
        return poll(&wait, 1, 0) == 1 && (wait.revents & POLLHUP) != 0 && read(fd_, &byte, 1) <= 0;
    }

private:
    int fd_;
};

TEST(SimEndToEnd, WritesAndReadsBackOverTheLine) {
    PortLinkHome home;
    SimProcess sim(home, 2);
    ASSERT_TRUE(sim.waitForLink(true)) << sim.errorOutput();
    // Where the bench looks for port 2, named here on its own.
    const auto link = std::filesystem::path(home.root()) / "dornal" / "ports" / "com2";
    ASSERT_TRUE(std::filesystem::is_symlink(link));
    {
        PlainLine line(link, B9600);
        ASSERT_TRUE(line.isOpen());
        line.send("\x1b+\x1bt12A34~AB" + kTrailer);
        EXPECT_EQ(line.receive(4), "\x1b\"0p");
        line.send("\x1b\"");
        EXPECT_EQ(line.receive(14), "\x1bs12\x7f"
                                    "A34\x7f~AB\x7f?");
    }
    // Closed and opened again, the line still serves, and the card kept its data.
    for (int round = 0; round < 2; ++round) {
        PlainLine line(link, B9600);
        ASSERT_TRUE(line.isOpen());
        line.send("\x1b"
                  "e\x1b]");
        EXPECT_EQ(line.receive(7), "y\x1bs12\x7f?") << "round " << round;
    }
}

TEST(SimEndToEnd, FaultOptionsReachTheLineAndTheTally) {
    PortLinkHome home;
    SimProcess sim(
        home, 1,
        {"--fail-every", "1", "--stray", "2", "--cut", "3", "--delay", "200", "--never-ready"});
    ASSERT_TRUE(sim.waitForLink(true)) << sim.errorOutput();
    PlainLine line(home.link(1), B9600);
    const auto start = std::chrono::steady_clock::now();
    line.send("\x1bt12" + kTrailer);
    EXPECT_EQ(line.receive(5), "xz\x1brq");
    EXPECT_GE(std::chrono::steady_clock::now() - start, 200ms);
    // The failed write stored nothing; the ready check stays unanswered.
    line.send("\x1b"
              "e\x1b]");
    EXPECT_EQ(line.receive(5), "xz\x1bs\x7f");
    EXPECT_EQ(sim.stop(), 0);
    EXPECT_EQ(sim.output(), "tally: writes-done 1=0 2=0 3=0 reads-with-data 1=0 2=0 3=0 "
                            "write-answers 1 failed-writes 1 read-answers 1 ready 1 firmware 0 "
                            "spoiled 3 unsent 0\n");
}

TEST(SimEndToEnd, TraceLogsBothDirections) {
    PortLinkHome home;
    const std::string log = home.root() + "/trace.log";
    SimProcess sim(home, 1, {"--trace", log});
    ASSERT_TRUE(sim.waitForLink(true)) << sim.errorOutput();
    {
        PlainLine line(home.link(1), B9600);
        line.send("\x1b"
                  "e");
        ASSERT_EQ(line.receive(1), "y");
    }
    sim.signal(SIGTERM);
    ASSERT_EQ(sim.waitExit(3s), 0);
    std::ifstream in(log);
    const std::string text((std::istreambuf_iterator<char>(in)), {});
    EXPECT_NE(text.find(" in  1B 65\n"), std::string::npos) << text;
    EXPECT_NE(text.find(" out 79\n"), std::string::npos) << text;
}

TEST(SimEndToEnd, AnswersArePacedAtTheLineRate) {
    PortLinkHome home;
    SimProcess sim(home, 1, {"--baud", "1200"});
    ASSERT_TRUE(sim.waitForLink(true)) << sim.errorOutput();
    PlainLine line(home.link(1), B1200);
    const auto start = std::chrono::steady_clock::now();
    line.send(kQuery);
    const std::string answer = line.receive(26);
    const auto took = std::chrono::steady_clock::now() - start;
    ASSERT_EQ(answer.size(), 26u); // 6 bytes of acknowledgement, 20 of "DORNAL SIM 1.0"
    // 26 bytes of 10 bits at 1200 baud: 217 ms.
    EXPECT_GE(took, 210ms);
    EXPECT_LT(took, 1500ms);
}

TEST(SimEndToEnd, MismatchedLineRateGarblesTheAnswers) {
    PortLinkHome home;
    SimProcess sim(home, 1);
    ASSERT_TRUE(sim.waitForLink(true)) << sim.errorOutput();
    PlainLine line(home.link(1), B19200);
    line.send("\x1b"
              "e\x1b]");
    const std::string got = line.receive(3);
    ASSERT_EQ(got.size(), 3u);
    for (char c : got) {
        EXPECT_GE(static_cast<unsigned char>(c), 128);
    }
    EXPECT_EQ(sim.stop(), 0);
    EXPECT_NE(sim.output().find("read-answers 1 ready 1 firmware 0 spoiled 2 "), std::string::npos)
        << sim.output();
}

TEST(SimEndToEnd, HangupRemovesTheLinkAndTheLineAndCountsWhatWasLeftUnsent) {
    PortLinkHome home;
    SimProcess sim(home, 1, {"--hangup-after", "0.5", "--delay", "2000"});
    ASSERT_TRUE(sim.waitForLink(true)) << sim.errorOutput();
    PlainLine line(home.link(1), B9600);
    ASSERT_TRUE(line.isOpen());
    line.send("\x1b"
              "e");
    EXPECT_EQ(sim.waitExit(3s), 0);
    EXPECT_FALSE(std::filesystem::is_symlink(home.link(1)));
    EXPECT_TRUE(line.hungUp());
    EXPECT_NE(sim.output().find(" ready 1 firmware 0 spoiled 0 unsent 1\n"), std::string::npos)
        << sim.output();
}

TEST(SimEndToEnd, StopSignalsRemoveTheLink) {
    for (int signal : {SIGTERM, SIGINT}) {
        PortLinkHome home;
        SimProcess sim(home, 7);
        ASSERT_TRUE(sim.waitForLink(true)) << sim.errorOutput();
        sim.signal(signal);
        EXPECT_EQ(sim.waitExit(3s), 0) << "signal " << signal;
        EXPECT_FALSE(std::filesystem::is_symlink(home.link(7))) << "signal " << signal;
    }
}

TEST(SimEndToEnd, UnusableLinkDirectoryIsAClearError) {
    PortLinkHome home;
    const auto config = std::filesystem::path(home.root()) / "dornal";
    std::filesystem::remove_all(config);
    std::ofstream(config) << "x";
    SimProcess sim(home, 1);
    EXPECT_EQ(sim.waitExit(3s), 1);
    EXPECT_NE(sim.errorOutput().find("link directory"), std::string::npos) << sim.errorOutput();
}

// A test that crashes leaves no simulator behind, and nothing of the simulator keeps the
// test's output open, which would keep ctest waiting.
TEST(SimProcess, DiesWithItsTestAndHoldsNoneOfItsFiles) {
    PortLinkHome home;
    int output[2];
    ASSERT_EQ(pipe(output), 0);
    // Orphans come to this process, which can then tell how the simulator ended.
    ASSERT_EQ(prctl(PR_SET_CHILD_SUBREAPER, 1), 0);
    const pid_t test = fork();
    if (test == 0) {
        // The pipe stands for ctest's: on standard output and error, and inherited once more.
        close(output[0]);
        dup2(output[1], STDOUT_FILENO);
        dup2(output[1], STDERR_FILENO);
        SimProcess sim(home, 3);
        const pid_t simulator = sim.pid();
        if (write(output[1], &simulator, sizeof simulator) == ssize_t{sizeof simulator}) {
            for (int fd : {STDOUT_FILENO, STDERR_FILENO, output[1]})
                close(fd);
            pause();
        }
        _exit(1);
    }
    close(output[1]);
    pid_t simulator = 0;
    EXPECT_EQ(read(output[0], &simulator, sizeof simulator), ssize_t{sizeof simulator});
    pollfd wait{output[0], POLLIN, 0};
    char byte;
    EXPECT_TRUE(poll(&wait, 1, 3000) == 1 && read(output[0], &byte, 1) == 0)
        << "the pipe is still held";
    EXPECT_EQ(kill(simulator, 0), 0) << "the simulator is not running";
    kill(test, SIGKILL);
    waitpid(test, nullptr, 0);
    int status = 0;
    bool gone = false;
    for (const auto deadline = std::chrono::steady_clock::now() + 2s;
         simulator > 0 && !gone && std::chrono::steady_clock::now() < deadline;
         std::this_thread::sleep_for(10ms))
        gone = waitpid(simulator, &status, WNOHANG) == simulator;
    EXPECT_TRUE(gone && WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << status;
    if (simulator > 0 && !gone)
        kill(simulator, SIGKILL);
    prctl(PR_SET_CHILD_SUBREAPER, 0);
    close(output[0]);
}

} // namespace
} // namespace dornal::testing
