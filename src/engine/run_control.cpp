#include "run_control.h"

#include "counters.h"
#include "loop_counts.h"
#include "reader/commands.h"
#include "reader/firmware_query.h"
#include "reader/write_frame.h"
#include "run_window.h"
#include "shared/text_number.h"
#include "test_cycle.h"
#include "test_data.h"
#include "test_mode.h"

namespace dornal {
namespace {

void prepareSelectedTracks(Context& context, PatternSet set) {
    for (int track : kFrameTrackOrder)
        if (context.form.Check1[static_cast<std::size_t>(track - 1)].ticked())
            PrepareTrackData(context, track, set);
}

void startWriting(Context& context, PatternSet set) {
    prepareSelectedTracks(context, set);
    WriteTracks(context);
    context.form.Timer1.setEnabled(true);
}

void startReading(Context& context) {
    SendReadRequest(context);
    for (auto& box : context.form.Text1)
        box.setText(""); // the read data will stand here
}

void startWriteReadLoop(Context& context) {
    prepareSelectedTracks(context, PatternSet::Loop);
    loadLoopCounts(context);
    WriteTracks(context);
    SharedValues& shared = context.shared();
    shared.WritesLeft = decrementCount16(shared.WritesLeft);
    context.form.Timer1.setEnabled(true);
    showWritePhase(context.form);
}

// Sends the first command of the mode and arms Timer1; false when no mode is selected.
bool startMode(Context& context) {
    const auto mode = selectedMode(context.form);
    if (!mode)
        return false;
    switch (*mode) {
    case TestMode::WriteLoop:
        startWriting(context, PatternSet::Loop);
        break;
    case TestMode::SingleWrite:
        startWriting(context, PatternSet::Single);
        break;
    case TestMode::ReadLoop:
    case TestMode::SingleRead:
        startReading(context);
        break;
    case TestMode::WriteReadLoop:
        startWriteReadLoop(context);
        break;
    }
    return true;
}

} // namespace

int trackMask(const Form1& form) {
    int mask = 0;
    for (int i = 0; i < 3; ++i)
        if (form.Check1[static_cast<std::size_t>(i)].ticked())
            mask |= 1 << i;
    return mask;
}

void StartAction(Context& context) {
    Form1& form = context.form;
    if (form.chkGetFirmwareVersion.value() == 1)
        QueryFirmwareVersion(context);
    if (trackMask(form) == 0) {
        context.alerts.messageBox(kSelectTrackMessage, kApplicationTitle);
    } else if (startMode(context)) {
        showRunning(form, true);
        setSettingsEnabled(form, false, ItripOptions::Included);
    }
    // The first write of a run was prepared from the totals the previous run left.
    form.zeroCounterDisplays();
}

void AbandonAction(Context& context) {
    Form1& form = context.form;
    form.Text3.setText("");
    Abandon(context.link);
    form.Timer1.setEnabled(false);
    // The loop that was cut short does not count.
    if (counterDigits(form.Label1[0].caption()) != "0")
        addToCounter(form.Label1[0], -1);
    showRunning(form, false);
    setSettingsEnabled(form, true, ItripOptions::Included);
    showIdleColours(form);
}

void ResetCounters(Context& context) {
    for (auto& label : context.form.Label1)
        label.setCaption("0");
    ResetReader(context.link);
}

void Command2_Click(Context& context, int index) {
    switch (index) {
    case 0:
        StartAction(context);
        break;
    case 1:
        AbandonAction(context);
        break;
    case 2:
        ResetCounters(context);
        break;
    default:
        break;
    }
}

} // namespace dornal
