#pragma once

#include "engine/modes.h"
#include "reader/qt/qt_line.h"
#include "sim_process.h"
#include "window_fixture.h"

#include <filesystem>
#include <string>
#include <vector>

namespace dornal::bench {

// The real line, also noting how many bytes each write to the device carried.
class CountingLine : public QtLine {
public:
    bool write(std::span<const std::uint8_t> bytes) override;
    const std::vector<int>& writeSizes() const { return writeSizes_; }

private:
    std::vector<int> writeSizes_;
};

// The window's logic on the real serial layer, connected through port 1 to a simulated
// reader started with `simOptions`, at `baudRate` chosen in the rate list, as the operator
// does it.
class SimSession {
public:
    SimSession(const std::vector<std::string>& simOptions, int baudRate);
    ~SimSession();
    SimSession(const SimSession&) = delete;
    SimSession& operator=(const SimSession&) = delete;

    // Ticks all three tracks, 1 write and 1 read per loop, picks `mode` and presses Start.
    void start(Mode mode);
    // Lets Qt's event loop run until the step in progress and the actions held after it are
    // done.
    void settle();
    long loops() const;
    // Stops the simulated reader; what it printed on its standard output.
    std::string stopReader();
    // The session's own folder (removed with it), for what the run leaves.
    std::filesystem::path home() const { return home_.root(); }

    WindowModel window;
    CountingLine line;

private:
    testing::PortLinkHome home_;
    testing::SimProcess sim_;
    testing::RecordingAlerts alerts_;

public:
    WindowController controller{window, alerts_, line};
};

} // namespace dornal::bench
