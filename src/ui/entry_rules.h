#pragma once

#include "model/alerts.h"
#include "model/form1.h"

namespace dornal {

// Whether a track (box index 0..2) can carry the character as the last of its data.
bool trackAccepts(int index, char c);

// Removes a refused last character (nested, one beep each), then shows the length in Label3.
void Text1_Change(Form1& form, Alerts& alerts, int index);
// Unticking a track empties its data.
void Check1_Click(Form1& form, int index);

} // namespace dornal
