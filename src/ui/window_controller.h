#pragma once

#include "engine/bench.h"
#include "model/alerts.h"
#include "model/window_model.h"
#include "reader/reader_link.h"
#include "window_panel.h"

namespace dornal {

inline constexpr const char* kOpenFailMessage = "Open COM Port Fail!";
inline constexpr int kOpenFailBeeps = 3;

// Binds every control event of the window to its handler: the connection and the window's own
// rules here, the run to the test engine.
class WindowController {
public:
    WindowController(WindowModel& window, Alerts& alerts, Line& line);
    WindowController(const WindowController&) = delete;
    WindowController& operator=(const WindowController&) = delete;

    // Fills the lists, sets the loaded state of every control and the defaults.
    void load();
    // Closing the window closes the port, connected or not.
    void unload();

    Bench& bench() { return bench_; }
    const Bench& bench() const { return bench_; }

private:
    void bind();
    void onConnect();
    void onDisconnect();
    void describePorts();
    void showConnected(bool connected);
    void onModeClick(int index);
    void onCharSetClick(int index);

    WindowModel& window_;
    Alerts& alerts_;
    Line& line_;
    ReaderLink link_;
    WindowPanel panel_;
    Bench bench_;
};

} // namespace dornal
