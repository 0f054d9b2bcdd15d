#include "reader_link.h"

#include "shared/protocol.h"

namespace dornal {
namespace {

constexpr char kReadTerminators[] = {static_cast<char>(protocol::kReadAnswerEnd)};
constexpr char kWriteTerminators[] = {static_cast<char>(protocol::kWriteOk),
                                      static_cast<char>(protocol::kWriteFailed)};

} // namespace

Task<Line::OpenResult> ReaderLink::open(int port, int baudRate) {
    const Line::OpenResult result = line_.open(port, baudRate);
    if (result == Line::OpenResult::Opened)
        co_await input_.drain();
    co_return result;
}

void ReaderLink::close() {
    line_.close();
}

Task<> ReaderLink::sendBytes(std::string bytes, Drain drain) {
    if (drain == Drain::First)
        co_await input_.drain();
    line_.write({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()});
}

Task<> ReaderLink::send(Command command, Drain drain) {
    co_await sendBytes(commandBytes(command), drain);
}

Task<> ReaderLink::writeTracks(std::optional<Itrip> strength, TrackTexts tracks) {
    if (strength)
        co_await send(itripCommand(*strength));
    co_await sendBytes(writeFrame(tracks), Drain::First);
}

Task<Received> ReaderLink::receive(bool asRead) {
    Received received;
    const int waiting = line_.waiting();
    received.lineFailed = waiting < 0;
    if (waiting <= 0)
        co_return received;
    if (input_.takeByte() != protocol::kEsc) {
        received.strayDropped = true;
        co_return received;
    }

    AnswerBuffer buffer;
    if (asRead) {
        received.kind = Received::Kind::Read;
        received.outcome = co_await collect({kReadTerminators, 1}, buffer);
        if (received.outcome == Outcome::Complete)
            received.read = decodeReadAnswer(buffer);
    } else {
        received.kind = Received::Kind::Write;
        received.outcome = co_await collect({kWriteTerminators, 2}, buffer);
        if (received.outcome == Outcome::Complete)
            received.write = decodeWriteAnswer(buffer);
    }
    received.lineFailed = received.outcome == Outcome::PortError;
    co_return received;
}

// Reads the bytes of one frame after its ESC until a terminator has been stored. Once the
// buffer is full the rest of the answer is dropped, but still read up to its terminator so
// that it cannot pass for the start of the next answer. No answer holds an ESC: one that comes
// starts the next answer, and the answer that broke off before it is dropped, so that the two
// are not taken for one.
Task<Outcome> ReaderLink::collect(std::string_view terminators, AnswerBuffer& answer) {
    AnswerWait wait(input_);
    for (;;) {
        const AwaitedByte next = co_await wait.next();
        if (next.outcome != Outcome::Complete)
            co_return next.outcome;
        if (next.byte == protocol::kEsc) {
            answer = {};
            continue;
        }
        answer.append(next.byte);
        if (terminators.find(static_cast<char>(next.byte)) != std::string_view::npos)
            co_return Outcome::Complete;
    }
}

Task<Outcome> ReaderLink::waitReady() {
    AnswerWait wait(input_);
    for (;;) {
        const AwaitedByte next = co_await wait.next();
        if (next.outcome != Outcome::Complete || next.byte == protocol::kReady)
            co_return next.outcome;
    }
}

} // namespace dornal
