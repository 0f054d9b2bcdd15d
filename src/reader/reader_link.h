#pragma once

#include "answer_wait.h"
#include "answers.h"
#include "commands.h"
#include "input.h"
#include "line.h"
#include "task.h"
#include "write_frame.h"

#include <optional>
#include <string>

namespace dornal {

// What one look at the line took from the reader.
struct Received {
    enum class Kind { None, Write, Read };
    Kind kind = Kind::None; // None: nothing taken (empty input, a stray byte, or a failed line)
    Outcome outcome = Outcome::Complete; // anything else: the answer is incomplete and not decoded
    bool lineFailed = false;             // the line reported a port error
    bool strayDropped = false;           // a byte that began no answer was thrown away
    WriteAnswer write;                   // Kind::Write, complete
    ReadAnswer read;                     // Kind::Read, complete
};

// The firmware version text, when the answer came whole.
struct FirmwareReply {
    Outcome outcome = Outcome::Complete;
    std::string version;
};

// Whether a command drains stale input first, as every command does, or leaves what waits for
// the next reception (a command sent while an answer may be waiting for its tick).
enum class Drain { First, Skip };

// The reader at the other end of the line: commands and frames go out, answers come back as
// values. Every command drains stale input first and leaves in one write; every wait for the
// reader is bounded, and none blocks: the tasks wait by suspending.
class ReaderLink {
public:
    explicit ReaderLink(Line& line) : line_(line), input_(line) {}

    // Opens the port at the rate and drains what the line held.
    Task<Line::OpenResult> open(int port, int baudRate);
    // Why the last open that failed did so.
    OpenFailure openFailure() const { return line_.openFailure(); }
    void close();

    // Sends a command. No answer is awaited.
    Task<> send(Command command, Drain drain = Drain::First);
    // Sends the write strength's command (when one is chosen), then the write frame.
    Task<> writeTracks(std::optional<Itrip> strength, TrackTexts tracks);
    // Sends the ten-byte query and waits for the two answer frames.
    Task<FirmwareReply> queryFirmware();

    // Takes at most one answer: a read answer when `asRead`, else a write answer. One stray
    // byte before an answer is dropped per call.
    Task<Received> receive(bool asRead);
    // After ReadyCheck: reads bytes until "y".
    Task<Outcome> waitReady();
    // Throws away all the input that waits now, however much it is.
    void discardInput() { input_.discardWaiting(); }

private:
    Task<> sendBytes(std::string bytes, Drain drain);
    Task<Outcome> collect(std::string_view terminators, AnswerBuffer& answer);

    Line& line_;
    Input input_;
};

} // namespace dornal
