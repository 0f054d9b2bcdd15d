#include "e2e_bench.h"
#include "reader/answer_reception.h"
#include "reader/connection.h"
#include "reader/firmware_query.h"
#include "reader/timing.h"
#include "sim_process.h"

#include <QTimer>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace dornal {
namespace {

using namespace std::chrono_literals;
using testing::CpuShare;
using testing::PortLinkHome;
using testing::RealBench;
using testing::SimProcess;

// "COM 8": without a port link it names /dev/ttyS7, which a test machine does not have.
constexpr int kPort = 8;
constexpr int kComPosition = kPort - 1;
constexpr int kBaud9600 = 3;
constexpr int kBaud115200 = 7;
constexpr int kWriteLoop = 0;
constexpr int kSingleWrite = 2;
constexpr int kSingleRead = 3;
constexpr int kWriteReadLoop = 4;
constexpr double kMaxCpuShare = 0.05;
const double kTimeoutSeconds = timing::kAnswerTimeoutMs / 1000.0;

// Every counter the window shows: the loop count, the three totals, the six per-track counters.
std::vector<std::string> counters(Form1& form) {
    std::vector<std::string> all;
    for (const auto& label : form.Label1)
        all.push_back(label.caption());
    for (int track = 1; track <= 3; ++track) {
        all.push_back(form.writeCounter(track).caption());
        all.push_back(form.readCounter(track).caption());
    }
    return all;
}

// The window's logic on the real serial layer, with the simulated reader on "COM 8".
class FaultScenario : public ::testing::Test {
protected:
    PortLinkHome home;
    std::unique_ptr<SimProcess> sim;
    RealBench bench;

    void startSim(std::vector<std::string> options) {
        sim = std::make_unique<SimProcess>(home, kPort, std::move(options));
    }
    void connect(int baudPosition = kBaud9600) {
        bench.connect(kComPosition, baudPosition);
        ASSERT_TRUE(bench.alerts.messages.empty());
        ASSERT_TRUE(bench.form.Command2[0].enabled());
    }
    void start(int mode) {
        bench.form.Option1[mode].select();
        bench.form.Command2[0].click();
    }
    CpuShare runFor(std::chrono::milliseconds duration) {
        return testing::measureCpu([&] { testing::runTicks(bench.form, duration); });
    }
    void expectFrugal(const CpuShare& cpu, const std::string& name) {
        EXPECT_LT(cpu.share, kMaxCpuShare) << name;
        RecordProperty(name + "_cpu_percent", std::to_string(cpu.share * 100));
        RecordProperty(name + "_seconds", std::to_string(cpu.wallSeconds));
    }
    // The operator gets the window back: the run can be abandoned, then the port closed and
    // opened again.
    void expectUsableAgain() {
        Form1& form = bench.form;
        if (form.Command2[1].enabled())
            form.Command2[1].click();
        EXPECT_FALSE(form.Timer1.enabled());
        EXPECT_TRUE(form.Command2[0].enabled());
        EXPECT_TRUE(form.Option1[0].enabled());
        form.Command1[1].click();
        EXPECT_TRUE(form.Command1[0].enabled());
        EXPECT_FALSE(form.Command2[0].enabled());
    }
    void expectReconnects(int baudPosition = kBaud9600) {
        const auto messages = bench.alerts.messages.size();
        bench.connect(kComPosition, baudPosition);
        EXPECT_EQ(bench.alerts.messages.size(), messages);
        EXPECT_FALSE(bench.form.Command1[0].enabled());
        EXPECT_TRUE(bench.form.Command2[0].enabled());
    }
    // A single write of all three tracks, answered and counted: the reader link works.
    void expectSingleWriteWorks() {
        start(kSingleWrite);
        testing::runTicks(bench.form, 700ms);
        for (int track = 1; track <= 3; ++track)
            EXPECT_EQ(bench.form.writeCounter(track).caption(), "1") << track;
        EXPECT_FALSE(bench.form.Timer1.enabled());
    }
    // Clicks a button from the event loop after `delay`, as an operator would while a tick
    // holds the window; `ranAfter` is when the click was handled, from now.
    void clickLater(PushButton& button, std::chrono::milliseconds delay, QElapsedTimer& since,
                    qint64& ranAfter) {
        since.start();
        QTimer::singleShot(delay, [&button, &since, &ranAfter] {
            ranAfter = since.elapsed();
            button.click();
        });
    }
};

TEST_F(FaultScenario, SilentReaderTheRunWaitsAndTheFirmwareQueryGivesUp) {
    startSim({"--silent"});
    connect();
    bench.form.chkGetFirmwareVersion.setValue(1);
    const CpuShare query = testing::measureCpu([&] { start(kWriteLoop); });
    EXPECT_EQ(bench.form.Text3.text(), kFirmwareTimeoutText);
    EXPECT_GE(query.wallSeconds, kTimeoutSeconds);
    EXPECT_LT(query.wallSeconds, kTimeoutSeconds + 1.0);
    expectFrugal(query, "firmware_wait");

    const auto before = counters(bench.form);
    const CpuShare waiting = runFor(1600ms);
    expectFrugal(waiting, "run_wait");
    EXPECT_EQ(counters(bench.form), before);
    EXPECT_TRUE(bench.form.Timer1.enabled()); // no answer: the run waits for the operator
    EXPECT_EQ(bench.form.Label5.caption(), "");
    expectUsableAgain();
    expectReconnects();
}

TEST_F(FaultScenario, StrayBytesBeforeEachAnswerAreDroppedOnePerTick) {
    startSim({"--stray", "2"});
    connect();
    start(kSingleWrite);
    const auto before = counters(bench.form);
    runFor(1200ms); // two ticks: each drops one stray byte
    EXPECT_EQ(counters(bench.form), before);
    EXPECT_TRUE(bench.form.Timer1.enabled());
    const CpuShare cpu = runFor(900ms); // the third tick takes the answer
    expectFrugal(cpu, "stray");
    for (int track = 1; track <= 3; ++track)
        EXPECT_EQ(bench.form.writeCounter(track).caption(), "1") << track;
    EXPECT_EQ(bench.form.Label5.caption(), "1B 22 30 70- 0");
    EXPECT_FALSE(bench.form.Timer1.enabled());
    expectUsableAgain();
}

struct CutCase {
    const char* name;
    int mode;
    const char* cut;
};

class CutAnswers : public FaultScenario, public ::testing::WithParamInterface<CutCase> {};

// Half an answer counts nothing and fills no box; the single action still ends.
TEST_P(CutAnswers, CountNothingAndSayTheAnswerStopped) {
    startSim({"--cut", GetParam().cut});
    connect();
    start(GetParam().mode);
    const auto before = counters(bench.form);
    const CpuShare cpu = runFor(std::chrono::milliseconds(timing::kAnswerTimeoutMs + 1200));
    expectFrugal(cpu, GetParam().name);
    EXPECT_EQ(counters(bench.form), before);
    EXPECT_EQ(bench.form.Label5.caption(), kAnswerTimeoutText);
    // A read run empties the boxes at its start; no part of the cut answer lands in them.
    if (GetParam().mode == kSingleRead) {
        for (const auto& box : bench.form.Text1)
            EXPECT_EQ(box.text(), "") << box.name();
    }
    EXPECT_FALSE(bench.form.Timer1.enabled());
    EXPECT_TRUE(bench.form.Command2[0].enabled());
    expectUsableAgain();
    expectReconnects();
}

INSTANTIATE_TEST_SUITE_P(SingleActions, CutAnswers,
                         ::testing::Values(CutCase{"write", kSingleWrite, "2"},
                                           CutCase{"read", kSingleRead, "4"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(FaultScenario, ReaderNeverReadyHoldsTheWindowOnlyUntilTheTimeOut) {
    startSim({"--never-ready"});
    connect();
    start(kWriteLoop);
    // The first tick (at 500 ms) takes the write answer and waits for "y" for 2 s; the
    // operator clicks Abandon at 700 ms, which is handled once that tick is over: after the
    // wait and the drains (up to 100 ms each) before ReadyCheck, Abandon, Itrip and the write.
    QElapsedTimer since;
    qint64 abandonedAfter = -1;
    clickLater(bench.form.Command2[1], 700ms, since, abandonedAfter);
    const CpuShare cpu = runFor(3600ms);
    expectFrugal(cpu, "never_ready");
    EXPECT_EQ(bench.form.Label5.caption(), kNotReadyText);
    EXPECT_GE(abandonedAfter, 700);
    EXPECT_LE(abandonedAfter,
              timing::kTickMs + timing::kAnswerTimeoutMs + 4 * timing::kReadTotalTimeoutMs + 500);
    RecordProperty("abandon_handled_after_ms", std::to_string(abandonedAfter));
    EXPECT_FALSE(bench.form.Timer1.enabled());
    for (int track = 1; track <= 3; ++track)
        EXPECT_EQ(bench.form.writeCounter(track).caption(), "1") << track; // the write answer came
    expectUsableAgain();
    expectReconnects();
}

TEST_F(FaultScenario, AReaderThatVanishesMidRunFreezesTheRunNotTheWindow) {
    startSim({"--hangup-after", "1.6"});
    connect();
    start(kWriteReadLoop);
    runFor(2100ms);
    ASSERT_TRUE(sim->waitForLink(false, 1000ms));
    const auto afterHangUp = counters(bench.form);
    EXPECT_NE(afterHangUp[4], "0"); // track 1 was written before the line went
    const CpuShare cpu = runFor(1200ms);
    expectFrugal(cpu, "vanished");
    EXPECT_EQ(counters(bench.form), afterHangUp);
    // "Port error" when the line went during a wait for the reader; when it went between two
    // waits no wait notices it, and Label5 keeps the last answer.
    RecordProperty("label5_after_hangup", bench.form.Label5.caption());
    expectUsableAgain();
    // The port is gone, so Connect fails the usual way; once a reader is back it works.
    bench.connect(kComPosition, kBaud9600);
    EXPECT_EQ(bench.alerts.beeps, 3);
    EXPECT_EQ(bench.alerts.messages, (std::vector<std::string>{kOpenFailMessage}));
    sim.reset();
    startSim({});
    expectReconnects();
    expectSingleWriteWorks();
}

TEST_F(FaultScenario, AReaderThatVanishesDuringTheReadyWaitEndsItAtOnce) {
    // Connect and Start take about 0.5 s, so the first tick begins its wait for "y" about 1 s
    // after the simulated reader started, and the line goes half a second later.
    startSim({"--never-ready", "--hangup-after", "1.5"});
    connect();
    start(kWriteLoop);
    // Without the port error the tick at 500 ms would wait for "y" until 2.5 s at least.
    const CpuShare cpu = runFor(1800ms);
    EXPECT_LT(cpu.wallSeconds, 2.3);
    expectFrugal(cpu, "vanished_waiting");
    EXPECT_EQ(bench.form.Label5.caption(), kPortErrorText);
    expectUsableAgain();
}

TEST_F(FaultScenario, APortHeldByAnotherInstanceFailsToOpenThereOnly) {
    startSim({});
    connect();
    RealBench second;
    second.connect(kComPosition, kBaud9600);
    EXPECT_EQ(second.alerts.beeps, 3);
    EXPECT_EQ(second.alerts.messages, (std::vector<std::string>{kOpenFailMessage}));
    EXPECT_FALSE(second.form.Command2[0].enabled());
    // Another program: a child process with a window of its own. Exit code 0: refused, 1:
    // opened.
    const auto connectElsewhere = [] {
        RealBench other;
        other.connect(kComPosition, kBaud9600);
        std::_Exit(other.alerts.messages == std::vector<std::string>{kOpenFailMessage} ? 0 : 1);
    };
    EXPECT_EXIT(connectElsewhere(), ::testing::ExitedWithCode(0), "");
    // Once the first lets go, the other program gets the port: the refusal was the hold.
    bench.form.Command1[1].click();
    EXPECT_EXIT(connectElsewhere(), ::testing::ExitedWithCode(1), "");
    expectReconnects();
    expectSingleWriteWorks();
}

TEST_F(FaultScenario, AMissingPortFailsAtOnceAndConnectWorksOnceItIsThere) {
    // No port link: the port's own device name, which is not there either.
    if (std::filesystem::exists("/dev/ttyS7"))
        std::filesystem::create_symlink("/dev/nonexistent-dornal-port", home.link(kPort));
    const CpuShare cpu = testing::measureCpu([&] { bench.connect(kComPosition, kBaud9600); });
    EXPECT_LT(cpu.wallSeconds, 1.0);
    EXPECT_EQ(bench.alerts.beeps, 3);
    EXPECT_EQ(bench.alerts.messages, (std::vector<std::string>{kOpenFailMessage}));
    EXPECT_TRUE(bench.form.Command1[0].enabled());
    EXPECT_TRUE(bench.form.Combo1.enabled());
    EXPECT_FALSE(bench.form.Command2[0].enabled());
    std::filesystem::remove(home.link(kPort));
    startSim({});
    expectReconnects();
    expectSingleWriteWorks();
}

TEST_F(FaultScenario, AWrongLineRateGarblesEveryAnswerAndCountsNothing) {
    startSim({"--baud", "115200"});
    connect(kBaud9600);
    bench.form.chkGetFirmwareVersion.setValue(1);
    const CpuShare query = testing::measureCpu([&] { start(kWriteReadLoop); });
    EXPECT_EQ(bench.form.Text3.text(), kFirmwareTimeoutText);
    expectFrugal(query, "garbled_firmware");
    const auto before = counters(bench.form);
    const CpuShare cpu = runFor(2200ms);
    expectFrugal(cpu, "garbled_run");
    EXPECT_EQ(counters(bench.form), before);
    EXPECT_EQ(bench.form.Label5.caption(), "");
    EXPECT_EQ(bench.form.Text2[1].text(), "");
    expectUsableAgain();
    bench.form.chkGetFirmwareVersion.setValue(0);
    expectReconnects(kBaud115200);
    expectSingleWriteWorks();
}

} // namespace
} // namespace dornal
