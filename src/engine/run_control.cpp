#include "bench.h"

#include "shared/protocol.h"
#include "shared/text_number.h"
#include "status_texts.h"

namespace dornal {

Task<> Bench::start() {
    // Whatever waits from before (the rest of an abandoned run's answer) is no answer of this
    // run: the first answer of the run is taken at the first tick it is there.
    link_.discardInput();
    if (panel_.firmwareWanted()) {
        const FirmwareReply reply = co_await link_.queryFirmware();
        if (reply.outcome == Outcome::Complete)
            panel_.showFirmware(reply.version);
        else
            panel_.showFirmware(incompleteText(reply.outcome, kAnswerTimeoutText));
    }
    if (panel_.tickedTracks() == 0) {
        panel_.tellOperator(kSelectTrackMessage);
    } else if (co_await startMode()) {
        panel_.showRecordState(recorder_.recordState());
        panel_.showRunning(true);
        panel_.lockSettings(true, true);
    }
    // The first write of a run was prepared from the totals the previous run left.
    zeroCounters();
}

Task<> Bench::abandon() {
    panel_.showFirmware("");
    co_await link_.send(Command::Abandon);
    if (counters_.loops > 0) {
        --counters_.loops;
        panel_.showCounters(counters_);
    }
    endRun(true, RunEnd::Abandoned);
}

// The answer a run awaits may already be waiting for its tick: during a run the reset goes out
// without a drain, which would take that answer and leave the run waiting for ever.
Task<> Bench::resetCounters() {
    counters_.loops = 0;
    counters_.totals = {};
    panel_.showCounters(counters_);
    if (running())
        recorder_.reset(counters_.loops);
    co_await link_.send(Command::ResetReader, running() ? Drain::Skip : Drain::First);
}

// Sends the first command of the mode and starts the ticks; false when no mode is selected.
Task<bool> Bench::startMode() {
    const auto mode = panel_.mode();
    if (!mode)
        co_return false;
    beginRecord(*mode);
    switch (*mode) {
    case Mode::WriteLoop:
        co_await startWriting(*mode, PatternSet::Loop);
        break;
    case Mode::SingleWrite:
        co_await startWriting(*mode, PatternSet::Single);
        break;
    case Mode::ReadLoop:
    case Mode::SingleRead:
        co_await startReading(*mode);
        break;
    case Mode::WriteReadLoop:
        co_await startWriteReadLoop();
        break;
    }
    co_return true;
}

Task<> Bench::startWriting(Mode mode, PatternSet set) {
    run_ = Run{mode, {}, false};
    data_.prepareTicked(set, writeFailed_);
    co_await writeTracks();
    panel_.setTicking(true);
}

Task<> Bench::startReading(Mode mode) {
    run_ = Run{mode, {}, false};
    co_await sendReadRequest();
    for (int track = 1; track <= kTrackCount; ++track)
        panel_.setBoxText(Row::Data, track, ""); // the read data will stand here
}

Task<> Bench::startWriteReadLoop() {
    run_ = Run{Mode::WriteReadLoop, panel_.loopCounts(), false};
    data_.prepareTicked(PatternSet::Loop, writeFailed_);
    co_await writeTracks();
    run_->left.writes = decrementCount16(run_->left.writes);
    panel_.setTicking(true);
    panel_.showPhase(Phase::Writing);
}

// The record and the read-back check begin with the run, before its first command. The
// counts per loop are those the run starts with.
void Bench::beginRecord(Mode mode) {
    RunSettings settings;
    settings.port = port_;
    if (deviceOf)
        settings.device = deviceOf(port_);
    settings.rate = baudRate_.value_or(protocol::kDefaultBaudRate);
    settings.mode = mode;
    settings.writeConfig = panel_.writeConfig();
    settings.charSet = panel_.charSet();
    settings.itrip = panel_.itrip();
    settings.tracks = panel_.tickedTracks();
    settings.perLoop = panel_.loopCounts();
    recorder_.begin(settings);
    portErrorNoted_ = false;
    for (int track = 1; track <= kTrackCount; ++track)
        panel_.showReadBackCheck(track, nullptr, "");
}

void Bench::zeroCounters() {
    counters_ = {};
    panel_.showCounters(counters_);
    panel_.clearLengths();
}

// The run is over: the ticks stop and the settings it locked are free again (the write
// strength only when itripToo), and no box stays marked as being written or read. Its record
// ends with how it ended.
void Bench::endRun(bool itripToo, RunEnd how) {
    recorder_.end(how, counters_);
    panel_.showRecordState(recorder_.recordState());
    run_.reset();
    panel_.setTicking(false);
    panel_.showRunning(false);
    panel_.lockSettings(false, itripToo);
    if (itripToo)
        panel_.showPhase(Phase::Idle);
}

// The data go out as the boxes hold them now; what the operator types while the frame waits
// for its drains goes with the next write.
Task<> Bench::writeTracks() {
    TrackTexts tracks;
    for (int track = 1; track <= kTrackCount; ++track)
        if (holds(panel_.tickedTracks(), track))
            tracks[trackIndex(track)] = panel_.boxText(Row::Data, track);
    if (run_)
        run_->awaitingRead = false;
    recorder_.sent(tracks);
    co_await link_.writeTracks(panel_.itrip(), std::move(tracks));
}

Task<> Bench::sendReadRequest() {
    const auto command = readCommandFor(panel_.tickedTracks());
    if (run_)
        run_->awaitingRead = true;
    if (command)
        co_await link_.send(*command);
    panel_.setTicking(true);
}

// A single write or read has had its answer: the bench is idle again, the write strength stays
// locked until the next run is abandoned, and the boxes keep their colours.
void Bench::endSingleAction() {
    const bool wrote = run_ && run_->mode == Mode::SingleWrite;
    endRun(false, wrote ? RunEnd::SingleWriteDone : RunEnd::SingleReadDone);
}

} // namespace dornal
