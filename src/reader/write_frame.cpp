#include "write_frame.h"

#include "shared/protocol.h"

namespace dornal {

std::string writeFrame(const TrackTexts& tracks) {
    using namespace protocol;
    std::string frame{static_cast<char>(kEsc), static_cast<char>(kWriteFrameStart)};
    // Track 2 first and unmarked, then track 3, then track 1: the order the reader expects.
    if (tracks[1])
        frame += *tracks[1];
    if (tracks[2])
        frame += static_cast<char>(kTrack3Marker) + *tracks[2];
    if (tracks[0])
        frame += static_cast<char>(kTrack1Marker) + *tracks[0];
    for (std::uint8_t b : kWriteTrailer)
        frame += static_cast<char>(b);
    return frame;
}

} // namespace dornal
