// Any byte stream taken as the reader's answers during a run of any mode.
#include "fuzz_bench.h"

using namespace dornal;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1)
        return 0;
    testing::TestWindow t;
    t.connect();
    // The first byte picks the mode, and with it whether answers are read or write answers and
    // where read data go.
    t.window.modeOptions[data[0] % 5].select();
    t.window.startButton.click();
    t.line.feed(fuzzing::bytesOf(data + 1, size - 1));
    // Each tick takes at most one answer and drops at most one stray byte.
    for (std::size_t ticks = 0; t.line.pending() > 0 && ticks <= size; ++ticks) {
        t.window.cycleTimer.tick();
        fuzzing::checkWindow(t);
    }
    return 0;
}
