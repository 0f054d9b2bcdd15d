#pragma once

#include "engine/bench.h"
#include "model/alerts.h"
#include "model/window_model.h"
#include "reader/reader_link.h"
#include "reader/task.h"
#include "window_panel.h"

namespace dornal {

inline constexpr const char* kOpenFailMessage = "Open COM Port Fail!";
inline constexpr int kOpenFailBeeps = 3;

// Binds every control event of the window to its handler: the connection and the window's own
// rules here, the run to the test engine. What talks to the reader runs as a step; while a
// step waits for the reader, the window's input gate holds the operator's next actions.
class WindowController {
public:
    WindowController(WindowModel& window, Alerts& alerts, Line& line);
    WindowController(const WindowController&) = delete;
    WindowController& operator=(const WindowController&) = delete;

    // Fills the lists, sets the loaded state of every control and the defaults.
    void load();
    // Closing the window closes the port, connected or not; a step in progress ends where it
    // waits, and the actions held for after it are dropped.
    void unload();

    Bench& bench() { return bench_; }
    const Bench& bench() const { return bench_; }

    bool stepInProgress() const { return step_.running(); }
    // Told at the end of each step, before the held actions go on (for measurements).
    std::function<void()> afterStep;

private:
    void bind();
    void runStep(Task<> step);
    Task<> connectStep();
    Task<> charSetStep(int index);
    void onDisconnect();
    void describePorts();
    void showConnected(bool connected);
    void onModeClick(int index);

    WindowModel& window_;
    Alerts& alerts_;
    Line& line_;
    ReaderLink link_;
    WindowPanel panel_;
    Bench bench_;
    Job step_;
};

} // namespace dornal
