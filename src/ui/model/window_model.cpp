#include "window_model.h"

#include <initializer_list>

namespace dornal {

WindowModel::WindowModel() {
    for (Control* control : std::initializer_list<Control*>{
             &portList, &rateList, &connectButton, &disconnectButton, &writesPerLoopBox,
             &readsPerLoopBox, &firmwareCheck, &startButton, &abandonButton, &resetButton,
             &cycleTimer, &firmwareBox})
        control->setGate(&input);
    for (OptionGroup* group : {&modeOptions, &writeConfigOptions, &itripOptions, &charSetOptions})
        group->setGate(&input);
    for (int track = 1; track <= kTrackCount; ++track) {
        trackCheck(track).setGate(&input);
        trackBox(track).setGate(&input);
        readBackBox(track).setGate(&input);
    }
    writesPerLoopBox.setText("1");
    readsPerLoopBox.setText("1");
    firmwareBox.setBackColor(kColorScrollBars);
}

} // namespace dornal
