#pragma once

class QButtonGroup;
class QPushButton;

namespace dornal::view {

// Return and keypad Enter press a focused push button, as Space does. A held key presses it
// once: its repeats would press whatever button the press handed the focus to.
void pressWithEnter(QPushButton* button);

// The arrow keys move the selection within an exclusive group of option buttons: Down and Right
// to the next option in the order they were added to the group, Up and Left to the one before,
// round at either end, past the options that are disabled or hidden. The option is clicked, so it
// raises the same handler as a click, and takes the focus. (The window's groups are added in
// index order; round the ends, that is their reading order too: the character sets run ISO,
// IBM 1, 2, 3 from the left.)
void selectWithArrows(QButtonGroup* group);

} // namespace dornal::view
