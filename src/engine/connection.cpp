#include "bench.h"

#include "shared/protocol.h"

namespace dornal {

Bench::Bench(Panel& panel, ReaderLink& link)
    : panel_(panel), link_(link), data_(panel, counters_) {}

Task<std::optional<OpenFailure>> Bench::connect(int port, std::optional<int> baudRate) {
    if (baudRate)
        baudRate_ = baudRate;
    port_ = port;
    const Line::OpenResult opened =
        co_await link_.open(port, baudRate_.value_or(protocol::kDefaultBaudRate));
    if (opened != Line::OpenResult::Opened) {
        OpenFailure failure = link_.openFailure();
        link_.close();
        connected_ = false; // opening closed whatever port was open before
        co_return failure;
    }
    co_await link_.send(Command::ResetReader);
    connected_ = true;
    zeroCounters();
    // Whatever set the reader held before, it now uses the one the window shows.
    if (const auto set = panel_.charSet())
        co_await link_.send(charSetCommand(*set));
    co_return std::nullopt;
}

// A run does not outlive its port: it ends here, without a word to the reader, whose line is
// going away, and with every counter as it stands.
void Bench::disconnect() {
    if (run_)
        endRun(true, RunEnd::Disconnected);
    link_.close();
    connected_ = false;
}

void Bench::shutDown() {
    if (run_)
        endRun(true, RunEnd::WindowClosed);
    disconnect();
}

Task<> Bench::selectCharSet(CharSet set) {
    co_await link_.send(charSetCommand(set));
}

Task<> Bench::selectItrip(Itrip strength) {
    co_await link_.send(itripCommand(strength));
}

} // namespace dornal
