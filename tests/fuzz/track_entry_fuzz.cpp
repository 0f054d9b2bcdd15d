// Any sequence of typing, pasting and unticking in the track boxes.
#include "fuzz_bench.h"

using namespace dornal;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    testing::TestWindow t;
    t.connect();
    // Each step: a byte choosing the box and the action, a length byte, then the typed bytes.
    for (std::size_t i = 0, length = 0; i + 2 <= size; i += 2 + length) {
        const int track = 1 + data[i] % 3;
        length = std::min<std::size_t>(data[i + 1], size - i - 2);
        const std::string_view typed = fuzzing::bytesOf(data + i + 2, length);
        TextBox& text = t.window.trackBox(track);
        if ((data[i] & 0x80) != 0) { // untick
            t.window.trackCheck(track).setValue(0);
            fuzzing::require(text.text().empty());
            t.window.trackCheck(track).setValue(1);
            continue;
        }
        // The box gets the typed text without the characters its track refuses (one beep for
        // them all), then cut to its maximum.
        std::string expected = text.text();
        int beeps = t.alerts.beeps;
        for (char c : typed)
            trackCarries(track, c) ? expected.push_back(c) : void(beeps = t.alerts.beeps + 1);
        expected.resize(std::min<std::size_t>(expected.size(), kTrackMaxLength[trackIndex(track)]));
        const std::string edited = text.text() + std::string(typed);
        text.edit(edited, static_cast<int>(edited.size()));
        fuzzing::require(text.text() == expected && t.alerts.beeps == beeps);
        fuzzing::checkWindow(t);
    }
    return 0;
}
