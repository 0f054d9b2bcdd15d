#pragma once

#include "model/alerts.h"
#include "model/window_model.h"

#include <string>

namespace dornal {

// Takes every character the track cannot carry out of the text, wherever it stands, and
// returns how many; the caret keeps its place among the characters that stay.
int removeRefused(int track, std::string& text, int& caret);

// The operator's edit of a track box, before it is held to the box's maximum length: every
// refused character goes, so none takes the room of a kept one, and the edit beeps once.
void onTrackEdit(Alerts& alerts, int track, std::string& text, int& caret);
// A track box's change rule: removes every refused character (one beep each), then shows the
// length below the box.
void onTrackTextChange(WindowModel& window, Alerts& alerts, int track);
// Unticking a track empties its data.
void onTrackCheckClick(WindowModel& window, int track);

} // namespace dornal
