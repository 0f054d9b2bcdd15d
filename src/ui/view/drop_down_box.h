#pragma once

#include <QComboBox>

namespace dornal::view {

// A combo box that says when its list is about to open, so that the list can be brought up to
// date before the operator sees it.
class DropDownBox : public QComboBox {
    Q_OBJECT

public:
    using QComboBox::QComboBox;
    void showPopup() override;

signals:
    void aboutToDropDown();
};

} // namespace dornal::view
