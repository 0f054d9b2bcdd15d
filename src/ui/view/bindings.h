#pragma once

#include "ui/model/combo_box.h"
#include "ui/model/option_group.h"
#include "ui/model/simple_controls.h"
#include "ui/model/text_box.h"

#include <vector>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTimer;
class QWidget;

namespace dornal::view {

class DropDownBox;

// Each binding shows the model control's state in its widget at once and after every change
// of the control, and hands the operator's actions to the control. Showing a state never
// raises a handler of the model: the widget's signals are blocked meanwhile.

void bindControl(Control& control, QWidget* widget); // enabled and visible only
void bindLabel(Label& label, QLabel* widget);
void bindFrame(Label& frame, QGroupBox* widget);
void bindPushButton(PushButton& button, QPushButton* widget);
void bindCheckBox(CheckBox& box, QCheckBox* widget);
// One exclusive group, the widgets in index order.
void bindOptionGroup(OptionGroup& group, const std::vector<QRadioButton*>& widgets);
// The entries' descriptions are their tool tips and accessible descriptions; opening the list
// drops the control down first.
void bindComboBox(ComboBox& combo, DropDownBox* widget);
void bindTextBox(TextBox& box, QLineEdit* widget);
void bindTextBox(TextBox& box, QPlainTextEdit* widget);
// The timer runs while the control is enabled; each timeout is a tick of the control.
void bindTimer(Timer& timer, QTimer* qtimer);

} // namespace dornal::view
