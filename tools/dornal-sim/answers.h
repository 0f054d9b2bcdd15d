#pragma once

#include "card.h"

#include <optional>
#include <string>
#include <string_view>

// The answer frames the reader sends, built from the card and the request.
namespace dornal::sim {

// The tracks a write frame carries and their data.
struct WriteRequest {
    TrackSet tracks = 0;
    Card data;
};

// Splits a frame body: track 2 data up to the first "A" or "~", then "A" and track 3 data up
// to the first "~", then "~" and track 1 data to the end. The data alone cannot tell an empty
// track 2 from an absent one; tracks 3 and 1 count as carried whenever their marker is there.
WriteRequest splitFrameBody(std::string_view body);

// The tracks the reader writes for a frame: the reader has no answer code for "nothing" or
// for tracks 1 and 3 alone. A frame without track data writes an empty track 2 (all the bench
// can mean by it is track 2 with an empty text); tracks 1 and 3 write an empty track 2 with
// them, as the reader reads them back with the command for all three tracks.
TrackSet tracksWritten(TrackSet carried);

// ESC, the code byte of `tracks`, the filler where the code has one, and "p" or "q". Empty
// when the set has no code.
std::string writeAnswer(TrackSet tracks, bool ok);

// ESC "s", the segments of the requested tracks in the order 2, 3, 1, and "?".
std::string readAnswer(const Card& card, TrackSet tracks);

// Two frames: the acknowledgement of the query, then the version text and two more bytes.
std::string firmwareAnswer(std::string_view versionText);

// The tracks a read command asks for; nullopt when `escape` is no read command.
std::optional<TrackSet> tracksToRead(std::string_view escape);

} // namespace dornal::sim
