// Any byte stream taken as the reader's answers to write frames.
#include "engine/counters.h"
#include "fuzz_bench.h"
#include "reader/answer_reception.h"

using namespace dornal;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    testing::Bench bench;
    bench.connect();
    bench.shared.LastCmdRead = kFalse;
    bench.port.feed(fuzzing::bytesOf(data, size));
    while (bench.port.waiting() > 0) {
        const Answer answer = ReceiveAnswer(bench.context(), {});
        fuzzing::require(answer.writtenTracks <= 7);
        fuzzing::require(answer.outcome == WaitOutcome::Complete || answer.writtenTracks == 0);
        CountWriteAnswer(bench.form, answer.writtenTracks);
        fuzzing::checkWindow(bench.form);
    }
    return 0;
}
