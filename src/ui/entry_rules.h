#pragma once

#include "model/alerts.h"
#include "model/window_model.h"

namespace dornal {

// A track box's change rule: removes a refused last character (nested, one beep each), then
// shows the length below the box.
void onTrackTextChange(WindowModel& window, Alerts& alerts, int track);
// Unticking a track empties its data.
void onTrackCheckClick(WindowModel& window, int track);

} // namespace dornal
