#include "reader_link.h"

#include "shared/protocol.h"

namespace dornal {
namespace {

constexpr char kReadTerminators[] = {static_cast<char>(protocol::kReadAnswerEnd)};
constexpr char kWriteTerminators[] = {static_cast<char>(protocol::kWriteOk),
                                      static_cast<char>(protocol::kWriteFailed)};

} // namespace

Line::OpenResult ReaderLink::open(int port, int baudRate) {
    const Line::OpenResult result = line_.open(port, baudRate);
    if (result == Line::OpenResult::Opened)
        line_.drain();
    return result;
}

void ReaderLink::sendBytes(const std::string& bytes) {
    line_.drain();
    line_.write({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()});
}

void ReaderLink::send(Command command) {
    sendBytes(commandBytes(command));
    if (isRead(command))
        expectingRead_ = true;
}

void ReaderLink::writeTracks(std::optional<Itrip> strength, const TrackTexts& tracks) {
    if (strength)
        send(itripCommand(*strength));
    sendBytes(writeFrame(tracks));
    expectingRead_ = false;
}

Received ReaderLink::receive() {
    Received received;
    const int waiting = line_.waiting();
    received.lineFailed = waiting < 0;
    if (waiting <= 0)
        return received;
    if (line_.waitByte(0) != protocol::kEsc)
        return received;

    AnswerBuffer buffer;
    if (expectingRead_) {
        received.kind = Received::Kind::Read;
        received.outcome = collect({kReadTerminators, 1}, buffer);
        if (received.outcome == Outcome::Complete)
            received.read = decodeReadAnswer(buffer);
    } else {
        received.kind = Received::Kind::Write;
        received.outcome = collect({kWriteTerminators, 2}, buffer);
        if (received.outcome == Outcome::Complete)
            received.write = decodeWriteAnswer(buffer);
    }
    received.lineFailed = received.outcome == Outcome::PortError;
    return received;
}

// Reads the bytes of one frame after its ESC until a terminator has been stored. Once the
// buffer is full the rest of the answer is dropped, but still read up to its terminator so
// that it cannot pass for the start of the next answer. No answer holds an ESC: one that comes
// starts the next answer, and the answer that broke off before it is dropped, so that the two
// are not taken for one.
Outcome ReaderLink::collect(std::string_view terminators, AnswerBuffer& answer) {
    AnswerWait wait(line_);
    for (;;) {
        const AwaitedByte next = wait.next();
        if (next.outcome != Outcome::Complete)
            return next.outcome;
        if (next.byte == protocol::kEsc) {
            answer = {};
            continue;
        }
        answer.append(next.byte);
        if (terminators.find(static_cast<char>(next.byte)) != std::string_view::npos)
            return Outcome::Complete;
    }
}

Outcome ReaderLink::waitReady() {
    AnswerWait wait(line_);
    for (;;) {
        const AwaitedByte next = wait.next();
        if (next.outcome != Outcome::Complete || next.byte == protocol::kReady)
            return next.outcome;
    }
}

} // namespace dornal
