// Any byte stream taken as the reader's answers to read commands.
#include "engine/counters.h"
#include "fuzz_bench.h"
#include "reader/answer_reception.h"

using namespace dornal;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1)
        return 0;
    testing::Bench bench;
    bench.connect();
    // The first byte picks where read data go: Text1 ("Sin&gal Read") or Text2 (write/read loop).
    bench.form.Option1[(data[0] & 1) != 0 ? 4 : 3].select();
    bench.shared.LastCmdRead = kTrue;
    bench.port.feed(fuzzing::bytesOf(data + 1, size - 1));
    const SegmentCounter count = [&](int track, bool hasData) {
        CountReadSegment(bench.form, track, hasData);
    };
    while (bench.port.waiting() > 0) {
        ReceiveAnswer(bench.context(), count);
        fuzzing::checkWindow(bench.form);
    }
    return 0;
}
