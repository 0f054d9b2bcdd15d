#include "tick_driver.h"

#include "cpu_clock.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <algorithm>

namespace dornal::bench {
namespace {

// A tick that sends something waits out at least one 100 ms input drain; an empty tick
// ends in well under a millisecond.
constexpr double kBusyTickMs = 20;
// The probe on the event loop: a timer this often, noting how late it comes.
constexpr int kProbeMs = 10;

double nowMs(const QElapsedTimer& clock) {
    return static_cast<double>(clock.nsecsElapsed()) / 1e6;
}

// Notes the ticks' steps from their start to their end.
class TickClock {
public:
    TickClock(TickRun& run, const QElapsedTimer& clock, double longTickMs, AfterTick afterTick)
        : run_(run), clock_(clock), longTickMs_(longTickMs), afterTick_(std::move(afterTick)) {}

    void began() {
        beganMs_ = nowMs(clock_);
        cpu0_ = testing::processCpuSeconds();
        ++run_.ticks;
    }
    void ended() {
        if (beganMs_ < 0)
            return;
        const double tickMs = nowMs(clock_) - beganMs_;
        beganMs_ = -1;
        if (tickMs >= kBusyTickMs) {
            ++run_.busyTicks;
            busyMsTotal_ += tickMs;
            run_.busyMsMax = std::max(run_.busyMsMax, tickMs);
        }
        if (tickMs >= longTickMs_) {
            ++run_.longTicks;
            run_.longWallSeconds += tickMs / 1000;
            run_.longCpuSeconds += testing::processCpuSeconds() - cpu0_;
        }
        if (afterTick_)
            afterTick_(nowMs(clock_), tickMs);
    }
    double busyMsMean() const { return run_.busyTicks > 0 ? busyMsTotal_ / run_.busyTicks : 0; }

private:
    TickRun& run_;
    const QElapsedTimer& clock_;
    double longTickMs_;
    AfterTick afterTick_;
    double beganMs_ = -1;
    double cpu0_ = 0;
    double busyMsTotal_ = 0;
};

} // namespace

TickRun driveTicks(Timer& timer, WindowController& controller, std::chrono::milliseconds duration,
                   double longTickMs, const AfterTick& afterTick, bool probe) {
    TickRun run;
    QElapsedTimer clock;
    TickClock ticks(run, clock, longTickMs, afterTick);
    double nextDueMs = 0;
    const double interval = timer.interval();
    QEventLoop loop;

    controller.afterStep = [&] {
        ticks.ended();
        if (!timer.enabled())
            loop.quit(); // a single action ended itself
    };
    // A tick due while a step runs is held, and its step begins only when it runs.
    const std::function<void()> onTick = timer.onTick;
    timer.onTick = [&] {
        ticks.began();
        onTick();
    };
    QTimer qtimer;
    qtimer.setTimerType(Qt::PreciseTimer);
    qtimer.setInterval(timer.interval());
    QObject::connect(&qtimer, &QTimer::timeout, [&] {
        const double begin = nowMs(clock);
        run.lateMsMax = std::max(run.lateMsMax, begin - nextDueMs);
        timer.tick();
        // The next tick is due one interval after this one was, or at once after a tick
        // that overran its interval.
        nextDueMs = std::max(nextDueMs + interval, nowMs(clock));
    });

    QTimer prober;
    prober.setTimerType(Qt::PreciseTimer);
    double lastProbeMs = 0;
    QObject::connect(&prober, &QTimer::timeout, [&] {
        const double at = nowMs(clock);
        run.stallMsMax = std::max(run.stallMsMax, at - lastProbeMs - kProbeMs);
        lastProbeMs = at;
    });

    const double cpu0 = testing::processCpuSeconds();
    clock.start();
    nextDueMs = interval;
    QTimer::singleShot(duration, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    qtimer.start();
    if (probe)
        prober.start(kProbeMs);
    if (timer.enabled())
        loop.exec();
    controller.afterStep = nullptr;
    timer.onTick = onTick;
    run.wallSeconds = nowMs(clock) / 1000;
    run.cpuSeconds = testing::processCpuSeconds() - cpu0;
    run.busyMsMean = ticks.busyMsMean();
    return run;
}

} // namespace dornal::bench
