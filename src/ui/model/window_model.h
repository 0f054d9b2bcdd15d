#pragma once

#include "combo_box.h"
#include "input_gate.h"
#include "option_group.h"
#include "shared/timing.h"
#include "shared/tracks.h"
#include "simple_controls.h"
#include "text_box.h"

#include <array>

namespace dornal {

// Heights of the track boxes in twips: half height shows the read-back boxes below them.
inline constexpr int kTrackBoxHalfHeight = 495;
inline constexpr int kTrackBoxFullHeight = 975;

inline constexpr const char* kWindowCaption = "Dornal Test 1.10";
// The application's title, which message boxes without a caption of their own show.
inline constexpr const char* kApplicationTitle = "Dornal Test";

// The operator window's controls with their design-time properties; loading sets the rest.
// Per-track controls are reached by track number 1..3.
struct WindowModel {
    WindowModel();
    WindowModel(const WindowModel&) = delete;
    WindowModel& operator=(const WindowModel&) = delete;

    // What the operator does to the controls, and the ticks, pass here (see InputGate).
    InputGate input;

    // Connection.
    ComboBox portList;
    ComboBox rateList;
    PushButton connectButton{"&Connect"};
    PushButton disconnectButton{"&Disconnect"};

    // "Action": the test mode and the repetition counts of the write/read loop.
    Label actionFrame{"Action"};
    OptionGroup modeOptions{"Auto &Write Loop", "Auto &Read Loop", "Singal Writ&e", "Sin&gal Read",
                            "Auto Write/Read &Loop"};
    Control modeSeparator;
    Label writesCaption{"Write"};
    TextBox writesPerLoopBox{0, 285, false};
    Label writesUnit{"Times"};
    Label readsCaption{"Read"};
    TextBox readsPerLoopBox{0, 285, false};
    Label readsUnit{"Times"};

    Label writeConfigFrame{"Write Config"};
    OptionGroup writeConfigOptions{"&Not Chage Data", "Add &Test  Char", "Add Serie N&umber"};

    Label itripFrame{"Itrip Set"};
    OptionGroup itripOptions{"1/3", "2/3", "3/3"};

    CheckBox firmwareCheck{"Get &Firmware Version"};
    PushButton startButton{"&Start Action"};
    PushButton abandonButton{"&Abandon Action"};
    PushButton resetButton{"&Reset Counter"};
    Label loopCaption{"Loop Times:"};
    Label loopCountLabel{"0"};
    Label statusCaption{"Status:"};
    Label statusLabel;
    Timer cycleTimer{timing::kTickMs};

    // The track blocks.
    std::array<CheckBox, 3> trackChecks{CheckBox{"Track &1"}, CheckBox{"Track &2"},
                                        CheckBox{"Track &3"}};
    std::array<TextBox, 3> trackBoxes{TextBox{kTrackMaxLength[0], kTrackBoxHalfHeight, true},
                                      TextBox{kTrackMaxLength[1], kTrackBoxHalfHeight, true},
                                      TextBox{kTrackMaxLength[2], kTrackBoxHalfHeight, true}};
    std::array<TextBox, 3> readBackBoxes{TextBox{0, kTrackBoxHalfHeight, true},
                                         TextBox{0, kTrackBoxHalfHeight, true},
                                         TextBox{0, kTrackBoxHalfHeight, true}};
    std::array<Label, 3> totalCaptions{Label{"Total:"}, Label{"Total:"}, Label{"Total:"}};
    std::array<Label, 3> totalLabels{Label{"0"}, Label{"0"}, Label{"0"}};
    std::array<Label, 3> writeCaptions{Label{"Write:"}, Label{"Write:"}, Label{"Write:"}};
    std::array<Label, 3> writeCountLabels{Label{"0"}, Label{"0"}, Label{"0"}};
    std::array<Label, 3> readCaptions{Label{"Read:"}, Label{"Read:"}, Label{"Read:"}};
    std::array<Label, 3> readCountLabels{Label{"0"}, Label{"0"}, Label{"0"}};
    std::array<Label, 3> lengthCaptions{Label{"Length:"}, Label{"Length:"}, Label{"Length:"}};
    std::array<Label, 3> lengthLabels{Label{"0"}, Label{"0"}, Label{"0"}};

    Label charSetFrame{"Track2&&3 Char Set"};
    OptionGroup charSetOptions{"IBM Char Set1", "IBM Char Set2", "IBM Char Set3", "ISO Char Set"};

    Label firmwareCaption{"Firmware Version:"};
    TextBox firmwareBox{0, 525, true};

    TextBox& trackBox(int track) { return trackBoxes[trackIndex(track)]; }
    TextBox& readBackBox(int track) { return readBackBoxes[trackIndex(track)]; }
    CheckBox& trackCheck(int track) { return trackChecks[trackIndex(track)]; }
    Label& lengthLabel(int track) { return lengthLabels[trackIndex(track)]; }
};

} // namespace dornal
