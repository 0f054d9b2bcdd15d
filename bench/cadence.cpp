#include "benchmarks.h"
#include "report.h"
#include "shared/timing.h"
#include "sim_session.h"
#include "tick_driver.h"

#include <filesystem>
#include <stdexcept>

namespace dornal::bench {
namespace {

// Answers one loop needs: the tick takes at most one, so this sets the ceiling. Only the
// loops that count themselves in the loop count can be timed ("Auto Read Loop" leaves it alone).
int answersPerLoop(Mode mode) {
    switch (mode) {
    case Mode::WriteLoop:
        return 1;
    case Mode::WriteReadLoop:
        return 2; // one write, one read
    default:
        throw std::runtime_error("only the write loop (0) and the write/read loop (4) count loops");
    }
}

// The steady pace of the loops: from the tick that completed the first loop to the tick that
// completed the last, so that neither the wait for the first answer nor where the run happens
// to be cut off counts.
class LoopPace {
public:
    void note(long loops, double atMs) {
        if (loops == last_)
            return;
        if (firstMs_ < 0) {
            firstLoops_ = loops;
            firstMs_ = atMs;
        }
        last_ = loops;
        lastMs_ = atMs;
    }
    double perMinute() const {
        return lastMs_ > firstMs_
                   ? static_cast<double>(last_ - firstLoops_) * 60000 / (lastMs_ - firstMs_)
                   : 0;
    }

private:
    long last_ = 0;
    long firstLoops_ = 0;
    double firstMs_ = -1;
    double lastMs_ = -1;
};

std::uintmax_t folderBytes(const std::filesystem::path& folder) {
    std::uintmax_t bytes = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        bytes += entry.file_size();
    return bytes;
}

} // namespace

void loopCadence(int modeIndex, int baudRate, std::chrono::seconds runFor, bool record) {
    const auto mode = static_cast<Mode>(modeIndex);
    const double ceiling = 60000.0 / (timing::kTickMs * answersPerLoop(mode));
    SimSession session({}, baudRate);
    const std::filesystem::path records = session.home() / "runs";
    if (record)
        session.controller.bench().recorder().recordInto(records);
    session.start(mode);
    LoopPace pace;
    const TickRun run = driveTicks(session.window.cycleTimer, session.controller, runFor, 1e9,
                                   [&](double atMs, double) { pace.note(session.loops(), atMs); });
    const double perMinute = pace.perMinute();
    put("wall_s", run.wallSeconds);
    put("loops", static_cast<double>(session.loops()));
    put("loops_per_min_whole_run", static_cast<double>(session.loops()) * 60 / run.wallSeconds);
    put("loops_per_min", perMinute);
    put("ceiling_per_min", ceiling);
    put("share_of_ceiling", perMinute / ceiling);
    put("cpu_s_per_min", run.cpuSeconds * 60 / run.wallSeconds);
    put("ticks", run.ticks);
    put("busy_ticks", run.busyTicks);
    put("busy_tick_ms_mean", run.busyMsMean);
    put("busy_tick_ms_max", run.busyMsMax);
    put("tick_late_ms_max", run.lateMsMax);
    put("track1_writes", session.window.writeCountLabels[0].caption());
    put("track1_reads", session.window.readCountLabels[0].caption());
    put("status", session.window.statusLabel.caption());
    if (record) {
        session.window.abandonButton.click();
        session.settle();
        put("record_bytes", static_cast<double>(folderBytes(records)));
        put("record_state", session.window.statusLabel.toolTip());
    }
}

} // namespace dornal::bench
