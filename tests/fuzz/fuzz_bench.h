#pragma once

#include "window_fixture.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace dornal::fuzzing {

inline std::string_view bytesOf(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// A fuzz finding: libFuzzer reports the input that led here.
inline void require(bool condition) {
    if (!condition)
        std::abort();
}

// What must hold after anything the reader or the operator sent: every track box holds only
// what its track carries, within its length, and says so below it; the counters show the
// engine's numbers; the status line is printable.
inline void checkWindow(testing::TestWindow& t) {
    WindowModel& w = t.window;
    for (int track = 1; track <= kTrackCount; ++track) {
        const std::string& text = w.trackBox(track).text();
        require(text.size() <= static_cast<std::size_t>(kTrackMaxLength[trackIndex(track)]));
        for (char c : text)
            require(trackCarries(track, c));
        require(w.lengthLabel(track).caption() == "0" ||
                w.lengthLabel(track).caption() == std::to_string(text.size()));
    }
    const Counters& c = t.controller.bench().counters();
    require(w.loopCountLabel.caption() == std::to_string(c.loops));
    for (std::size_t i = 0; i < 3; ++i)
        require(w.totalLabels[i].caption() == std::to_string(c.totals[i]) &&
                w.writeCountLabels[i].caption() == std::to_string(c.writes[i]) &&
                w.readCountLabels[i].caption() == std::to_string(c.reads[i]));
    for (char c : w.statusLabel.caption())
        require(c >= 32 && c < 127);
}

} // namespace dornal::fuzzing
