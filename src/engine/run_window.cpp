#include "run_window.h"

namespace dornal {
namespace {

void setBoxColours(Form1& form, Color written, Color readBack) {
    for (auto& box : form.Text1)
        box.setBackColor(written);
    for (auto& box : form.Text2)
        box.setBackColor(readBack);
}

} // namespace

void setSettingsEnabled(Form1& form, bool enabled, ItripOptions itrip) {
    for (auto& check : form.Check1)
        check.setEnabled(enabled);
    form.Option1.setEnabled(enabled);
    form.Option2.setEnabled(enabled);
    form.tx_WriteTimesPerLoop.setEnabled(enabled);
    form.tx_ReadTimesPerLoop.setEnabled(enabled);
    form.Option3.setEnabled(enabled);
    if (itrip == ItripOptions::Included)
        form.Option4.setEnabled(enabled);
}

void showRunning(Form1& form, bool running) {
    form.Command2[0].setEnabled(!running);
    form.Command2[1].setEnabled(running);
}

void showWritePhase(Form1& form) {
    setBoxColours(form, kColorLightYellow, kColorWindowBackground);
}

void showReadPhase(Form1& form) {
    setBoxColours(form, kColorWindowBackground, kColorLightYellow);
}

void showIdleColours(Form1& form) {
    setBoxColours(form, kColorWindowBackground, kColorWindowBackground);
}

} // namespace dornal
