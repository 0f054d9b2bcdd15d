#include "benchmarks.h"
#include "report.h"
#include "sim_session.h"
#include "tick_driver.h"

#include <map>
#include <stdexcept>

namespace dornal::bench {
namespace {

struct StallCase {
    std::vector<std::string> simOptions;
    int baudRate = 0;
    Mode mode = Mode::WriteLoop;
};

// Full-length tracks make a read answer of about 226 bytes: at 40 ms a byte it takes 9 s.
const std::map<std::string, StallCase> kCases = {
    {"wrl9600", {{}, 9600, Mode::WriteReadLoop}},
    {"wrl115200", {{}, 115200, Mode::WriteReadLoop}},
    {"wl9600", {{}, 9600, Mode::WriteLoop}},
    {"wl115200", {{}, 115200, Mode::WriteLoop}},
    {"cut", {{"--cut", "2"}, 115200, Mode::WriteLoop}},
    {"dribble", {{"--dribble", "40"}, 115200, Mode::WriteReadLoop}},
};

} // namespace

void windowStall(const std::string& which, std::chrono::seconds runFor) {
    const auto found = kCases.find(which);
    if (found == kCases.end())
        throw std::invalid_argument("no stall case " + which);
    const StallCase& c = found->second;
    SimSession session(c.simOptions, c.baudRate);
    session.start(c.mode);
    const TickRun run =
        driveTicks(session.window.cycleTimer, session.controller, runFor, 1e9, {}, true);
    put("wall_s", run.wallSeconds);
    put("busy_ticks", run.busyTicks);
    put("busy_tick_ms_max", run.busyMsMax);
    put("stall_ms_max", run.stallMsMax);
}

} // namespace dornal::bench
