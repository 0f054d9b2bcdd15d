#include "test_cycle.h"

#include "counters.h"
#include "loop_counts.h"
#include "reader/answer_reception.h"
#include "reader/commands.h"
#include "reader/write_frame.h"
#include "run_control.h"
#include "run_window.h"
#include "shared/text_number.h"
#include "test_data.h"
#include "test_mode.h"

namespace dornal {
namespace {

// A ready wait that gives up (Label5 says so) or a port that fails does not stop the tick:
// the remaining commands are sent, so an unattended loop survives a glitch of the reader.
void awaitReady(Context& context) {
    ReadyCheck(context.link);
    (void)WaitReady(context);
}

void addLoop(Form1& form) {
    addToCounter(form.Label1[0]);
}

void continueWriteLoop(Context& context) {
    AdvanceSelectedTracks(context);
    awaitReady(context);
    Abandon(context.link);
    WriteTracks(context);
    addLoop(context.form);
}

void afterWriteInWriteReadLoop(Context& context) {
    SharedValues& shared = context.shared();
    Abandon(context.link);
    if (shared.WritesLeft > 0) {
        --shared.WritesLeft;
        // A loop without reads advances its data before its last write.
        if (shared.WritesLeft == 0 && shared.ReadsLeft == 0)
            AdvanceSelectedTracks(context);
        awaitReady(context);
        WriteTracks(context);
        return;
    }
    // The first read of a loop follows the last write without a ready check.
    shared.ReadsLeft = decrementCount16(shared.ReadsLeft);
    SendReadRequest(context);
    shared.LastCmdRead = kTrue;
    showReadPhase(context.form);
}

void afterReadInWriteReadLoop(Context& context) {
    SharedValues& shared = context.shared();
    if (shared.WritesLeft == 0 && shared.ReadsLeft == 0)
        AdvanceSelectedTracks(context); // the last read of the loop is in
    awaitReady(context);
    Abandon(context.link);
    if (shared.ReadsLeft > 0) {
        --shared.ReadsLeft;
        SendReadRequest(context);
        return;
    }
    addLoop(context.form);
    loadLoopCounts(context);
    shared.LastCmdRead = kFalse;
    shared.WritesLeft = decrementCount16(shared.WritesLeft);
    WriteTracks(context);
    showWritePhase(context.form);
}

void continueReadLoop(Context& context) {
    Abandon(context.link);
    Abandon(context.link);
    SendReadRequest(context);
}

// An incomplete answer counts nothing and leaves the write failed; the run goes on as after
// a complete one.
void onWriteAnswer(Context& context, const Answer& answer) {
    SharedValues& shared = context.shared();
    shared.WriteFailed = kTrue;
    if (answer.outcome == WaitOutcome::Complete) {
        CountWriteAnswer(context.form, answer.writtenTracks);
        if (answer.writtenTracks != 0)
            shared.WriteFailed = kFalse;
    }
    const auto mode = selectedMode(context.form);
    if (!mode)
        return;
    switch (*mode) {
    case TestMode::WriteLoop:
        continueWriteLoop(context);
        break;
    case TestMode::SingleWrite:
        EndSingleAction(context);
        break;
    case TestMode::WriteReadLoop:
        afterWriteInWriteReadLoop(context);
        break;
    case TestMode::ReadLoop:
    case TestMode::SingleRead:
        break; // a write answer in a read mode is counted and the run waits
    }
}

// The answer reception has already decoded and counted the read data.
void onReadAnswer(Context& context) {
    const auto mode = selectedMode(context.form);
    if (!mode)
        return;
    switch (*mode) {
    case TestMode::ReadLoop:
        continueReadLoop(context);
        break;
    case TestMode::SingleRead:
        EndSingleAction(context);
        break;
    case TestMode::WriteReadLoop:
        afterReadInWriteReadLoop(context);
        break;
    case TestMode::WriteLoop:
    case TestMode::SingleWrite:
        break; // a read answer in a write mode is counted and the run waits
    }
}

} // namespace

void Timer1_Timer(Context& context) {
    Form1& form = context.form;
    const Answer answer = ReceiveAnswer(
        context, [&form](int track, bool hasData) { CountReadSegment(form, track, hasData); });
    if (answer.kind == AnswerKind::Write)
        onWriteAnswer(context, answer);
    else if (answer.kind == AnswerKind::Read)
        onReadAnswer(context);
}

void SendReadRequest(Context& context) {
    if (const auto command = readCommandFor(trackMask(context.form)))
        send(context.link, *command);
    context.form.Timer1.setEnabled(true);
}

void AdvanceSelectedTracks(Context& context) {
    for (int track : kFrameTrackOrder)
        if (context.form.Check1[static_cast<std::size_t>(track - 1)].ticked())
            AdvanceTrackData(context, track);
}

void EndSingleAction(Context& context) {
    Form1& form = context.form;
    showRunning(form, false);
    form.Timer1.setEnabled(false);
    setSettingsEnabled(form, true, ItripOptions::Left);
}

} // namespace dornal
