#pragma once

#include "answer_wait.h"
#include "answers.h"
#include "commands.h"
#include "line.h"
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
    WriteAnswer write;                   // Kind::Write, complete
    ReadAnswer read;                     // Kind::Read, complete
};

// The firmware version text, when the answer came whole.
struct FirmwareReply {
    Outcome outcome = Outcome::Complete;
    std::string version;
};

// The reader at the other end of the line: commands and frames go out, answers come back as
// values. Every command drains stale input first and leaves in one write; every wait for the
// reader is bounded.
class ReaderLink {
public:
    explicit ReaderLink(Line& line) : line_(line) {}

    // Opens the port at the rate and drains what the line held.
    Line::OpenResult open(int port, int baudRate);
    // Why the last open that failed did so.
    OpenFailure openFailure() const { return line_.openFailure(); }
    void close() { line_.close(); }

    // Sends a command; a read command makes the next answer a read answer. No answer is awaited.
    void send(Command command);
    // Sends the write strength's command (when one is chosen), then the write frame; the next
    // answer is a write answer.
    void writeTracks(std::optional<Itrip> strength, const TrackTexts& tracks);
    // Sends the ten-byte query and waits for the two answer frames.
    FirmwareReply queryFirmware();

    // Takes at most one answer: a read answer after a read command, else a write answer.
    // One stray byte before an answer is dropped per call.
    Received receive();
    // After ReadyCheck: reads bytes until "y".
    Outcome waitReady();

    bool expectingRead() const { return expectingRead_; }
    void expectRead(bool read) { expectingRead_ = read; }

private:
    void sendBytes(const std::string& bytes);
    Outcome collect(std::string_view terminators, AnswerBuffer& answer);

    Line& line_;
    bool expectingRead_ = false;
};

} // namespace dornal
