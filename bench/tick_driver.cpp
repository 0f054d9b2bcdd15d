#include "tick_driver.h"

#include "cpu_clock.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <algorithm>

namespace dornal::bench {
namespace {

// A tick that sends something waits out at least one 100 ms input drain; an empty tick
// returns in well under a millisecond.
constexpr double kBusyTickMs = 20;

double nowMs(const QElapsedTimer& clock) {
    return static_cast<double>(clock.nsecsElapsed()) / 1e6;
}

} // namespace

TickRun driveTicks(Timer& timer, std::chrono::milliseconds duration, double longTickMs,
                   const AfterTick& afterTick) {
    TickRun run;
    QElapsedTimer clock;
    double busyMsTotal = 0;
    double nextDueMs = 0;
    const double interval = timer.interval();

    QEventLoop loop;
    QTimer qtimer;
    qtimer.setTimerType(Qt::PreciseTimer);
    qtimer.setInterval(timer.interval());
    QObject::connect(&qtimer, &QTimer::timeout, [&] {
        const double begin = nowMs(clock);
        run.lateMsMax = std::max(run.lateMsMax, begin - nextDueMs);
        const double cpu0 = testing::processCpuSeconds();
        timer.tick();
        const double tickMs = nowMs(clock) - begin;
        ++run.ticks;
        if (tickMs >= kBusyTickMs) {
            ++run.busyTicks;
            busyMsTotal += tickMs;
            run.busyMsMax = std::max(run.busyMsMax, tickMs);
        }
        if (tickMs >= longTickMs) {
            ++run.longTicks;
            run.longWallSeconds += tickMs / 1000;
            run.longCpuSeconds += testing::processCpuSeconds() - cpu0;
        }
        // The next tick is due one interval after this one was, or at once after a tick
        // that overran its interval.
        nextDueMs = std::max(nextDueMs + interval, nowMs(clock));
        if (afterTick)
            afterTick(nowMs(clock), tickMs);
        if (!timer.enabled())
            loop.quit(); // a single action ended itself
    });

    const double cpu0 = testing::processCpuSeconds();
    clock.start();
    nextDueMs = interval;
    QTimer::singleShot(duration, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    qtimer.start();
    if (timer.enabled())
        loop.exec();
    run.wallSeconds = nowMs(clock) / 1000;
    run.cpuSeconds = testing::processCpuSeconds() - cpu0;
    run.busyMsMean = run.busyTicks > 0 ? busyMsTotal / run.busyTicks : 0;
    return run;
}

} // namespace dornal::bench
