// The window's logic on the real line against the simulated reader, driven by the real 500 ms
// timer: each mode once, and the ways a reader lets the bench down.
#include "cpu_clock.h"
#include "engine/status_texts.h"
#include "reader/qt/qt_line.h"
#include "settle.h"
#include "shared/timing.h"
#include "sim_process.h"
#include "window_fixture.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <gmock/gmock.h>
#include <gtest/gtest.h> // with <memory>

#include <algorithm>
#include <cstdio>

namespace dornal {
namespace {

using namespace std::chrono_literals;

// "COM 8": without a port link it names /dev/ttyS7, which a test machine does not have.
constexpr int kPort = 8;
constexpr int kRate9600 = 3;
constexpr int kRate115200 = 7;
const std::array<std::uint64_t, 3> kOnce{1, 1, 1};
// Well below one input drain: a stall this long means the thread waited for the reader. (What
// the window needs is 50 ms; a loaded test machine needs some room beside it.)
constexpr double kLongestStallMs = 80;

class SimScenario : public ::testing::Test {
protected:
    testing::PortLinkHome home;
    std::unique_ptr<testing::SimProcess> sim;
    testing::WindowOn<QtLine> bench;
    WindowModel& w = bench.window;
    QElapsedTimer clock; // started with the test

    SimScenario() { clock.start(); }
    // Starts the simulated reader and connects to it at the rate position.
    bool startSim(std::vector<std::string> options, int ratePosition = kRate9600) {
        sim = std::make_unique<testing::SimProcess>(home, kPort, std::move(options));
        return connect(ratePosition);
    }
    bool connect(int ratePosition = kRate9600) {
        const auto messages = bench.alerts.messages.size();
        w.portList.setListIndex(kPort - 1);
        w.rateList.setListIndex(ratePosition);
        w.connectButton.click();
        settle();
        return bench.alerts.messages.size() == messages && w.startButton.enabled();
    }
    void start(Mode mode) {
        w.modeOptions[static_cast<int>(mode)].select();
        w.startButton.click();
        settle();
    }
    void settle() { testing::settle(bench.controller, w); }
    const Counters& counters() const { return bench.controller.bench().counters(); }
    // Lets the real timer tick for `duration` in a sleeping event loop; notes the CPU share
    // and how long the window's thread was kept from its events at the most: a probe timer
    // every 10 ms notes how late it comes.
    double runFor(std::chrono::milliseconds duration) {
        QTimer timer;
        timer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&timer, &QTimer::timeout, [this] { w.cycleTimer.tick(); });
        QTimer probe;
        probe.setTimerType(Qt::PreciseTimer);
        qint64 lastProbeNs = clock.nsecsElapsed();
        QObject::connect(&probe, &QTimer::timeout, [&] {
            const qint64 now = clock.nsecsElapsed();
            longestStallMs =
                std::max(longestStallMs, static_cast<double>(now - lastProbeNs) / 1e6 - 10);
            lastProbeNs = now;
        });
        const qint64 ns0 = clock.nsecsElapsed();
        const double cpu0 = testing::processCpuSeconds();
        timer.start(w.cycleTimer.interval());
        probe.start(10);
        QEventLoop loop;
        QTimer::singleShot(duration, Qt::PreciseTimer, &loop, &QEventLoop::quit);
        loop.exec();
        const double seconds = static_cast<double>(clock.nsecsElapsed() - ns0) / 1e9;
        EXPECT_LT((testing::processCpuSeconds() - cpu0) / seconds, 0.05) << "CPU share";
        // A drain lasts 100 ms and an answer up to 10 s: none of them may hold the thread.
        EXPECT_LT(longestStallMs, kLongestStallMs) << "the window's thread stalled";
        return seconds;
    }
    double longestStallMs = 0;
    // The operator gets the window back: abandon, disconnect, connect again, and (when the
    // reader answers) write once.
    void expectUsableAgain(bool readerAnswers = true) {
        if (w.abandonButton.enabled())
            w.abandonButton.click();
        settle();
        EXPECT_FALSE(w.cycleTimer.enabled());
        w.disconnectButton.click();
        ASSERT_TRUE(connect());
        if (!readerAnswers)
            return;
        start(Mode::SingleWrite);
        runFor(700ms);
        EXPECT_EQ((std::tuple{counters().writes, w.cycleTimer.enabled()}),
                  (std::tuple{kOnce, false}));
    }
};

TEST_F(SimScenario, EachModeAgainstTheReader) {
    ASSERT_TRUE(startSim({"--baud", "115200"}, kRate115200));
    start(Mode::WriteLoop);
    runFor(2200ms);
    EXPECT_GE(std::min(counters().loops, counters().writes[0]), 3u);
    EXPECT_EQ(w.statusLabel.caption().substr(0, 8), "1B 22 30");
    w.abandonButton.click();

    start(Mode::WriteReadLoop);
    runFor(4200ms);
    EXPECT_GE(counters().loops, 2u);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_GE(counters().reads[i] + 1, counters().writes[i]);
        EXPECT_EQ(counters().totals[i], counters().writes[i]);
        EXPECT_FALSE(w.readBackBox(static_cast<int>(i) + 1).text().empty());
    }
}

TEST_F(SimScenario, SilentReaderTheRunWaitsAndTheFirmwareQueryGivesUp) {
    ASSERT_TRUE(startSim({"--silent"}));
    w.firmwareCheck.setValue(1);
    const qint64 before = clock.elapsed();
    start(Mode::WriteLoop);
    EXPECT_GE(clock.elapsed() - before, timing::kAnswerTimeoutMs);
    EXPECT_LT(clock.elapsed() - before, timing::kAnswerTimeoutMs + 1000);
    runFor(1600ms);
    // No answer: the run waits for the operator.
    EXPECT_EQ((std::tuple{counters(), w.cycleTimer.enabled(), w.statusLabel.caption(),
                          w.firmwareBox.text()}),
              (std::tuple{Counters{}, true, "", kAnswerTimeoutText}));
    expectUsableAgain(false);
}

TEST_F(SimScenario, ReaderNeverReadyHoldsTheWindowOnlyUntilTheTimeOut) {
    ASSERT_TRUE(startSim({"--never-ready"}));
    start(Mode::WriteLoop);
    // The first tick takes the write answer and waits for "y"; an Abandon clicked meanwhile
    // is handled once that wait and the drains of the next commands are over.
    const qint64 before = clock.elapsed();
    qint64 handledAfter = -1;
    QTimer::singleShot(700ms, [&] {
        handledAfter = clock.elapsed() - before;
        w.abandonButton.click();
    });
    runFor(3600ms);
    EXPECT_LE(handledAfter,
              timing::kTickMs + timing::kAnswerTimeoutMs + 4 * timing::kDrainMs + 500);
    EXPECT_EQ((std::tuple{w.statusLabel.caption(), w.cycleTimer.enabled(), counters().writes}),
              (std::tuple{kNotReadyText, false, kOnce}));
}

TEST_F(SimScenario, AReaderThatVanishesDuringAWaitEndsItAtOnce) {
    ASSERT_TRUE(startSim({"--never-ready", "--hangup-after", "1.5"}));
    start(Mode::WriteLoop);
    // Without the port error the first tick would wait for "y" until 2.5 s at least.
    EXPECT_LT(runFor(1800ms), 2.3);
    EXPECT_EQ(w.statusLabel.caption(), kPortErrorText);
    const Counters frozen = counters();
    runFor(1200ms);
    EXPECT_EQ(counters(), frozen);
    w.abandonButton.click();
    w.disconnectButton.click();
    EXPECT_EQ((std::tuple{connect(), bench.alerts.beeps}), (std::tuple{false, 3})) << "port gone";
    sim.reset();
    ASSERT_TRUE(startSim({}));
    expectUsableAgain();
}

// Opening the port list names the simulated reader's device; a port with nothing behind it and
// one that names a file each fail to connect with a reason of their own.
TEST_F(SimScenario, ThePortListNamesTheReadersDeviceAndAFailedConnectSaysWhy) {
    using ::testing::StartsWith;
    namespace fs = std::filesystem;
    sim = std::make_unique<testing::SimProcess>(home, 1);
    std::ofstream{home.root() + "/plain"};
    fs::create_symlink(home.root() + "/plain", home.link(3));
    fs::create_symlink(home.root() + "/unplugged", home.link(5));
    const std::string root = fs::canonical(home.root()).string();
    w.portList.dropDown();
    EXPECT_EQ(std::tuple(w.portList.description(0), w.portList.description(4)),
              std::tuple("COM 1: " + fs::canonical(home.link(1)).string(),
                         "COM 5: " + root + "/unplugged, no such device"));
    for (int position : {4, 2}) {
        w.portList.setListIndex(position);
        w.connectButton.click();
    }
    EXPECT_THAT(bench.alerts.informatives,
                ::testing::ElementsAre(StartsWith("No device behind COM 5: " + root + "/unplugged"),
                                       StartsWith(root + "/plain is not a serial device.")));
}

} // namespace
} // namespace dornal
