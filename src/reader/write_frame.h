#pragma once

#include <array>
#include <optional>
#include <string>

namespace dornal {

// The data to write on each track (index track - 1); no value for a track left out.
using TrackTexts = std::array<std::optional<std::string>, 3>;

// The write frame: ESC "t", track 2 data, "A" and track 3 data, "~" and track 1 data (each
// only for a track with data to write, an empty text included), and the trailer. Every
// character leaves as the byte it is.
std::string writeFrame(const TrackTexts& tracks);

} // namespace dornal
