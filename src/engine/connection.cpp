#include "bench.h"

#include "shared/protocol.h"

namespace dornal {

Bench::Bench(Panel& panel, ReaderLink& link)
    : panel_(panel), link_(link), data_(panel, counters_) {}

std::optional<OpenFailure> Bench::connect(int port, std::optional<int> baudRate) {
    if (baudRate)
        baudRate_ = baudRate;
    if (link_.open(port, baudRate_.value_or(protocol::kDefaultBaudRate)) !=
        Line::OpenResult::Opened) {
        OpenFailure failure = link_.openFailure();
        link_.close();
        connected_ = false; // opening closed whatever port was open before
        return failure;
    }
    link_.send(Command::ResetReader);
    connected_ = true;
    zeroCounters();
    // Whatever set the reader held before, it now uses the one the window shows.
    if (const auto set = panel_.charSet())
        link_.send(charSetCommand(*set));
    return std::nullopt;
}

void Bench::disconnect() {
    link_.close();
    connected_ = false;
}

void Bench::selectCharSet(CharSet set) {
    link_.send(charSetCommand(set));
}

void Bench::selectItrip(Itrip strength) {
    link_.send(itripCommand(strength));
}

} // namespace dornal
