#pragma once

class QButtonGroup;
class QPushButton;

namespace dornal::view {

// Return and keypad Enter press a focused push button, as Space does. A held key presses it
// once: its repeats would press whatever button the press handed the focus to.
void pressWithEnter(QPushButton* button);

// The arrow keys move the selection within an exclusive group of option buttons: Down and Right
// to the next option in reading order (top to bottom, left to right), Up and Left to the one
// before, round at either end, past the options that are disabled or hidden. The option is
// clicked, so it raises the same handler as a click, and takes the focus.
void selectWithArrows(QButtonGroup* group);

} // namespace dornal::view
