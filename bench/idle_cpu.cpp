#include "benchmarks.h"
#include "report.h"
#include "shared/timing.h"
#include "sim_session.h"
#include "tick_driver.h"

namespace dornal::bench {

void silentReaderCpu(std::chrono::seconds runFor) {
    SimSession session({"--silent"}, 9600);
    session.start(Mode::WriteLoop);
    const TickRun run = driveTicks(session.window.cycleTimer, session.controller, runFor);
    put("wall_s", run.wallSeconds);
    put("cpu_s", run.cpuSeconds);
    put("cpu_share", run.cpuSeconds / run.wallSeconds);
    put("ticks", run.ticks);
    put("busy_ticks", run.busyTicks);
}

void cutAnswerCpu(std::chrono::seconds runFor) {
    // Every answer stops after its first two bytes, so each tick that finds one waits out the
    // answer time-out before it gives up; the loop then goes on with its next write.
    SimSession session({"--cut", "2"}, 115200);
    session.start(Mode::WriteLoop);
    const double waitTickMs = 0.9 * timing::kAnswerTimeoutMs;
    const TickRun run =
        driveTicks(session.window.cycleTimer, session.controller, runFor, waitTickMs);
    put("wall_s", run.wallSeconds);
    put("cpu_s", run.cpuSeconds);
    put("cpu_share", run.cpuSeconds / run.wallSeconds);
    put("waits", run.longTicks);
    put("wait_wall_s", run.longWallSeconds);
    put("wait_cpu_s", run.longCpuSeconds);
    put("wait_cpu_share", run.longWallSeconds > 0 ? run.longCpuSeconds / run.longWallSeconds : 0);
    put("status", session.window.statusLabel.caption());
}

} // namespace dornal::bench
