#include "answer_reception.h"

#include "protocol.h"

namespace dornal {
namespace {

constexpr char kReadTerminators[] = {static_cast<char>(protocol::kReadAnswerEnd)};
constexpr char kWriteTerminators[] = {static_cast<char>(protocol::kWriteOk),
                                      static_cast<char>(protocol::kWriteFailed)};

bool isReadExpected(const SharedValues& shared) {
    return shared.LastCmdRead != kFalse;
}

const char* incompleteText(WaitOutcome outcome, const char* timeoutText) {
    switch (outcome) {
    case WaitOutcome::TimedOut:
        return timeoutText;
    case WaitOutcome::TooLong:
        return kAnswerTooLongText;
    default:
        return kPortErrorText;
    }
}

} // namespace

Answer ReceiveAnswer(Context& context, const SegmentCounter& countSegment) {
    SerialPort& port = context.port();
    const int waiting = port.sio_iqueue(context.portNumber());
    // Below 0 the port has failed. After Disconnect (Timer1 may still run) that is expected
    // and nothing happens; while connected the reader is gone, and the operator is told so.
    if (waiting < 0 && context.form.Command1[1].enabled())
        context.form.Label5.setCaption(kPortErrorText);
    if (waiting <= 0)
        return {};
    // A stray byte before an answer is dropped; one per tick.
    if (port.sio_getch(context.portNumber()) != protocol::kEsc)
        return {};

    const bool read = isReadExpected(context.shared());
    Answer answer;
    answer.kind = read ? AnswerKind::Read : AnswerKind::Write;
    AnswerBuffer buffer;
    answer.outcome = read ? CollectAnswer(context, {kReadTerminators, 1}, buffer)
                          : CollectAnswer(context, {kWriteTerminators, 2}, buffer);
    if (answer.outcome != WaitOutcome::Complete) {
        // Half an answer says nothing reliable about the card: decode none of it.
        context.form.Label5.setCaption(incompleteText(answer.outcome, kAnswerTimeoutText));
        return answer;
    }
    if (read)
        DecodeReadAnswer(context, buffer, countSegment);
    else
        answer.writtenTracks = DecodeWriteAnswer(context, buffer);
    return answer;
}

WaitOutcome CollectAnswer(Context& context, std::string_view terminators, AnswerBuffer& answer) {
    answer = AnswerBuffer{};
    AnswerWait wait(context.link);
    for (;;) {
        const AwaitedByte next = wait.next();
        if (next.outcome != WaitOutcome::Complete)
            return next.outcome;
        // Once the buffer is full the rest of the answer is dropped, but still read up to its
        // terminator so that it cannot pass for the start of the next answer.
        if (answer.length < AnswerBuffer::kSize)
            answer.bytes[static_cast<std::size_t>(answer.length++)] = next.byte;
        if (terminators.find(static_cast<char>(next.byte)) != std::string_view::npos)
            return WaitOutcome::Complete;
    }
}

WaitOutcome WaitReady(Context& context) {
    AnswerWait wait(context.link);
    for (;;) {
        const AwaitedByte next = wait.next();
        if (next.outcome != WaitOutcome::Complete)
            context.form.Label5.setCaption(incompleteText(next.outcome, kNotReadyText));
        if (next.outcome != WaitOutcome::Complete || next.byte == protocol::kReady)
            return next.outcome;
    }
}

} // namespace dornal
