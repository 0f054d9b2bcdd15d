#pragma once

#include "ui/model/simple_controls.h"
#include "ui/window_controller.h"

#include <chrono>
#include <functional>

namespace dornal::bench {

// What happened while the ticks ran.
struct TickRun {
    double wallSeconds = 0;
    double cpuSeconds = 0;
    int ticks = 0;
    // Ticks that took an answer (they send, so they last at least one input drain); the
    // others found nothing waiting and ended at once. A tick lasts from its start to the end
    // of its step, however long the window's thread ran other events meanwhile.
    int busyTicks = 0;
    double busyMsMean = 0;
    double busyMsMax = 0;
    // Ticks that lasted at least `longTickMs`: wall and CPU time spent inside them.
    int longTicks = 0;
    double longWallSeconds = 0;
    double longCpuSeconds = 0;
    // How late a tick began against its 500 ms schedule, ignoring the lateness that a long
    // tick before it forced.
    double lateMsMax = 0;
    // With a probe: the window thread's longest stall, how late a 10 ms timer on its event loop
    // came at the most. The probe wakes the thread a hundred times a second, so runs that
    // measure CPU go without it.
    double stallMsMax = 0;
};

// Called after each tick with the time since the run began and the time the tick took, in
// milliseconds.
using AfterTick = std::function<void(double atMs, double tickMs)>;

// Lets a real timer drive `timer` for `duration`, as the window does: a precise Qt timer with
// the model timer's interval, running while the model timer is enabled; `controller` runs the
// steps the ticks start. Ticks that lasted at least `longTickMs` are summed apart.
TickRun driveTicks(Timer& timer, WindowController& controller, std::chrono::milliseconds duration,
                   double longTickMs = 1e9, const AfterTick& afterTick = {}, bool probe = false);

} // namespace dornal::bench
