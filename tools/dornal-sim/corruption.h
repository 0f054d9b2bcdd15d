#pragma once

#include "card.h"

#include <cstdint>

// A reader that misreads: one character of one track comes back changed, in a read answer
// that stays well formed.
namespace dornal::sim {

// Another character that `track` can carry in a read answer without ending its data or
// marking a segment: tracks 2 and 3 the next digit ("9" becomes "0", any other character
// "0"); track 1 the next character of its test alphabet without "A".
char changedCharacter(int track, char c);

// Changes one character of the requested tracks that hold data, chosen by `nth` (the how
// many-th change this is, from 0): the tracks in answer order 2, 3, 1 in turn, and in each a
// position further on every round. False when no requested track holds data.
bool changeOneCharacter(Card& card, TrackSet tracks, std::uint64_t nth);

} // namespace dornal::sim
