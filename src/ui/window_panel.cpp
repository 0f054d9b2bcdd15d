#include "window_panel.h"

#include "shared/text_number.h"

#include <string>

namespace dornal {
namespace {

template <typename Choice> std::optional<Choice> chosen(const OptionGroup& group) {
    const int index = group.selectedIndex();
    if (index < 0)
        return std::nullopt;
    return static_cast<Choice>(index);
}

// A count beyond the 16-bit range runs at the nearest end of it, and its box is set to that
// value so the operator sees the count in use.
std::int16_t countFrom(TextBox& box) {
    const Count16 count = count16FromText(box.text());
    if (count.outOfRange)
        box.setText(std::to_string(count.value));
    return count.value;
}

void setColours(WindowModel& w, Color data, Color readBack) {
    for (auto& box : w.trackBoxes)
        box.setBackColor(data);
    for (auto& box : w.readBackBoxes)
        box.setBackColor(readBack);
}

} // namespace

std::optional<Mode> WindowPanel::mode() const {
    return chosen<Mode>(window_.modeOptions);
}

std::optional<WriteConfig> WindowPanel::writeConfig() const {
    return chosen<WriteConfig>(window_.writeConfigOptions);
}

std::optional<CharSet> WindowPanel::charSet() const {
    return chosen<CharSet>(window_.charSetOptions);
}

std::optional<Itrip> WindowPanel::itrip() const {
    return chosen<Itrip>(window_.itripOptions);
}

TrackSet WindowPanel::tickedTracks() const {
    TrackSet tracks = 0;
    for (int track = 1; track <= kTrackCount; ++track)
        if (window_.trackCheck(track).ticked())
            tracks |= trackBit(track);
    return tracks;
}

bool WindowPanel::firmwareWanted() const {
    return window_.firmwareCheck.value() == 1;
}

LoopCounts WindowPanel::loopCounts() {
    const std::int16_t writes = countFrom(window_.writesPerLoopBox);
    return {writes, countFrom(window_.readsPerLoopBox)};
}

TextBox& WindowPanel::box(Row row, int track) const {
    return row == Row::Data ? window_.trackBox(track) : window_.readBackBox(track);
}

std::string WindowPanel::boxText(Row row, int track) const {
    return box(row, track).text();
}

void WindowPanel::setBoxText(Row row, int track, std::string_view text) {
    box(row, track).setText(text);
}

void WindowPanel::showCounters(const Counters& counters) {
    window_.loopCountLabel.setCaption(std::to_string(counters.loops));
    for (int track = 1; track <= kTrackCount; ++track) {
        const std::size_t i = trackIndex(track);
        window_.totalLabels[i].setCaption(std::to_string(counters.totals[i]));
        window_.writeCountLabels[i].setCaption(std::to_string(counters.writes[i]));
        window_.readCountLabels[i].setCaption(std::to_string(counters.reads[i]));
    }
}

void WindowPanel::clearLengths() {
    for (auto& label : window_.lengthLabels)
        label.setCaption("0");
}

void WindowPanel::showStatus(std::string_view text) {
    window_.statusLabel.setCaption(text);
}

void WindowPanel::showFirmware(std::string_view text) {
    window_.firmwareBox.setText(text);
}

void WindowPanel::showRunning(bool running) {
    window_.startButton.setEnabled(!running);
    window_.abandonButton.setEnabled(running);
}

// In the window's order: the track checks, the mode, the write config, the per-loop counts,
// the character set, and the write strength when included.
void WindowPanel::lockSettings(bool locked, bool itripToo) {
    for (auto& check : window_.trackChecks)
        check.setEnabled(!locked);
    window_.modeOptions.setEnabled(!locked);
    window_.writeConfigOptions.setEnabled(!locked);
    window_.writesPerLoopBox.setEnabled(!locked);
    window_.readsPerLoopBox.setEnabled(!locked);
    window_.charSetOptions.setEnabled(!locked);
    if (itripToo)
        window_.itripOptions.setEnabled(!locked);
}

void WindowPanel::showPhase(Phase phase) {
    switch (phase) {
    case Phase::Idle:
        setColours(window_, kColorWindowBackground, kColorWindowBackground);
        break;
    case Phase::Writing:
        setColours(window_, kColorLightYellow, kColorWindowBackground);
        break;
    case Phase::Reading:
        setColours(window_, kColorWindowBackground, kColorLightYellow);
        break;
    }
}

void WindowPanel::setTicking(bool on) {
    window_.cycleTimer.setEnabled(on);
}

void WindowPanel::tellOperator(std::string_view message) {
    alerts_.messageBox(message, kApplicationTitle);
}

} // namespace dornal

namespace dornal {

// The characters that differ, one mark for each run of them, and the tail read beyond what was
// written; a tail missing from the read marks the last character read.
std::vector<TextBox::Mark> checkMarks(const record::ReadBackCheck& check, std::size_t shown) {
    std::vector<TextBox::Mark> marks;
    for (std::size_t at : check.differing) {
        const int position = static_cast<int>(at);
        if (!marks.empty() && marks.back().start + marks.back().length == position)
            ++marks.back().length;
        else
            marks.push_back({position, 1});
    }
    if (check.extraTail > 0)
        marks.push_back(
            {static_cast<int>(shown - check.extraTail), static_cast<int>(check.extraTail)});
    if (check.missingTail > 0 && shown > 0)
        marks.push_back({static_cast<int>(shown - 1), 1});
    return marks;
}

void WindowPanel::showReadBackCheck(int track, const record::ReadBackCheck* check,
                                    std::string_view summary) {
    TextBox& box = window_.readBackBox(track);
    if (check)
        box.setMarks(checkMarks(*check, box.text().size()));
    box.setToolTip(std::string(summary));
}

void WindowPanel::showRecordState(std::string_view text) {
    window_.statusLabel.setToolTip(std::string(text));
}

} // namespace dornal
