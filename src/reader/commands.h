#pragma once

#include "shared/tracks.h"

#include <optional>
#include <string>

namespace dornal {

// The reader's escape commands.
enum class Command {
    ReadT1,
    ReadT2,
    ReadT12,
    ReadT3,
    ReadT123,
    ReadT23,
    Abandon,
    ReadyCheck,
    ResetReader,
    SetCharSetIbm1,
    SetCharSetIbm2,
    SetCharSetIbm3,
    SetCharSetIso,
    SetItrip13,
    SetItrip23,
    SetItrip33,
};

// ESC and the command's bytes, as they leave in one write.
std::string commandBytes(Command command);
// A read command: the reader answers it with a read answer.
bool isRead(Command command);

// The read command for a set of tracks; none for the empty set.
std::optional<Command> readCommandFor(TrackSet tracks);

// The character sets in the window's order, and the command that selects each.
enum class CharSet { Ibm1, Ibm2, Ibm3, Iso };
Command charSetCommand(CharSet set);

// The write strengths (Itrip) in the window's order, and the command that selects each.
enum class Itrip { OneThird, TwoThirds, Full };
Command itripCommand(Itrip strength);

} // namespace dornal
