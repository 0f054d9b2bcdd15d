// Any byte stream sent to the simulated reader, in any chunking.
#include "reader_model.h"

#include <cstdlib>

using namespace dornal::sim;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1)
        return 0;
    ReaderModel reader(ReaderSettings{data[0] % 4, "FUZZ 1.0"});
    // The first byte also sets the chunk size, so the parser sees the bytes split every way.
    const std::size_t chunk = 1 + data[0] % 17;
    for (std::size_t at = 1; at < size; at += chunk) {
        const std::size_t n = std::min(chunk, size - at);
        for (const Answer& answer : reader.feed(std::span<const std::uint8_t>(data + at, n)))
            if (answer.bytes.empty())
                std::abort();
    }
    for (const std::string& track : reader.card().tracks)
        if (track.size() > 1024)
            std::abort();
    return 0;
}
