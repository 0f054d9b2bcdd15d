#include "bench.h"

#include "shared/text_number.h"
#include "status_texts.h"

namespace dornal {
namespace {

const char* incompleteText(Outcome outcome, const char* timeoutText) {
    switch (outcome) {
    case Outcome::TimedOut:
        return timeoutText;
    case Outcome::TooLong:
        return kAnswerTooLongText;
    default:
        return kPortErrorText;
    }
}

} // namespace

void Bench::tick() {
    const Received received = link_.receive();
    if (received.kind == Received::Kind::None) {
        // After Disconnect the ticks may still run on a closed line; that says nothing.
        if (received.lineFailed && connected_)
            panel_.showStatus(kPortErrorText);
        return;
    }
    if (received.outcome != Outcome::Complete) {
        // Half an answer says nothing reliable about the card: none of it is decoded.
        panel_.showStatus(incompleteText(received.outcome, kAnswerTimeoutText));
    } else if (received.kind == Received::Kind::Write) {
        panel_.showStatus(received.write.status);
    }
    // An incomplete read answer carries no decoded answer: nothing is shown or counted.
    if (received.kind == Received::Kind::Write)
        onWriteAnswer(received);
    else
        onReadAnswer(received.read);
}

// An incomplete answer counts nothing and leaves the write failed; the run goes on as after
// a complete one.
void Bench::onWriteAnswer(const Received& received) {
    writeFailed_ = true;
    if (received.outcome == Outcome::Complete) {
        countWrite(counters_, received.write.written);
        panel_.showCounters(counters_);
        if (received.write.written != 0)
            writeFailed_ = false;
    }
    const auto mode = panel_.mode();
    if (!mode)
        return;
    switch (*mode) {
    case Mode::WriteLoop:
        continueWriteLoop();
        break;
    case Mode::SingleWrite:
        endSingleAction();
        break;
    case Mode::WriteReadLoop:
        afterWriteInWriteReadLoop();
        break;
    case Mode::ReadLoop:
    case Mode::SingleRead:
        break; // a write answer in a read mode is counted and the run waits
    }
}

void Bench::onReadAnswer(const ReadAnswer& answer) {
    if (answer.valid)
        showReadBack(answer);
    const auto mode = panel_.mode();
    if (!mode)
        return;
    switch (*mode) {
    case Mode::ReadLoop:
        continueReadLoop();
        break;
    case Mode::SingleRead:
        endSingleAction();
        break;
    case Mode::WriteReadLoop:
        afterReadInWriteReadLoop();
        break;
    case Mode::WriteLoop:
    case Mode::SingleWrite:
        break; // a read answer in a write mode is counted and the run waits
    }
}

// In "Auto Write/Read Loop" the written data stay and the read-back goes below them, and only
// successful writes add to the totals. Each segment is counted before its data are shown, and
// the data go into the box one character at a time, so a track box's entry rule judges each
// as it comes.
void Bench::showReadBack(const ReadAnswer& answer) {
    const bool writeReadLoop = panel_.mode() == Mode::WriteReadLoop;
    const Row row = writeReadLoop ? Row::ReadBack : Row::Data;
    for (int track = 1; track <= kTrackCount; ++track)
        panel_.setBoxText(row, track, "");
    for (const ReadSegment& segment : answer.segments) {
        countReadSegment(counters_, segment.track, segment.hasData, !writeReadLoop);
        panel_.showCounters(counters_);
        for (char c : segment.data)
            panel_.setBoxText(row, segment.track, panel_.boxText(row, segment.track) + c);
    }
}

// A ready wait that gives up (the status line says so) or a port that fails does not stop the
// tick: the remaining commands are sent, so an unattended loop survives a glitch of the reader.
void Bench::awaitReady() {
    link_.send(Command::ReadyCheck);
    const Outcome outcome = link_.waitReady();
    if (outcome != Outcome::Complete)
        panel_.showStatus(incompleteText(outcome, kNotReadyText));
}

void Bench::addLoop() {
    ++counters_.loops;
    panel_.showCounters(counters_);
}

void Bench::continueWriteLoop() {
    data_.advanceTicked(writeFailed_);
    awaitReady();
    link_.send(Command::Abandon);
    writeTracks();
    addLoop();
}

void Bench::afterWriteInWriteReadLoop() {
    link_.send(Command::Abandon);
    if (left_.writes > 0) {
        --left_.writes;
        // A loop without reads advances its data before its last write.
        if (left_.writes == 0 && left_.reads == 0)
            data_.advanceTicked(writeFailed_);
        awaitReady();
        writeTracks();
        return;
    }
    // The first read of a loop follows the last write without a ready check.
    left_.reads = decrementCount16(left_.reads);
    sendReadRequest();
    link_.expectRead(true);
    panel_.showPhase(Phase::Reading);
}

void Bench::afterReadInWriteReadLoop() {
    if (left_.writes == 0 && left_.reads == 0)
        data_.advanceTicked(writeFailed_); // the last read of the loop is in
    awaitReady();
    link_.send(Command::Abandon);
    if (left_.reads > 0) {
        --left_.reads;
        sendReadRequest();
        return;
    }
    addLoop();
    loadLoopCounts();
    link_.expectRead(false);
    left_.writes = decrementCount16(left_.writes);
    writeTracks();
    panel_.showPhase(Phase::Writing);
}

void Bench::continueReadLoop() {
    link_.send(Command::Abandon);
    link_.send(Command::Abandon);
    sendReadRequest();
}

} // namespace dornal
