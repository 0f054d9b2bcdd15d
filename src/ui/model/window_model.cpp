#include "window_model.h"

namespace dornal {

WindowModel::WindowModel() {
    writesPerLoopBox.setText("1");
    readsPerLoopBox.setText("1");
    firmwareBox.setBackColor(kColorScrollBars);
}

} // namespace dornal
