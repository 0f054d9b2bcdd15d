#pragma once

#include "reader_link.h"

#include <optional>

namespace dornal {

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

// Takes at most 16 stale bytes out of the input queue in one read bounded by the read
// time-outs, and throws them away.
void PurgeInput(ReaderLink& link, std::int16_t port);

// Drains the input, then sends ESC and the command's bytes in one write. The read commands
// then set LastCmdRead. Fire and forget: no answer is awaited.
void send(ReaderLink& link, Command command);

// The read command for the selected tracks (1 track 1, 2 track 2, 4 track 3); none for 0.
std::optional<Command> readCommandFor(int trackMask);
// The character-set command of Option3(index) and the Itrip command of Option4(index).
std::optional<Command> charSetCommandFor(int option3Index);
std::optional<Command> itripCommandFor(int option4Index);

inline void ReadT1(ReaderLink& l) {
    send(l, Command::ReadT1);
}
inline void ReadT2(ReaderLink& l) {
    send(l, Command::ReadT2);
}
inline void ReadT12(ReaderLink& l) {
    send(l, Command::ReadT12);
}
inline void ReadT3(ReaderLink& l) {
    send(l, Command::ReadT3);
}
inline void ReadT123(ReaderLink& l) {
    send(l, Command::ReadT123);
}
inline void ReadT23(ReaderLink& l) {
    send(l, Command::ReadT23);
}
inline void Abandon(ReaderLink& l) {
    send(l, Command::Abandon);
}
inline void ReadyCheck(ReaderLink& l) {
    send(l, Command::ReadyCheck);
}
inline void ResetReader(ReaderLink& l) {
    send(l, Command::ResetReader);
}
inline void SetCharSetIbm1(ReaderLink& l) {
    send(l, Command::SetCharSetIbm1);
}
inline void SetCharSetIbm2(ReaderLink& l) {
    send(l, Command::SetCharSetIbm2);
}
inline void SetCharSetIbm3(ReaderLink& l) {
    send(l, Command::SetCharSetIbm3);
}
inline void SetCharSetIso(ReaderLink& l) {
    send(l, Command::SetCharSetIso);
}
inline void SetItrip13(ReaderLink& l) {
    send(l, Command::SetItrip13);
}
inline void SetItrip23(ReaderLink& l) {
    send(l, Command::SetItrip23);
}
inline void SetItrip33(ReaderLink& l) {
    send(l, Command::SetItrip33);
}

} // namespace dornal
