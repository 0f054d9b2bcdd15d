#include "form1.h"

namespace dornal {

Form1::Form1() {
    tx_WriteTimesPerLoop.setText("1");
    tx_ReadTimesPerLoop.setText("1");
    Text3.setBackColor(kColorScrollBars);
}

void Form1::zeroCounterDisplays() {
    for (auto& label : Label1)
        label.setCaption("0");
    for (int track = 1; track <= 3; ++track) {
        writeCounter(track).setCaption("0");
        readCounter(track).setCaption("0");
    }
    for (auto& label : Label3)
        label.setCaption("0");
}

Label& Form1::writeCounter(int track) {
    switch (track) {
    case 1:
        return lb_T1WriteCounter;
    case 2:
        return lb_T2WriteCounter;
    default:
        return lb_T3WriteCounter;
    }
}

Label& Form1::readCounter(int track) {
    switch (track) {
    case 1:
        return lb_T1ReadCounter;
    case 2:
        return lb_T2ReadCounter;
    default:
        return lb_T3ReadCounter;
    }
}

} // namespace dornal
