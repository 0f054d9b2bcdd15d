#pragma once

#include "reader/fake_serial_port.h"
#include "shared/shared_values.h"
#include "ui/form1_events.h"
#include "ui/model/alerts.h"
#include "ui/model/form1.h"

#include <string>
#include <vector>

namespace dornal::testing {

// Counts beeps and records the message boxes, answering each at once.
class RecordingAlerts : public Alerts {
public:
    void beep() override { ++beeps; }
    void messageBox(std::string_view text, std::string_view title) override {
        messages.emplace_back(text);
        titles.emplace_back(title);
    }
    int beeps = 0;
    std::vector<std::string> messages;
    std::vector<std::string> titles;
};

// A loaded window bound to a fake serial layer, with its own shared values.
struct Bench {
    Form1 form;
    RecordingAlerts alerts;
    FakeSerialPort port;
    SharedValues shared;
    Form1Events events{form, alerts, port, shared};

    Bench() { events.load(); }
    Context& context() { return events.context(); }
    // Clicks "&Connect" and forgets what loading and connecting sent and called.
    void connect() {
        form.Command1[0].click();
        port.clearRecord();
        alerts.beeps = 0;
    }
};

} // namespace dornal::testing
