#include "bench.h"

#include "shared/text_number.h"
#include "status_texts.h"

namespace dornal {

Task<> Bench::tick() {
    if (!run_)
        co_return; // a tick that was due when the run ended
    const Received received = co_await link_.receive(run_->awaitingRead);
    noteGlitch(received);
    if (received.kind == Received::Kind::None)
        co_return;
    if (received.outcome != Outcome::Complete) {
        // Half an answer says nothing reliable about the card: none of it is decoded.
        panel_.showStatus(incompleteText(received.outcome, kAnswerTimeoutText));
    } else if (received.kind == Received::Kind::Write) {
        panel_.showStatus(received.write.status);
    }
    // An incomplete read answer carries no decoded answer: nothing is shown or counted.
    if (received.kind == Received::Kind::Write)
        co_await onWriteAnswer(received);
    else
        co_await onReadAnswer(received.read);
    recorder_.hourly(counters_);
    // A record that stopped says why at once (a run that ended has told its record's end).
    if (run_)
        panel_.showRecordState(recorder_.recordState());
}

// The status line and the record take what went wrong before any answer; the record takes
// each glitch, a port that stays failed once. After Disconnect the ticks may still run on a
// closed line; that says nothing.
void Bench::noteGlitch(const Received& received) {
    if (received.strayDropped)
        recorder_.glitch(counters_.loops, Glitch::StrayBytes, "1 byte");
    if (received.kind == Received::Kind::Read && received.outcome != Outcome::Complete)
        recorder_.readLost(counters_.loops, received.outcome);
    const bool portFailed = received.lineFailed && received.kind == Received::Kind::None;
    if (portFailed && connected_) {
        panel_.showStatus(kPortErrorText);
        if (!portErrorNoted_)
            recorder_.glitch(counters_.loops, Glitch::PortError);
    }
    portErrorNoted_ = received.lineFailed;
}

// An incomplete answer counts nothing and leaves the write failed; the run goes on as after
// a complete one.
Task<> Bench::onWriteAnswer(const Received& received) {
    writeFailed_ = true;
    if (received.outcome == Outcome::Complete) {
        countWrite(counters_, received.write.written);
        panel_.showCounters(counters_);
        if (received.write.written != 0)
            writeFailed_ = false;
        recorder_.writeAnswer(counters_.loops, received.write.written, received.write.status);
    } else {
        recorder_.writeLost(counters_.loops, received.outcome);
    }
    switch (run_->mode) {
    case Mode::WriteLoop:
        co_await continueWriteLoop();
        break;
    case Mode::SingleWrite:
        endSingleAction();
        break;
    case Mode::WriteReadLoop:
        co_await afterWriteInWriteReadLoop();
        break;
    case Mode::ReadLoop:
    case Mode::SingleRead:
        break; // a write answer in a read mode is counted and the run waits
    }
}

Task<> Bench::onReadAnswer(const ReadAnswer& answer) {
    if (answer.valid)
        showReadBack(answer);
    switch (run_->mode) {
    case Mode::ReadLoop:
        co_await continueReadLoop();
        break;
    case Mode::SingleRead:
        endSingleAction();
        break;
    case Mode::WriteReadLoop:
        co_await afterReadInWriteReadLoop();
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
    const bool writeReadLoop = run_->mode == Mode::WriteReadLoop;
    const Row row = writeReadLoop ? Row::ReadBack : Row::Data;
    for (int track = 1; track <= kTrackCount; ++track)
        panel_.setBoxText(row, track, "");
    for (const ReadSegment& segment : answer.segments) {
        countReadSegment(counters_, segment.track, segment.hasData, !writeReadLoop);
        panel_.showCounters(counters_);
        for (char c : segment.data)
            panel_.setBoxText(row, segment.track, panel_.boxText(row, segment.track) + c);
    }
    showVerdicts(recorder_.readAnswer(counters_.loops, answer));
}

void Bench::showVerdicts(const std::vector<TrackVerdict>& verdicts) {
    for (const TrackVerdict& v : verdicts) {
        const record::ReadBackCheck* check = v.check ? &*v.check : nullptr;
        panel_.showReadBackCheck(v.track, check, v.summary);
    }
}

// A ready wait that gives up (the status line says so) or a port that fails does not stop the
// tick: the remaining commands are sent, so an unattended loop survives a glitch of the reader.
Task<> Bench::awaitReady() {
    co_await link_.send(Command::ReadyCheck);
    const Outcome outcome = co_await link_.waitReady();
    if (outcome == Outcome::Complete)
        co_return;
    panel_.showStatus(incompleteText(outcome, kNotReadyText));
    recorder_.readyLost(counters_.loops, outcome);
}

void Bench::addLoop() {
    ++counters_.loops;
    panel_.showCounters(counters_);
}

Task<> Bench::continueWriteLoop() {
    data_.advanceTicked(writeFailed_);
    co_await awaitReady();
    co_await link_.send(Command::Abandon);
    co_await writeTracks();
    addLoop();
}

Task<> Bench::afterWriteInWriteReadLoop() {
    co_await link_.send(Command::Abandon);
    LoopCounts& left = run_->left;
    if (left.writes > 0) {
        --left.writes;
        // A loop without reads advances its data before its last write.
        if (left.writes == 0 && left.reads == 0)
            data_.advanceTicked(writeFailed_);
        co_await awaitReady();
        co_await writeTracks();
        co_return;
    }
    // The first read of a loop follows the last write without a ready check.
    left.reads = decrementCount16(left.reads);
    co_await sendReadRequest();
    panel_.showPhase(Phase::Reading);
}

Task<> Bench::afterReadInWriteReadLoop() {
    LoopCounts& left = run_->left;
    if (left.writes == 0 && left.reads == 0)
        data_.advanceTicked(writeFailed_); // the last read of the loop is in
    co_await awaitReady();
    co_await link_.send(Command::Abandon);
    if (left.reads > 0) {
        --left.reads;
        co_await sendReadRequest();
        co_return;
    }
    addLoop();
    left = panel_.loopCounts();
    left.writes = decrementCount16(left.writes);
    co_await writeTracks();
    panel_.showPhase(Phase::Writing);
}

Task<> Bench::continueReadLoop() {
    co_await link_.send(Command::Abandon);
    co_await link_.send(Command::Abandon);
    co_await sendReadRequest();
}

} // namespace dornal
