#include "commands.h"

#include "protocol.h"
#include "timing.h"

#include <array>

namespace dornal {
namespace {

struct CommandBytes {
    std::string_view afterEsc;
    bool isRead;
};

CommandBytes bytesOf(Command command) {
    using namespace protocol;
    switch (command) {
    case Command::ReadT1:
        return {kReadT1, true};
    case Command::ReadT2:
        return {kReadT2, true};
    case Command::ReadT12:
        return {kReadT12, true};
    case Command::ReadT3:
        return {kReadT3, true};
    case Command::ReadT123:
        return {kReadT123, true};
    case Command::ReadT23:
        return {kReadT23, true};
    case Command::Abandon:
        return {kAbandon, false};
    case Command::ReadyCheck:
        return {kReadyCheck, false};
    case Command::ResetReader:
        return {kResetReader, false};
    case Command::SetCharSetIbm1:
        return {kSetCharSetIbm1, false};
    case Command::SetCharSetIbm2:
        return {kSetCharSetIbm2, false};
    case Command::SetCharSetIbm3:
        return {kSetCharSetIbm3, false};
    case Command::SetCharSetIso:
        return {kSetCharSetIso, false};
    case Command::SetItrip13:
        return {kSetItrip13, false};
    case Command::SetItrip23:
        return {kSetItrip23, false};
    case Command::SetItrip33:
        return {kSetItrip33, false};
    }
    return {{}, false};
}

} // namespace

void PurgeInput(ReaderLink& link, std::int16_t port) {
    // Room for more than one read can take; what is read is thrown away.
    std::array<char, 101> drain{};
    link.port.sio_read(port, drain.data(), timing::kDrainBytes);
}

void send(ReaderLink& link, Command command) {
    const CommandBytes bytes = bytesOf(command);
    PurgeInput(link, link.shared.PortNumber);
    {
        OneWrite oneWrite(link.port, link.portNumber());
        link.port.sio_putch(link.portNumber(), protocol::kEsc);
        for (char c : bytes.afterEsc)
            link.port.sio_putch(link.portNumber(), static_cast<unsigned char>(c));
    }
    if (bytes.isRead)
        link.shared.LastCmdRead = kTrue;
}

std::optional<Command> readCommandFor(int trackMask) {
    static constexpr std::array<Command, 7> kByMask{
        Command::ReadT1,   Command::ReadT2,  Command::ReadT12, Command::ReadT3,
        Command::ReadT123, Command::ReadT23, Command::ReadT123};
    if (trackMask < 1 || trackMask > 7)
        return std::nullopt;
    return kByMask[static_cast<std::size_t>(trackMask - 1)];
}

std::optional<Command> charSetCommandFor(int option3Index) {
    static constexpr std::array<Command, 4> kByIndex{
        Command::SetCharSetIbm1, Command::SetCharSetIbm2, Command::SetCharSetIbm3,
        Command::SetCharSetIso};
    if (option3Index < 0 || option3Index > 3)
        return std::nullopt;
    return kByIndex[static_cast<std::size_t>(option3Index)];
}

std::optional<Command> itripCommandFor(int option4Index) {
    static constexpr std::array<Command, 3> kByIndex{Command::SetItrip13, Command::SetItrip23,
                                                     Command::SetItrip33};
    if (option4Index < 0 || option4Index > 2)
        return std::nullopt;
    return kByIndex[static_cast<std::size_t>(option4Index)];
}

} // namespace dornal
