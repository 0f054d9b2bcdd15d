#include "e2e_bench.h"
#include "shared/text_number.h"
#include "sim_process.h"

#include <gtest/gtest.h>

namespace dornal {
namespace {

using namespace std::chrono_literals;
using testing::PortLinkHome;
using testing::RealBench;
using testing::SimProcess;

constexpr int kBaud115200 = 7;

long counter(const Label& label) {
    return std::stol(counterDigits(label.caption()));
}

// Each mode against the simulated reader, driven by a real 500 ms timer.
class ModeOnTheSimulatedReader : public ::testing::Test {
protected:
    PortLinkHome home;
    SimProcess sim{home, 1, {"--baud", "115200"}};
    RealBench bench;

    void start(int mode, std::chrono::milliseconds runFor) {
        bench.connect(0, kBaud115200);
        bench.form.Option1[mode].select();
        bench.form.Command2[0].click();
        testing::runTicks(bench.form, runFor);
    }
};

TEST_F(ModeOnTheSimulatedReader, AutoWriteLoopWritesAgainAndAgain) {
    start(0, 3200ms);
    EXPECT_GE(counter(bench.form.Label1[0]), 4);
    for (int track = 1; track <= 3; ++track) {
        EXPECT_GE(counter(bench.form.writeCounter(track)), 4) << track;
        EXPECT_EQ(counter(bench.form.readCounter(track)), 0) << track;
    }
    EXPECT_TRUE(bench.form.Timer1.enabled());
    EXPECT_EQ(bench.form.Label5.caption().substr(0, 8), "1B 22 30");
}

TEST_F(ModeOnTheSimulatedReader, AutoReadLoopReadsAgainAndAgain) {
    start(1, 2200ms);
    EXPECT_GE(counter(bench.form.lb_T1ReadCounter), 3);
    EXPECT_GE(counter(bench.form.lb_T3ReadCounter), 3);
    EXPECT_EQ(bench.form.Label1[0].caption(), "0");
    EXPECT_TRUE(bench.form.Timer1.enabled());
}

TEST_F(ModeOnTheSimulatedReader, SingleWriteEndsItself) {
    start(2, 1200ms);
    for (int track = 1; track <= 3; ++track)
        EXPECT_EQ(bench.form.writeCounter(track).caption(), "1") << track;
    EXPECT_FALSE(bench.form.Timer1.enabled());
    EXPECT_TRUE(bench.form.Command2[0].enabled());
    EXPECT_FALSE(bench.form.Option4[0].enabled());
}

TEST_F(ModeOnTheSimulatedReader, SingleReadEndsItselfWithTheCardData) {
    start(2, 1200ms); // write the card once
    bench.form.Option1[3].select();
    bench.form.Command2[0].click();
    testing::runTicks(bench.form, 1200ms);
    EXPECT_EQ(bench.form.Text1[1].text(), "21234567890"); // the single pattern and test character 0
    EXPECT_EQ(bench.form.lb_T2ReadCounter.caption(), "1");
    EXPECT_FALSE(bench.form.Timer1.enabled());
}

TEST_F(ModeOnTheSimulatedReader, WriteReadLoopShowsTheReadBackUnderTheWrittenData) {
    start(4, 4200ms);
    EXPECT_GE(counter(bench.form.Label1[0]), 2);
    for (int track = 1; track <= 3; ++track) {
        const long writes = counter(bench.form.writeCounter(track));
        const long reads = counter(bench.form.readCounter(track));
        EXPECT_GE(writes, 3) << track;
        EXPECT_GE(reads, 2) << track;
        EXPECT_LE(std::labs(writes - reads), 1) << track;
        EXPECT_EQ(counter(bench.form.Label1[static_cast<std::size_t>(track)]), writes) << track;
    }
    // What was read back is what had been written, one character shorter or equal.
    const std::string written = bench.form.Text1[1].text();
    const std::string readBack = bench.form.Text2[1].text();
    ASSERT_FALSE(readBack.empty());
    EXPECT_EQ(readBack.size(), written.size());
}

} // namespace
} // namespace dornal
