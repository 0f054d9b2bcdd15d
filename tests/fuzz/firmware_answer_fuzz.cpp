// Any byte stream taken as the reader's answer to the firmware query.
#include "fuzz_bench.h"
#include "shared/protocol.h"

using namespace dornal;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    testing::TestWindow t;
    t.connect();
    // The reader answers once the query has left, after the input drain.
    t.line.onWrite = [&](std::string_view written) {
        if (written.size() == protocol::kFirmwareQuery.size())
            t.line.feed(fuzzing::bytesOf(data, size));
    };
    int shown = 0;
    t.window.firmwareBox.addListener([&shown] { ++shown; });
    t.window.firmwareCheck.setValue(1);
    t.window.startButton.click();
    // The box is set once: the version (at most a 255-byte payload less its last two bytes),
    // or the text saying why there is none.
    fuzzing::require(shown == 1 && t.window.firmwareBox.text().size() <= 253);
    fuzzing::checkWindow(t);
    return 0;
}
