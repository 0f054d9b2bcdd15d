// Any sequence of typing, pasting and unticking in the track boxes.
#include "fuzz_bench.h"

using namespace dornal;

namespace {

// What the track box must hold after `typed` was added at the end of `before`: the typed text
// without the characters its track refuses (one beep for them all), then cut to the box's
// maximum.
std::pair<std::string, int> expectedEntry(int track, const std::string& before,
                                          std::string_view typed) {
    std::string text = before;
    int beeps = 0;
    for (char c : typed) {
        if (trackCarries(track, c))
            text.push_back(c);
        else
            beeps = 1;
    }
    const auto max = static_cast<std::size_t>(kTrackMaxLength[trackIndex(track)]);
    if (text.size() > max)
        text.resize(max);
    return {text, beeps};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    testing::TestWindow t;
    t.connect();
    std::size_t i = 0;
    // Each step: a byte choosing the box and the action, a length byte, then the typed bytes.
    while (i + 2 <= size) {
        const int track = 1 + data[i] % 3;
        const bool untick = (data[i] & 0x80) != 0;
        const std::size_t length = std::min<std::size_t>(data[i + 1], size - i - 2);
        const std::string_view typed = fuzzing::bytesOf(data + i + 2, length);
        i += 2 + length;
        TextBox& text = t.window.trackBox(track);
        if (untick) {
            t.window.trackCheck(track).setValue(0);
            fuzzing::require(text.text().empty());
            t.window.trackCheck(track).setValue(1);
            continue;
        }
        const auto [expected, beeps] = expectedEntry(track, text.text(), typed);
        const int beepsBefore = t.alerts.beeps;
        const std::string edited = text.text() + std::string(typed);
        text.edit(edited, static_cast<int>(edited.size()));
        fuzzing::require(text.text() == expected);
        fuzzing::require(t.alerts.beeps - beepsBefore == beeps);
        fuzzing::checkWindow(t);
    }
    return 0;
}
