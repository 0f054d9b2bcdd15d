#include "bench.h"

#include "shared/text_number.h"
#include "status_texts.h"

namespace dornal {

void Bench::start() {
    if (panel_.firmwareWanted()) {
        const FirmwareReply reply = link_.queryFirmware();
        panel_.showFirmware(reply.outcome == Outcome::Complete    ? reply.version
                            : reply.outcome == Outcome::PortError ? kPortErrorText
                                                                  : kAnswerTimeoutText);
    }
    if (panel_.tickedTracks() == 0) {
        panel_.tellOperator(kSelectTrackMessage);
    } else if (startMode()) {
        panel_.showRunning(true);
        panel_.lockSettings(true, true);
    }
    // The first write of a run was prepared from the totals the previous run left.
    zeroCounters();
}

void Bench::abandon() {
    panel_.showFirmware("");
    link_.send(Command::Abandon);
    panel_.setTicking(false);
    if (counters_.loops > 0) {
        --counters_.loops;
        panel_.showCounters(counters_);
    }
    panel_.showRunning(false);
    panel_.lockSettings(false, true);
    panel_.showPhase(Phase::Idle);
}

void Bench::resetCounters() {
    counters_.loops = 0;
    counters_.totals = {};
    panel_.showCounters(counters_);
    link_.send(Command::ResetReader);
}

// Sends the first command of the mode and starts the ticks; false when no mode is selected.
bool Bench::startMode() {
    const auto mode = panel_.mode();
    if (!mode)
        return false;
    switch (*mode) {
    case Mode::WriteLoop:
        startWriting(PatternSet::Loop);
        break;
    case Mode::SingleWrite:
        startWriting(PatternSet::Single);
        break;
    case Mode::ReadLoop:
    case Mode::SingleRead:
        startReading();
        break;
    case Mode::WriteReadLoop:
        startWriteReadLoop();
        break;
    }
    return true;
}

void Bench::startWriting(PatternSet set) {
    data_.prepareTicked(set, writeFailed_);
    writeTracks();
    panel_.setTicking(true);
}

void Bench::startReading() {
    sendReadRequest();
    for (int track = 1; track <= kTrackCount; ++track)
        panel_.setBoxText(Row::Data, track, ""); // the read data will stand here
}

void Bench::startWriteReadLoop() {
    data_.prepareTicked(PatternSet::Loop, writeFailed_);
    loadLoopCounts();
    writeTracks();
    left_.writes = decrementCount16(left_.writes);
    panel_.setTicking(true);
    panel_.showPhase(Phase::Writing);
}

void Bench::zeroCounters() {
    counters_ = {};
    panel_.showCounters(counters_);
    panel_.clearLengths();
}

void Bench::loadLoopCounts() {
    left_ = panel_.loopCounts();
}

void Bench::writeTracks() {
    TrackTexts tracks;
    for (int track = 1; track <= kTrackCount; ++track)
        if (holds(panel_.tickedTracks(), track))
            tracks[trackIndex(track)] = panel_.boxText(Row::Data, track);
    link_.writeTracks(panel_.itrip(), tracks);
}

void Bench::sendReadRequest() {
    if (const auto command = readCommandFor(panel_.tickedTracks()))
        link_.send(*command);
    panel_.setTicking(true);
}

void Bench::endSingleAction() {
    panel_.showRunning(false);
    panel_.setTicking(false);
    panel_.lockSettings(false, false);
}

} // namespace dornal
