#pragma once

#include "engine/panel.h"
#include "model/alerts.h"
#include "model/window_model.h"

namespace dornal {

// The test engine's view of the window: it reads the operator's choices from the controls and
// shows the run's numbers and texts in them.
class WindowPanel : public Panel {
public:
    WindowPanel(WindowModel& window, Alerts& alerts) : window_(window), alerts_(alerts) {}

    std::optional<Mode> mode() const override;
    std::optional<WriteConfig> writeConfig() const override;
    std::optional<CharSet> charSet() const override;
    std::optional<Itrip> itrip() const override;
    TrackSet tickedTracks() const override;
    bool firmwareWanted() const override;
    LoopCounts loopCounts() override;

    std::string boxText(Row row, int track) const override;
    void setBoxText(Row row, int track, std::string_view text) override;

    void showCounters(const Counters& counters) override;
    void clearLengths() override;
    void showStatus(std::string_view text) override;
    void showFirmware(std::string_view text) override;
    void showRunning(bool running) override;
    void lockSettings(bool locked, bool itripToo) override;
    void showPhase(Phase phase) override;
    void setTicking(bool on) override;
    void tellOperator(std::string_view message) override;
    void showReadBackCheck(int track, const record::ReadBackCheck* check,
                           std::string_view summary) override;
    void showRecordState(std::string_view text) override;

private:
    TextBox& box(Row row, int track) const;

    WindowModel& window_;
    Alerts& alerts_;
};

} // namespace dornal
