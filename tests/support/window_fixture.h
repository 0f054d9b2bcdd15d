#pragma once

#include "reader/memory_line.h"
#include "ui/model/alerts.h"
#include "ui/model/window_model.h"
#include "ui/window_controller.h"

#include <string>
#include <vector>

namespace dornal::testing {

// Counts beeps and records the message boxes, answering each at once.
class RecordingAlerts : public Alerts {
public:
    void beep() override { ++beeps; }
    void messageBox(std::string_view text, std::string_view title,
                    std::string_view informative = {}) override {
        messages.emplace_back(text);
        titles.emplace_back(title);
        informatives.emplace_back(informative);
    }
    int beeps = 0;
    std::vector<std::string> messages;
    std::vector<std::string> titles;
    std::vector<std::string> informatives;
};

// A loaded window bound to a line: in memory, or the real one.
template <typename LineType> struct WindowOn {
    WindowModel window;
    RecordingAlerts alerts;
    LineType line;
    WindowController controller{window, alerts, line};

    WindowOn() { controller.load(); }
    ~WindowOn() { controller.unload(); }
    // Clicks "&Connect" and forgets what connecting sent and the beeps so far.
    void connect() {
        window.connectButton.click();
        line.clearRecord();
        alerts.beeps = 0;
    }
};

using TestWindow = WindowOn<MemoryLine>;

} // namespace dornal::testing
