#pragma once

#include "ui/model/form1.h"

namespace dornal {

// Whether unlocking the settings gives back the Itrip options too. After a single action they
// stay locked until the next run is abandoned.
enum class ItripOptions { Included, Left };

// Locks (false) or unlocks (true) the settings a run depends on, in the window's order:
// Check1, Option1, Option2, the per-loop counts, Option3, and Option4 when included.
void setSettingsEnabled(Form1& form, bool enabled, ItripOptions itrip);

// "&Start Action" usable and "&Abandon Action" not while idle, the other way round while running.
void showRunning(Form1& form, bool running);

// Back colours: the boxes being written in a write/read loop are light yellow.
void showWritePhase(Form1& form);
void showReadPhase(Form1& form);
void showIdleColours(Form1& form);

} // namespace dornal
