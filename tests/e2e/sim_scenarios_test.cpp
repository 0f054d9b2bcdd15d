// The window's logic on the real line against the simulated reader, driven by the real 500 ms
// timer: each mode once, and the ways a reader lets the bench down.
#include "cpu_clock.h"
#include "engine/status_texts.h"
#include "reader/qt/qt_line.h"
#include "shared/timing.h"
#include "sim_process.h"
#include "window_fixture.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

namespace dornal {
namespace {

using namespace std::chrono_literals;

// "COM 8": without a port link it names /dev/ttyS7, which a test machine does not have.
constexpr int kPort = 8;
constexpr int kRate9600 = 3;
constexpr int kRate115200 = 7;
constexpr double kMaxCpuShare = 0.05;

class SimScenario : public ::testing::Test {
protected:
    testing::PortLinkHome home;
    std::unique_ptr<testing::SimProcess> sim;
    testing::WindowOn<QtLine> bench;
    WindowModel& w = bench.window;
    double cpuShare = 0;

    void startSim(std::vector<std::string> options) {
        sim = std::make_unique<testing::SimProcess>(home, kPort, std::move(options));
    }
    bool connect(int ratePosition = kRate9600) {
        const auto messages = bench.alerts.messages.size();
        w.portList.setListIndex(kPort - 1);
        w.rateList.setListIndex(ratePosition);
        w.connectButton.click();
        return bench.alerts.messages.size() == messages && w.startButton.enabled();
    }
    void start(Mode mode) {
        w.modeOptions[static_cast<int>(mode)].select();
        w.startButton.click();
    }
    const Counters& counters() const { return bench.controller.bench().counters(); }
    // Lets the real timer tick for `duration` in a sleeping event loop; notes the CPU share.
    double runFor(std::chrono::milliseconds duration) {
        QTimer timer;
        timer.setTimerType(Qt::PreciseTimer);
        timer.setInterval(w.cycleTimer.interval());
        QObject::connect(&timer, &QTimer::timeout, [this] { w.cycleTimer.tick(); });
        QElapsedTimer wall;
        wall.start();
        const double cpu0 = testing::processCpuSeconds();
        timer.start();
        QEventLoop loop;
        QTimer::singleShot(duration, Qt::PreciseTimer, &loop, &QEventLoop::quit);
        loop.exec();
        const double seconds = static_cast<double>(wall.nsecsElapsed()) / 1e9;
        cpuShare = (testing::processCpuSeconds() - cpu0) / seconds;
        EXPECT_LT(cpuShare, kMaxCpuShare);
        return seconds;
    }
    // The operator gets the window back: abandon, disconnect, connect again, and (when the
    // reader answers) write once.
    void expectUsableAgain(int ratePosition = kRate9600, bool readerAnswers = true) {
        if (w.abandonButton.enabled())
            w.abandonButton.click();
        EXPECT_FALSE(w.cycleTimer.enabled());
        w.disconnectButton.click();
        ASSERT_TRUE(connect(ratePosition));
        if (!readerAnswers)
            return;
        start(Mode::SingleWrite);
        runFor(700ms);
        EXPECT_EQ(counters().writes, (std::array<std::uint64_t, 3>{1, 1, 1}));
        EXPECT_FALSE(w.cycleTimer.enabled());
    }
};

TEST_F(SimScenario, EachModeAgainstTheReader) {
    startSim({"--baud", "115200"});
    ASSERT_TRUE(connect(kRate115200));
    start(Mode::WriteLoop);
    runFor(2200ms);
    EXPECT_GE(counters().loops, 3u);
    EXPECT_GE(counters().writes[0], 3u);
    EXPECT_EQ(w.statusLabel.caption().substr(0, 8), "1B 22 30");
    w.abandonButton.click();

    start(Mode::SingleRead);
    runFor(700ms);
    EXPECT_FALSE(w.cycleTimer.enabled());
    EXPECT_EQ(counters().reads, (std::array<std::uint64_t, 3>{1, 1, 1}));
    EXPECT_EQ(w.trackBox(2).text().size(), kTrackMaxLength[1]); // the card's data

    start(Mode::WriteReadLoop);
    runFor(4200ms);
    EXPECT_GE(counters().loops, 2u);
    for (int track = 1; track <= 3; ++track) {
        const auto i = trackIndex(track);
        EXPECT_GE(counters().reads[i] + 1, counters().writes[i]);
        EXPECT_EQ(counters().totals[i], counters().writes[i]);
        EXPECT_FALSE(w.readBackBox(track).text().empty());
    }
}

TEST_F(SimScenario, SilentReaderTheRunWaitsAndTheFirmwareQueryGivesUp) {
    startSim({"--silent"});
    ASSERT_TRUE(connect());
    w.firmwareCheck.setValue(1);
    QElapsedTimer wall;
    wall.start();
    start(Mode::WriteLoop);
    EXPECT_GE(wall.elapsed(), timing::kAnswerTimeoutMs);
    EXPECT_LT(wall.elapsed(), timing::kAnswerTimeoutMs + 1000);
    EXPECT_EQ(w.firmwareBox.text(), kAnswerTimeoutText);
    runFor(1600ms);
    EXPECT_EQ(counters(), Counters{});
    EXPECT_TRUE(w.cycleTimer.enabled()); // no answer: the run waits for the operator
    EXPECT_EQ(w.statusLabel.caption(), "");
    expectUsableAgain(kRate9600, false);
}

TEST_F(SimScenario, StrayBytesBeforeAnAnswerAreDroppedOnePerTick) {
    startSim({"--stray", "2"});
    ASSERT_TRUE(connect());
    start(Mode::SingleWrite);
    runFor(1200ms); // two ticks, each drops one stray byte
    EXPECT_EQ(counters(), Counters{});
    runFor(900ms);
    EXPECT_EQ(counters().writes, (std::array<std::uint64_t, 3>{1, 1, 1}));
    EXPECT_EQ(w.statusLabel.caption(), "1B 22 30 70- 0");
}

// Half an answer counts nothing and fills no box; the single action still ends.
TEST_F(SimScenario, CutAnswersCountNothing) {
    for (const auto& [mode, cut] : {std::pair{Mode::SingleWrite, "2"}, {Mode::SingleRead, "4"}}) {
        startSim({"--cut", cut});
        ASSERT_TRUE(connect());
        start(mode);
        runFor(std::chrono::milliseconds(timing::kAnswerTimeoutMs + 1200));
        EXPECT_EQ(counters(), Counters{});
        EXPECT_EQ(w.statusLabel.caption(), kAnswerTimeoutText);
        if (mode == Mode::SingleRead) // a read run empties the boxes; none of the cut answer lands
            EXPECT_EQ(w.trackBox(1).text() + w.trackBox(2).text() + w.trackBox(3).text(), "");
        EXPECT_TRUE(w.startButton.enabled());
        w.disconnectButton.click();
        sim.reset();
    }
}

TEST_F(SimScenario, ReaderNeverReadyHoldsTheWindowOnlyUntilTheTimeOut) {
    startSim({"--never-ready"});
    ASSERT_TRUE(connect());
    start(Mode::WriteLoop);
    // The first tick takes the write answer and waits for "y"; an Abandon clicked meanwhile
    // is handled once that wait and the drains of the next commands are over.
    QElapsedTimer since;
    since.start();
    qint64 handledAfter = -1;
    QTimer::singleShot(700ms, [&] {
        handledAfter = since.elapsed();
        w.abandonButton.click();
    });
    runFor(3600ms);
    EXPECT_EQ(w.statusLabel.caption(), kNotReadyText);
    EXPECT_LE(handledAfter,
              timing::kTickMs + timing::kAnswerTimeoutMs + 4 * timing::kDrainMs + 500);
    EXPECT_FALSE(w.cycleTimer.enabled());
    EXPECT_EQ(counters().writes, (std::array<std::uint64_t, 3>{1, 1, 1}));
}

TEST_F(SimScenario, AReaderThatVanishesDuringAWaitEndsItAtOnce) {
    startSim({"--never-ready", "--hangup-after", "1.5"});
    ASSERT_TRUE(connect());
    start(Mode::WriteLoop);
    // Without the port error the first tick would wait for "y" until 2.5 s at least.
    EXPECT_LT(runFor(1800ms), 2.3);
    EXPECT_EQ(w.statusLabel.caption(), kPortErrorText);
    const Counters frozen = counters();
    runFor(1200ms);
    EXPECT_EQ(counters(), frozen);
    w.abandonButton.click();
    w.disconnectButton.click();
    EXPECT_FALSE(connect()); // the port is gone: the usual failure
    EXPECT_EQ(bench.alerts.beeps, 3);
    sim.reset();
    startSim({});
    expectUsableAgain();
}

TEST_F(SimScenario, APortHeldByAnotherInstanceFailsToOpenThereOnly) {
    startSim({});
    ASSERT_TRUE(connect());
    testing::WindowOn<QtLine> second;
    second.window.portList.setListIndex(kPort - 1);
    second.window.connectButton.click();
    EXPECT_EQ(second.alerts.messages, (std::vector<std::string>{kOpenFailMessage}));
    // Another program: exit code 0 when refused, 1 when opened.
    const auto connectElsewhere = [] {
        testing::WindowOn<QtLine> other;
        other.window.portList.setListIndex(kPort - 1);
        other.window.connectButton.click();
        std::_Exit(other.alerts.messages.empty() ? 1 : 0);
    };
    EXPECT_EXIT(connectElsewhere(), ::testing::ExitedWithCode(0), "");
    w.disconnectButton.click();
    EXPECT_EXIT(connectElsewhere(), ::testing::ExitedWithCode(1), "");
    expectUsableAgain();
}

TEST_F(SimScenario, AWrongLineRateGarblesEveryAnswerAndCountsNothing) {
    startSim({"--baud", "115200"});
    ASSERT_TRUE(connect(kRate9600));
    start(Mode::WriteReadLoop);
    runFor(2200ms);
    EXPECT_EQ(counters(), Counters{});
    EXPECT_EQ(w.statusLabel.caption(), "");
    EXPECT_EQ(w.readBackBox(2).text(), "");
    expectUsableAgain(kRate115200);
}

} // namespace
} // namespace dornal
