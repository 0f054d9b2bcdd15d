// Any byte stream taken as the reader's answer to the firmware query.
#include "fuzz_bench.h"
#include "reader/firmware_query.h"
#include "reader/protocol.h"

using namespace dornal;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    testing::Bench bench;
    bench.connect();
    const std::string_view answer = fuzzing::bytesOf(data, size);
    // The reader answers once the query has left, after the input drain.
    bench.port.onWrite = [&](const std::vector<std::uint8_t>& written) {
        if (written.size() == protocol::kFirmwareQuery.size())
            bench.port.feed(answer);
    };
    int shown = 0;
    bench.form.Text3.addListener([&shown] { ++shown; });
    QueryFirmwareVersion(bench.context());
    // Text3 is set once: the version (at most a 255-byte payload less its last two bytes),
    // or the text saying why there is none.
    fuzzing::require(shown == 1);
    fuzzing::require(bench.form.Text3.text().size() <= 253);
    return 0;
}
