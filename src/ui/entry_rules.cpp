#include "entry_rules.h"

#include <string>

namespace dornal {

void onTrackTextChange(WindowModel& window, Alerts& alerts, int track) {
    TextBox& box = window.trackBox(track);
    const std::string text = box.text();
    const auto n = static_cast<int>(text.size());
    if (n > 0 && !trackCarries(track, text.back())) {
        // Raises this handler again for the shorter text, so a run of refused characters
        // is stripped one nested run (and one beep) per character.
        box.setText(std::string_view(text).substr(0, static_cast<std::size_t>(n - 1)));
        box.setCaret(n - 1);
        alerts.beep();
    }
    window.lengthLabel(track).setCaption(std::to_string(box.text().size()));
}

void onTrackCheckClick(WindowModel& window, int track) {
    if (window.trackCheck(track).value() == 0)
        window.trackBox(track).setText("");
}

} // namespace dornal
