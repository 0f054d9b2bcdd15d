// Starts the built simulator and talks to it over a real pseudo-terminal, as the bench does.
#include "sim_process.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fstream>
#include <unistd.h>

namespace dornal::sim::testing {
namespace {

using namespace std::chrono_literals;

const std::string kTrailer = "\x1d\x1b\\\x1bj";
const std::string kQuery("\x42\x00\x06\x1a\x22\x00\x00\x00\x80\xfc", 10);

TEST(SimEndToEnd, WritesAndReadsBackOverTheLine) {
    TempDir home;
    SimProcess sim(home.path(), {"--port", "2"});
    ASSERT_TRUE(sim.waitForLink(2, 3s)) << sim.errorOutput();
    {
        PlainLine line(sim.linkPath(2), B9600);
        ASSERT_TRUE(line.isOpen());
        line.send("\x1b+\x1bt12A34~AB" + kTrailer);
        EXPECT_EQ(line.receive(4), "\x1b\"0p");
        line.send("\x1b\"");
        EXPECT_EQ(line.receive(14), "\x1bs12\x7f"
                                    "A34\x7f~AB\x7f?");
    }
    // Closed and opened again, the line still serves, and the card kept its data.
    for (int round = 0; round < 2; ++round) {
        PlainLine line(sim.linkPath(2), B9600);
        ASSERT_TRUE(line.isOpen());
        line.send("\x1b"
                  "e\x1b]");
        EXPECT_EQ(line.receive(7), "y\x1bs12\x7f?") << "round " << round;
    }
}

TEST(SimEndToEnd, FaultOptionsReachTheLine) {
    TempDir home;
    SimProcess sim(home.path(), {"--fail-every", "1", "--stray", "2", "--cut", "3", "--delay",
                                 "200", "--never-ready"});
    ASSERT_TRUE(sim.waitForLink(1, 3s)) << sim.errorOutput();
    PlainLine line(sim.linkPath(1), B9600);
    const auto start = std::chrono::steady_clock::now();
    line.send("\x1bt12" + kTrailer);
    EXPECT_EQ(line.receive(5), "xz\x1brq");
    EXPECT_GE(std::chrono::steady_clock::now() - start, 200ms);
    // The failed write stored nothing; the ready check stays unanswered.
    line.send("\x1b"
              "e\x1b]");
    EXPECT_EQ(line.receive(5), "xz\x1bs\x7f");
}

TEST(SimEndToEnd, TraceLogsBothDirections) {
    TempDir home;
    const std::string log = home.path() + "/trace.log";
    SimProcess sim(home.path(), {"--trace", log});
    ASSERT_TRUE(sim.waitForLink(1, 3s)) << sim.errorOutput();
    {
        PlainLine line(sim.linkPath(1), B9600);
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
    TempDir home;
    SimProcess sim(home.path(), {"--baud", "1200"});
    ASSERT_TRUE(sim.waitForLink(1, 3s)) << sim.errorOutput();
    PlainLine line(sim.linkPath(1), B1200);
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
    TempDir home;
    SimProcess sim(home.path(), {});
    ASSERT_TRUE(sim.waitForLink(1, 3s)) << sim.errorOutput();
    PlainLine line(sim.linkPath(1), B19200);
    line.send("\x1b"
              "e\x1b]");
    const std::string got = line.receive(3);
    ASSERT_EQ(got.size(), 3u);
    for (char c : got) {
        EXPECT_GE(static_cast<unsigned char>(c), 128);
    }
}

TEST(SimEndToEnd, HangupRemovesTheLinkAndTheLine) {
    TempDir home;
    SimProcess sim(home.path(), {"--hangup-after", "0.3"});
    ASSERT_TRUE(sim.waitForLink(1, 3s)) << sim.errorOutput();
    PlainLine line(sim.linkPath(1), B9600);
    ASSERT_TRUE(line.isOpen());
    EXPECT_EQ(sim.waitExit(3s), 0);
    EXPECT_NE(access(sim.linkPath(1).c_str(), F_OK), 0);
    EXPECT_TRUE(line.hungUp());
}

TEST(SimEndToEnd, StopSignalsRemoveTheLink) {
    for (int signal : {SIGTERM, SIGINT}) {
        TempDir home;
        SimProcess sim(home.path(), {"--port", "7"});
        ASSERT_TRUE(sim.waitForLink(7, 3s)) << sim.errorOutput();
        sim.signal(signal);
        EXPECT_EQ(sim.waitExit(3s), 0) << "signal " << signal;
        EXPECT_NE(access(sim.linkPath(7).c_str(), F_OK), 0) << "signal " << signal;
    }
}

TEST(SimEndToEnd, UnusableLinkDirectoryIsAClearError) {
    TempDir home;
    const std::string notADirectory = home.path() + "/file";
    std::ofstream(notADirectory) << "x";
    SimProcess sim(notADirectory, {}, home.path() + "/sim.err");
    EXPECT_EQ(sim.waitExit(3s), 1);
    EXPECT_NE(sim.errorOutput().find("link directory"), std::string::npos) << sim.errorOutput();
}

} // namespace
} // namespace dornal::sim::testing
