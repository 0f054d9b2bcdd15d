// Starts the built simulator and talks to it over a real pseudo-terminal, as the bench does.
#include "pty_peer.h"
#include "sim_process.h"

#include <gtest/gtest.h>

namespace dornal::testing {
namespace {

using namespace std::chrono;

// The bench side of the line, opened with plain POSIX termios.
struct PlainLine {
    int fd;
    PlainLine(const std::filesystem::path& path, speed_t speed)
        : fd(open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK)) {
        termios settings{};
        tcgetattr(fd, &settings);
        cfmakeraw(&settings);
        cfsetspeed(&settings, speed);
        tcsetattr(fd, TCSANOW, &settings);
    }
    ~PlainLine() { close(fd); }
    // Sends `request` and gives what comes back, `count` bytes at most.
    std::string exchange(const std::string& request, std::size_t count) const {
        EXPECT_EQ(write(fd, request.data(), request.size()), ssize_t(request.size()));
        return receiveBytes(fd, count, 1s);
    }
};

// SIGINT ends it as SIGTERM does.
TEST(SimEndToEnd, FaultOptionsReachTheLineTheTraceLogsBothWaysAndATallyIsPrintedOnStop) {
    PortLinkHome home;
    const std::string log = home.root() + "/trace.log";
    SimProcess sim(home, 1,
                   {"--fail-every", "1", "--stray", "2", "--cut", "3", "--delay", "200",
                    "--never-ready", "--trace", log});
    ASSERT_TRUE(sim.waitForLink()) << sim.errorOutput();
    PlainLine line(home.link(1), B9600);
    const auto start = steady_clock::now();
    EXPECT_EQ(line.exchange("\033t12\035\033\\\033j", 5), "xz\033rq");
    EXPECT_GE(steady_clock::now() - start, 200ms);
    // The failed write stored nothing; the ready check stays unanswered.
    EXPECT_EQ(line.exchange("\033e\033]", 5), "xz\033s\177");
    sim.signal(SIGINT);
    EXPECT_EQ(sim.waitExit(3s), 0);
    EXPECT_FALSE(std::filesystem::is_symlink(home.link(1)));
    EXPECT_EQ(sim.output(), "tally: writes-done 1=0 2=0 3=0 reads-with-data 1=0 2=0 3=0 "
                            "write-answers 1 failed-writes 1 read-answers 1 ready 1 firmware 0 "
                            "spoiled 3 unsent 0 corrupted 0\n");
    EXPECT_NE(fileText(log).find(" in  1B 65 1B 5D\n"), std::string::npos) << fileText(log);
    EXPECT_NE(fileText(log).find(" out 7F\n"), std::string::npos) << fileText(log);
}

TEST(SimEndToEnd, EveryKthReadAnswerComesBackChangedAndIsTallied) {
    PortLinkHome home;
    SimProcess sim(home, 1, {"--corrupt-every", "2"});
    ASSERT_TRUE(sim.waitForLink()) << sim.errorOutput();
    PlainLine line(home.link(1), B9600);
    EXPECT_EQ(line.exchange("\033t12\035\033\\\033j", 3), "\033rp");
    EXPECT_EQ(line.exchange("\033]", 6), "\033s12\177?");
    EXPECT_EQ(line.exchange("\033]", 6), "\033s22\177?");
    sim.signal(SIGTERM);
    EXPECT_EQ(sim.waitExit(3s), 0);
    EXPECT_NE(
        sim.output().find(" read-answers 2 ready 0 firmware 0 spoiled 0 unsent 0 corrupted 1\n"),
        std::string::npos)
        << sim.output();
}

TEST(SimEndToEnd, AnswersArePacedAtTheLineRate) {
    PortLinkHome home;
    SimProcess sim(home, 1, {"--baud", "1200"});
    ASSERT_TRUE(sim.waitForLink()) << sim.errorOutput();
    PlainLine line(home.link(1), B1200);
    const auto start = steady_clock::now();
    // 6 bytes of acknowledgement, 20 of "DORNAL SIM 1.0", 10 bits each at 1200 baud: 217 ms.
    EXPECT_EQ(line.exchange(std::string("\x42\x00\x06\x1a\x22\x00\x00\x00\x80\xfc", 10), 26).size(),
              26u);
    EXPECT_GE(steady_clock::now() - start, 210ms);
    EXPECT_LT(steady_clock::now() - start, 1500ms);
}

TEST(SimEndToEnd, HangupRemovesTheLinkAndTheLineAndCountsWhatWasLeftUnsent) {
    PortLinkHome home;
    SimProcess sim(home, 1, {"--hangup-after", "0.5", "--delay", "2000"});
    ASSERT_TRUE(sim.waitForLink()) << sim.errorOutput();
    PlainLine line(home.link(1), B9600);
    EXPECT_EQ(line.exchange("\033e", 1), "");
    EXPECT_EQ(sim.waitExit(3s), 0);
    EXPECT_FALSE(std::filesystem::is_symlink(home.link(1)));
    // The line reports that the other side is gone.
    pollfd wait{line.fd, POLLIN, 0};
    char byte;
    EXPECT_TRUE(poll(&wait, 1, 0) == 1 && (wait.revents & POLLHUP) && read(line.fd, &byte, 1) <= 0);
    EXPECT_NE(sim.output().find(" ready 1 firmware 0 spoiled 0 unsent 1 corrupted 0\n"),
              std::string::npos)
        << sim.output();
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
    EXPECT_TRUE(poll(&wait, 1, 3000) == 1 && read(output[0], &byte, 1) == 0) << "the pipe is held";
    EXPECT_EQ(kill(simulator, 0), 0) << "the simulator is not running";
    kill(test, SIGKILL);
    waitpid(test, nullptr, 0);
    int status = 0;
    bool gone = false;
    for (const auto deadline = steady_clock::now() + 2s;
         simulator > 0 && !gone && steady_clock::now() < deadline;
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
