#include "drop_down_box.h"

namespace dornal::view {

void DropDownBox::showPopup() {
    emit aboutToDropDown();
    QComboBox::showPopup();
}

} // namespace dornal::view
