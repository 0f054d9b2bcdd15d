#include "commands.h"

#include "shared/protocol.h"

#include <array>

namespace dornal {
namespace {

std::string_view afterEsc(Command command) {
    using namespace protocol;
    switch (command) {
    case Command::ReadT1:
        return kReadT1;
    case Command::ReadT2:
        return kReadT2;
    case Command::ReadT12:
        return kReadT12;
    case Command::ReadT3:
        return kReadT3;
    case Command::ReadT123:
        return kReadT123;
    case Command::ReadT23:
        return kReadT23;
    case Command::Abandon:
        return kAbandon;
    case Command::ReadyCheck:
        return kReadyCheck;
    case Command::ResetReader:
        return kResetReader;
    case Command::SetCharSetIbm1:
        return kSetCharSetIbm1;
    case Command::SetCharSetIbm2:
        return kSetCharSetIbm2;
    case Command::SetCharSetIbm3:
        return kSetCharSetIbm3;
    case Command::SetCharSetIso:
        return kSetCharSetIso;
    case Command::SetItrip13:
        return kSetItrip13;
    case Command::SetItrip23:
        return kSetItrip23;
    case Command::SetItrip33:
        return kSetItrip33;
    }
    return {};
}

} // namespace

std::string commandBytes(Command command) {
    return static_cast<char>(protocol::kEsc) + std::string(afterEsc(command));
}

bool isRead(Command command) {
    return command <= Command::ReadT23;
}

std::optional<Command> readCommandFor(TrackSet tracks) {
    // By the set's value 1..7; tracks 1 and 3 without 2 are read with all three.
    static constexpr std::array<Command, 7> kBySet{
        Command::ReadT1,   Command::ReadT2,  Command::ReadT12, Command::ReadT3,
        Command::ReadT123, Command::ReadT23, Command::ReadT123};
    if (tracks < 1 || tracks > 7)
        return std::nullopt;
    return kBySet[static_cast<std::size_t>(tracks - 1)];
}

Command charSetCommand(CharSet set) {
    static constexpr std::array<Command, 4> kBySet{Command::SetCharSetIbm1, Command::SetCharSetIbm2,
                                                   Command::SetCharSetIbm3, Command::SetCharSetIso};
    return kBySet[static_cast<std::size_t>(set)];
}

Command itripCommand(Itrip strength) {
    static constexpr std::array<Command, 3> kByStrength{Command::SetItrip13, Command::SetItrip23,
                                                        Command::SetItrip33};
    return kByStrength[static_cast<std::size_t>(strength)];
}

} // namespace dornal
