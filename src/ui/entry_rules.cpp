#include "entry_rules.h"

#include <algorithm>

namespace dornal {

int removeRefused(int track, std::string& text, int& caret) {
    int removed = 0;
    int removedBeforeCaret = 0;
    std::string kept;
    kept.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (trackCarries(track, text[i])) {
            kept.push_back(text[i]);
            continue;
        }
        ++removed;
        if (static_cast<int>(i) < caret)
            ++removedBeforeCaret;
    }
    text = std::move(kept);
    caret = std::clamp(caret - removedBeforeCaret, 0, static_cast<int>(text.size()));
    return removed;
}

void onTrackEdit(Alerts& alerts, int track, std::string& text, int& caret) {
    // One beep per edit: a refused key sounds once, Enter (CR LF) too, and a long paste
    // does not set off a bell for each of its characters.
    if (removeRefused(track, text, caret) > 0)
        alerts.beep();
}

void onTrackTextChange(WindowModel& window, Alerts& alerts, int track) {
    TextBox& box = window.trackBox(track);
    std::string text = box.text();
    int caret = box.caret();
    const bool lastRefused = !text.empty() && !trackCarries(track, text.back());
    const int removed = removeRefused(track, text, caret);
    if (removed > 0) {
        // Raises this handler again, which finds nothing more to remove and shows the length.
        box.setText(text);
        // A refused last character (a read answer's, one character at a time) leaves the
        // caret at the end; elsewhere the caret keeps its place among the kept characters.
        box.setCaret(lastRefused ? static_cast<int>(text.size()) : caret);
        for (int i = 0; i < removed; ++i)
            alerts.beep();
    }
    window.lengthLabel(track).setCaption(std::to_string(box.text().size()));
}

void onTrackCheckClick(WindowModel& window, int track) {
    if (window.trackCheck(track).value() == 0)
        window.trackBox(track).setText("");
}

} // namespace dornal
