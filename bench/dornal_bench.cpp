#include "benchmarks.h"

#include <QCoreApplication>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

namespace {

constexpr const char* kUsage =
    "Usage: dornal-bench silent SECONDS | cut SECONDS | stall CASE SECONDS | write-calls\n"
    "       | cadence MODE BAUD SECONDS [record] | soak SECONDS [RECORD_DIR]\n"
    "Measures the bench's logic on the real serial layer against the simulated reader and\n"
    "prints name=value lines. MODE is the place of a loop mode in the Action list that counts its "
    "loops:\n"
    "0 \"Auto Write Loop\" or 4 \"Auto Write/Read Loop\". bench/run runs them all.\n";

std::chrono::seconds secondsArg(const char* text) {
    const int seconds = std::atoi(text);
    if (seconds <= 0)
        throw std::invalid_argument(std::string("not a number of seconds: ") + text);
    return std::chrono::seconds(seconds);
}

int run(int argc, char* argv[]) {
    using namespace dornal::bench;
    const std::string what = argc > 1 ? argv[1] : "";
    if (what == "silent" && argc == 3)
        silentReaderCpu(secondsArg(argv[2]));
    else if (what == "cut" && argc == 3)
        cutAnswerCpu(secondsArg(argv[2]));
    else if (what == "stall" && argc == 4)
        windowStall(argv[2], secondsArg(argv[3]));
    else if (what == "soak" && argc == 3)
        soak(secondsArg(argv[2]));
    else if (what == "soak" && argc == 4)
        soak(secondsArg(argv[2]), argv[3]);
    else if (what == "write-calls" && argc == 2)
        writeCallsPerFrame();
    else if (what == "cadence" && argc == 5)
        loopCadence(std::atoi(argv[2]), std::atoi(argv[3]), secondsArg(argv[4]));
    else if (what == "cadence" && argc == 6 && std::string(argv[5]) == "record")
        loopCadence(std::atoi(argv[2]), std::atoi(argv[3]), secondsArg(argv[4]), true);
    else {
        std::fputs(kUsage, stderr);
        return 2;
    }
    return 0;
}

} // namespace

int main(int argc, char* argv[]) {
    // The simulated reader built with this program, unless the caller names another.
    setenv("DORNAL_SIM", DORNAL_SIM_PATH, 0);
    QCoreApplication app(argc, argv);
    try {
        return run(argc, argv);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "dornal-bench: %s\n", error.what());
        return 1;
    }
}
