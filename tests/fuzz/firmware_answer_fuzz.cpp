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
    bench.form.Text3.setText("before");
    QueryFirmwareVersion(bench.context());
    // The version is at most a 255-byte payload less its last two bytes, or a failure text.
    fuzzing::require(bench.form.Text3.text().size() <= 253);
    fuzzing::require(bench.form.Text3.text() != "before");
    return 0;
}
