#include "window_controller.h"

#include "entry_rules.h"
#include "port_texts.h"
#include "shared/protocol.h"

#include <exception>
#include <memory>
#include <string>
#include <utility>

namespace dornal {
namespace {

inline constexpr const char* kInternalFaultText = "Internal fault: ";

constexpr const char* kPorts[] = {"COM 1", "COM 2", "COM 3", "COM 4",
                                  "COM 5", "COM 6", "COM 7", "COM 8"};
constexpr int kDefaultPortPosition = 0;
constexpr int kDefaultRatePosition = 3; // 9600

// A fault inside a handler or a step is shown in the status line instead of ending the
// program.
void showFault(WindowModel& window, std::exception_ptr fault) {
    try {
        std::rethrow_exception(fault);
    } catch (const std::exception& e) {
        window.statusLabel.setCaption(std::string(kInternalFaultText) + e.what());
    } catch (...) {
        window.statusLabel.setCaption(std::string(kInternalFaultText) + "unknown");
    }
}

template <typename Handler> auto guarded(WindowModel& window, Handler handler) {
    return [&window, handler](auto&&... args) {
        try {
            handler(std::forward<decltype(args)>(args)...);
        } catch (...) {
            showFault(window, std::current_exception());
        }
    };
}

} // namespace

WindowController::WindowController(WindowModel& window, Alerts& alerts, Line& line)
    : window_(window), alerts_(alerts), line_(line), link_(line), panel_(window, alerts),
      bench_(panel_, link_) {
    window_.input.busy = [this] { return step_.running(); };
    bind();
}

// A step is started at once; one that comes while another runs (raised by the program, not the
// operator) takes its turn at the gate.
void WindowController::runStep(Task<> step) {
    if (step_.running()) {
        auto held = std::make_shared<Task<>>(std::move(step));
        window_.input.act([this, held] { runStep(std::move(*held)); });
        return;
    }
    step_.start(std::move(step), [this](std::exception_ptr fault) {
        if (fault)
            showFault(window_, fault);
        if (afterStep)
            afterStep();
        window_.input.release();
    });
}

void WindowController::bind() {
    WindowModel& w = window_;
    for (int track = 1; track <= kTrackCount; ++track) {
        w.trackBox(track).onEdit = guarded(w, [this, track](std::string& text, int& caret) {
            onTrackEdit(alerts_, track, text, caret);
        });
        w.trackBox(track).onChange =
            guarded(w, [this, track] { onTrackTextChange(window_, alerts_, track); });
        w.trackCheck(track).onClick =
            guarded(w, [this, track] { onTrackCheckClick(window_, track); });
    }
    w.modeOptions.onClick = guarded(w, [this](int index) { onModeClick(index); });
    w.charSetOptions.onClick = guarded(w, [this](int index) { runStep(charSetStep(index)); });
    w.itripOptions.onClick =
        guarded(w, [this](int index) { runStep(bench_.selectItrip(static_cast<Itrip>(index))); });
    w.portList.onDropDown = guarded(w, [this] { describePorts(); });
    w.connectButton.onClick = guarded(w, [this] { runStep(connectStep()); });
    w.disconnectButton.onClick = guarded(w, [this] { onDisconnect(); });
    w.startButton.onClick = guarded(w, [this] { runStep(bench_.start()); });
    w.abandonButton.onClick = guarded(w, [this] { runStep(bench_.abandon()); });
    w.resetButton.onClick = guarded(w, [this] { runStep(bench_.resetCounters()); });
    w.cycleTimer.onTick = guarded(w, [this] { runStep(bench_.tick()); });
}

void WindowController::load() {
    WindowModel& w = window_;
    for (const char* port : kPorts)
        w.portList.addItem(port);
    w.portList.setListIndex(kDefaultPortPosition);
    describePorts();
    for (int rate : protocol::kBaudRates)
        w.rateList.addItem(std::to_string(rate));
    w.rateList.setListIndex(kDefaultRatePosition);

    for (auto& check : w.trackChecks)
        check.setEnabled(false);
    w.modeOptions.setEnabled(false);
    w.writeConfigOptions.setEnabled(false);
    w.writesPerLoopBox.setEnabled(false);
    w.readsPerLoopBox.setEnabled(false);
    w.charSetOptions.setEnabled(false);
    for (auto& box : w.trackBoxes)
        box.setText("");
    for (auto& box : w.trackBoxes)
        box.setHeight(kTrackBoxFullHeight);
    for (auto& box : w.readBackBoxes)
        box.setText("");
    for (auto& box : w.readBackBoxes)
        box.setVisible(false);
    w.firmwareBox.setText("");
    w.connectButton.setEnabled(true);
    w.disconnectButton.setEnabled(false);
    w.startButton.setEnabled(false);
    w.abandonButton.setEnabled(false);
    w.resetButton.setEnabled(false);
    panel_.showCounters({});
    panel_.clearLengths();
    w.statusLabel.setCaption("");

    w.modeOptions[4].select(); // "Auto Write/Read Loop": the read-back boxes are shown
    w.writeConfigOptions[1].select();
    w.charSetOptions[3].select(); // its command goes nowhere: no port is open yet
    w.itripOptions[0].select();   // likewise
    for (auto& check : w.trackChecks)
        check.setValue(1);
}

void WindowController::unload() {
    step_.cancel();
    window_.input.clear();
    bench_.shutDown();
}

Task<> WindowController::connectStep() {
    const int port = window_.portList.listIndex() + 1;
    const int ratePosition = window_.rateList.listIndex();
    std::optional<int> rate;
    if (ratePosition >= 0 && ratePosition < static_cast<int>(protocol::kBaudRates.size()))
        rate = protocol::kBaudRates[static_cast<std::size_t>(ratePosition)];
    const std::optional<OpenFailure> failure = co_await bench_.connect(port, rate);
    if (failure) {
        for (int i = 0; i < kOpenFailBeeps; ++i)
            alerts_.beep();
        alerts_.messageBox(kOpenFailMessage, kApplicationTitle, openFailureText(port, *failure));
        co_return;
    }
    showConnected(true);
}

// Each entry says which device its port opens, as things stand when the list is opened.
void WindowController::describePorts() {
    std::vector<std::string> descriptions;
    for (std::size_t position = 0; position < std::size(kPorts); ++position)
        descriptions.push_back(
            portDescriptionText(line_.describePort(static_cast<int>(position) + 1)));
    window_.portList.setDescriptions(std::move(descriptions));
}

// A run ends with its port (the engine sees to it): nothing goes to the reader, and the
// counters and the firmware version stay.
void WindowController::onDisconnect() {
    bench_.disconnect();
    showConnected(false);
    for (auto& box : window_.trackBoxes)
        box.setText("");
}

// The test controls are usable only while the port is open; the rows are set in this order.
void WindowController::showConnected(bool connected) {
    WindowModel& w = window_;
    w.portList.setEnabled(!connected);
    w.rateList.setEnabled(!connected);
    w.connectButton.setEnabled(!connected);
    w.disconnectButton.setEnabled(connected);
    w.startButton.setEnabled(connected);
    w.abandonButton.setEnabled(false);
    w.resetButton.setEnabled(connected);
    w.modeOptions.setEnabled(connected);
    w.writeConfigOptions.setEnabled(connected);
    w.writesPerLoopBox.setEnabled(connected);
    w.readsPerLoopBox.setEnabled(connected);
    w.charSetOptions.setEnabled(connected);
    for (auto& check : w.trackChecks)
        check.setEnabled(connected);
    for (auto& box : w.trackBoxes)
        box.setEnabled(connected);
}

// The write config applies to the modes that write; the read-back boxes show only in the
// write/read loop, below half-height track boxes.
void WindowController::onModeClick(int index) {
    const auto mode = static_cast<Mode>(index);
    if (mode == Mode::WriteLoop || mode == Mode::SingleWrite || mode == Mode::WriteReadLoop)
        window_.writeConfigOptions.setEnabled(true);
    else if (mode == Mode::ReadLoop || mode == Mode::SingleRead)
        window_.writeConfigOptions.setEnabled(false);

    const bool readBack = mode == Mode::WriteReadLoop;
    for (int track = 1; track <= kTrackCount; ++track) {
        window_.trackBox(track).setHeight(readBack ? kTrackBoxHalfHeight : kTrackBoxFullHeight);
        window_.readBackBox(track).setVisible(readBack);
    }
}

// The reader takes the new set at once; the data typed for tracks 2 and 3 are emptied.
Task<> WindowController::charSetStep(int index) {
    co_await bench_.selectCharSet(static_cast<CharSet>(index));
    window_.trackBox(2).setText("");
    window_.trackBox(3).setText("");
}

} // namespace dornal
