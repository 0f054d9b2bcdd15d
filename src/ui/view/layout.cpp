#include "layout.h"

#include <array>

namespace dornal::view {
namespace {

using K = ControlKind;

// Label captions stand at Left 120, their values at Left 720, on the same line.
constexpr int kCaptionLeft = 120;
constexpr int kValueLeft = 720;
constexpr int kValueWidth = 735;
constexpr int kLabelHeight = 255;
constexpr int kTrackBoxLeft = 1560;
constexpr int kTrackBoxWidth = 7455;
constexpr int kTrackBoxHeight = 495;

constexpr std::array kLayout{
    // Connection area.
    ControlPlace{"Combo1", K::ComboBox, "", 120, 240, 1095, 315, 6,
                 [](WindowModel& w) -> Control& { return w.portList; }, "Port", ""},
    ControlPlace{"Combo2", K::ComboBox, "", 120, 720, 1095, 315, 7,
                 [](WindowModel& w) -> Control& { return w.rateList; }, "Line rate", ""},
    ControlPlace{"Command1(0)", K::PushButton, "", 1320, 240, 1215, 615, 8,
                 [](WindowModel& w) -> Control& { return w.connectButton; }},
    ControlPlace{"Command1(1)", K::PushButton, "", 1320, 960, 1215, 615, 9,
                 [](WindowModel& w) -> Control& { return w.disconnectButton; }},

    // "Action": the test mode and the repetition counts of the write/read loop.
    ControlPlace{"Frame1", K::Frame, "", 2640, 0, 2295, 2535, -1,
                 [](WindowModel& w) -> Control& { return w.actionFrame; }},
    ControlPlace{"Option1(0)", K::OptionButton, "Frame1", 120, 240, 1695, 255, 10,
                 [](WindowModel& w) -> Control& { return w.modeOptions[0]; }},
    ControlPlace{"Option1(1)", K::OptionButton, "Frame1", 120, 480, 1695, 255, 11,
                 [](WindowModel& w) -> Control& { return w.modeOptions[1]; }},
    ControlPlace{"Option1(2)", K::OptionButton, "Frame1", 120, 720, 1215, 255, 12,
                 [](WindowModel& w) -> Control& { return w.modeOptions[2]; }},
    ControlPlace{"Option1(3)", K::OptionButton, "Frame1", 120, 960, 1215, 255, 13,
                 [](WindowModel& w) -> Control& { return w.modeOptions[3]; }},
    ControlPlace{"Line1", K::Line, "Frame1", 120, 1320, 2040, 0, -1,
                 [](WindowModel& w) -> Control& { return w.modeSeparator; }},
    ControlPlace{"Option1(4)", K::OptionButton, "Frame1", 120, 1440, 1935, 255, 27,
                 [](WindowModel& w) -> Control& { return w.modeOptions[4]; }},
    ControlPlace{"Label7", K::Label, "Frame1", 120, 1800, 495, 255, -1,
                 [](WindowModel& w) -> Control& { return w.writesCaption; }},
    ControlPlace{"tx_WriteTimesPerLoop", K::TextLine, "Frame1", 600, 1800, 855, 285, 29,
                 [](WindowModel& w) -> Control& { return w.writesPerLoopBox; },
                 "Write times per loop", ""},
    ControlPlace{"Label8", K::Label, "Frame1", 1560, 1800, 495, 255, -1,
                 [](WindowModel& w) -> Control& { return w.writesUnit; }},
    ControlPlace{"Label9", K::Label, "Frame1", 120, 2160, 495, 255, -1,
                 [](WindowModel& w) -> Control& { return w.readsCaption; }},
    ControlPlace{"tx_ReadTimesPerLoop", K::TextLine, "Frame1", 600, 2160, 855, 285, 30,
                 [](WindowModel& w) -> Control& { return w.readsPerLoopBox; },
                 "Read times per loop", ""},
    ControlPlace{"Label10", K::Label, "Frame1", 1560, 2160, 495, 255, -1,
                 [](WindowModel& w) -> Control& { return w.readsUnit; }},

    // "Write Config".
    ControlPlace{"Frame2", K::Frame, "", 5040, 0, 2175, 1335, -1,
                 [](WindowModel& w) -> Control& { return w.writeConfigFrame; }},
    ControlPlace{"Option2(0)", K::OptionButton, "Frame2", 120, 240, 1575, 255, 17,
                 [](WindowModel& w) -> Control& { return w.writeConfigOptions[0]; }},
    ControlPlace{"Option2(1)", K::OptionButton, "Frame2", 120, 600, 1455, 255, 18,
                 [](WindowModel& w) -> Control& { return w.writeConfigOptions[1]; }},
    ControlPlace{"Option2(2)", K::OptionButton, "Frame2", 120, 840, 1695, 375, 19,
                 [](WindowModel& w) -> Control& { return w.writeConfigOptions[2]; }},

    // "Itrip Set".
    ControlPlace{"Frame4", K::Frame, "", 5040, 1320, 2175, 855, -1,
                 [](WindowModel& w) -> Control& { return w.itripFrame; }},
    ControlPlace{"Option4(0)", K::OptionButton, "Frame4", 120, 240, 615, 495, 32,
                 [](WindowModel& w) -> Control& { return w.itripOptions[0]; }},
    ControlPlace{"Option4(1)", K::OptionButton, "Frame4", 720, 240, 615, 495, 34,
                 [](WindowModel& w) -> Control& { return w.itripOptions[1]; }},
    ControlPlace{"Option4(2)", K::OptionButton, "Frame4", 1320, 240, 615, 495, 33,
                 [](WindowModel& w) -> Control& { return w.itripOptions[2]; }},

    // Run control and status.
    ControlPlace{"chkGetFirmwareVersion", K::CheckBox, "", 5040, 2160, 2175, 375, 31,
                 [](WindowModel& w) -> Control& { return w.firmwareCheck; }},
    ControlPlace{"Command2(0)", K::PushButton, "", 7320, 120, 1695, 735, 14,
                 [](WindowModel& w) -> Control& { return w.startButton; }},
    ControlPlace{"Command2(1)", K::PushButton, "", 7320, 960, 1695, 735, 16,
                 [](WindowModel& w) -> Control& { return w.abandonButton; }},
    ControlPlace{"Command2(2)", K::PushButton, "", 7320, 1800, 1695, 735, 15,
                 [](WindowModel& w) -> Control& { return w.resetButton; }},
    ControlPlace{"Label2", K::Label, "", kCaptionLeft, 1800, 975, kLabelHeight, -1,
                 [](WindowModel& w) -> Control& { return w.loopCaption; }},
    ControlPlace{"Label1(0)", K::Label, "", 1200, 1800, 855, kLabelHeight, -1,
                 [](WindowModel& w) -> Control& { return w.loopCountLabel; }, "", "Loop times"},
    // With its ":".
    ControlPlace{"Label4", K::Label, "", kCaptionLeft, 2160, 555, kLabelHeight, -1,
                 [](WindowModel& w) -> Control& { return w.statusCaption; }},
    // The status takes the room up to the "Action" frame and down to the track 1 block, so
    // that its longest texts, which wrap onto a second line, are seen whole.
    ControlPlace{"Label5", K::Label, "", kValueLeft, 2160, 1860, 465, -1,
                 [](WindowModel& w) -> Control& { return w.statusLabel; }, "", "Status"},

    // Track 1.
    ControlPlace{"Check1(0)", K::CheckBox, "", 120, 2640, 855, 375, 3,
                 [](WindowModel& w) -> Control& { return w.trackChecks[0]; }},
    ControlPlace{"Text1(0)", K::TextMultiLine, "", kTrackBoxLeft, 2640, kTrackBoxWidth,
                 kTrackBoxHeight, 0, [](WindowModel& w) -> Control& { return w.trackBoxes[0]; },
                 "Track 1 data", ""},
    ControlPlace{"Text2(0)", K::TextMultiLine, "", kTrackBoxLeft, 3120, kTrackBoxWidth,
                 kTrackBoxHeight, 24, [](WindowModel& w) -> Control& { return w.readBackBoxes[0]; },
                 "Track 1 read back", ""},
    ControlPlace{"Label13", K::Label, "", kCaptionLeft, 3000, 495, kLabelHeight, -1,
                 [](WindowModel& w) -> Control& { return w.totalCaptions[0]; }},
    ControlPlace{"Label1(1)", K::Label, "", kValueLeft, 3000, kValueWidth, kLabelHeight, -1,
                 [](WindowModel& w) -> Control& { return w.totalLabels[0]; }, "", "Track 1 total"},
    ControlPlace{"Label12", K::Label, "", kCaptionLeft, 3240, 495, kLabelHeight, -1,
                 [](WindowModel& w) -> Control& { return w.writeCaptions[0]; }},
    ControlPlace{"lb_T1WriteCounter", K::Label, "", kValueLeft, 3240, kValueWidth, kLabelHeight, -1,
                 [](WindowModel& w) -> Control& { return w.writeCountLabels[0]; }, "",
                 "Track 1 writes"},
    ControlPlace{"Label11", K::Label, "", kCaptionLeft, 3480, 495, kLabelHeight, -1,
                 [](WindowModel& w) -> Control& { return w.readCaptions[0]; }},
    ControlPlace{"lb_T1ReadCounter", K::Label, "", kValueLeft, 3480, kValueWidth, kLabelHeight, -1,
                 [](WindowModel& w) -> Control& { return w.readCountLabels[0]; }, "",
                 "Track 1 reads"},
    ControlPlace{"Label14", K::Label, "", kCaptionLeft, 3720, 615, kLabelHeight, -1,
                 [](WindowModel& w) -> Control& { return w.lengthCaptions[0]; }},
    ControlPlace{"Label3(0)", K::Label, "", kValueLeft, 3720, kValueWidth, kLabelHeight, -1,
                 [](WindowModel& w) -> Control& { return w.lengthLabels[0]; }, "",
                 "Track 1 length"},

    // "Track2&&3 Char Set", between the track 1 and track 2 blocks.
    ControlPlace{"Frame3", K::Frame, "", 1560, 3840, 6735, 615, -1,
                 [](WindowModel& w) -> Control& { return w.charSetFrame; }},
    ControlPlace{"Option3(3)", K::OptionButton, "Frame3", 120, 240, 1335, 255, 23,
                 [](WindowModel& w) -> Control& { return w.charSetOptions[3]; }},
    ControlPlace{"Option3(0)", K::OptionButton, "Frame3", 1680, 240, 1455, 255, 20,
                 [](WindowModel& w) -> Control& { return w.charSetOptions[0]; }},
    ControlPlace{"Option3(1)", K::OptionButton, "Frame3", 3360, 240, 1455, 255, 21,
                 [](WindowModel& w) -> Control& { return w.charSetOptions[1]; }},
    ControlPlace{"Option3(2)", K::OptionButton, "Frame3", 5040, 240, 1455, 255, 22,
                 [](WindowModel& w) -> Control& { return w.charSetOptions[2]; }},

    // Track 2.
    ControlPlace{"Check1(1)", K::CheckBox, "", 120, 4440, 975, 375, 4,
                 [](WindowModel& w) -> Control& { return w.trackChecks[1]; }},
    ControlPlace{"Text1(1)", K::TextMultiLine, "", kTrackBoxLeft, 4440, kTrackBoxWidth,
                 kTrackBoxHeight, 1, [](WindowModel& w) -> Control& { return w.trackBoxes[1]; },
                 "Track 2 data", ""},
    ControlPlace{"Text2(1)", K::TextMultiLine, "", kTrackBoxLeft, 4920, kTrackBoxWidth,
                 kTrackBoxHeight, 25, [](WindowModel& w) -> Control& { return w.readBackBoxes[1]; },
                 "Track 2 read back", ""},
    ControlPlace{"Label16", K::Label, "", kCaptionLeft, 4800, 495, kLabelHeight, -1,
                 [](WindowModel& w) -> Control& { return w.totalCaptions[1]; }},
    ControlPlace{"Label1(2)", K::Label, "", kValueLeft, 4800, kValueWidth, kLabelHeight, -1,
                 [](WindowModel& w) -> Control& { return w.totalLabels[1]; }, "", "Track 2 total"},
    ControlPlace{"Label19", K::Label, "", kCaptionLeft, 5040, 495, kLabelHeight, -1,
                 [](WindowModel& w) -> Control& { return w.writeCaptions[1]; }},
    ControlPlace{"lb_T2WriteCounter", K::Label, "", kValueLeft, 5040, kValueWidth, kLabelHeight, -1,
                 [](WindowModel& w) -> Control& { return w.writeCountLabels[1]; }, "",
                 "Track 2 writes"},
    ControlPlace{"Label20", K::Label, "", kCaptionLeft, 5280, 495, kLabelHeight, -1,
                 [](WindowModel& w) -> Control& { return w.readCaptions[1]; }},
    ControlPlace{"lb_T2ReadCounter", K::Label, "", kValueLeft, 5280, kValueWidth, kLabelHeight, -1,
                 [](WindowModel& w) -> Control& { return w.readCountLabels[1]; }, "",
                 "Track 2 reads"},
    ControlPlace{"Label15", K::Label, "", kCaptionLeft, 5520, 615, kLabelHeight, -1,
                 [](WindowModel& w) -> Control& { return w.lengthCaptions[1]; }},
    ControlPlace{"Label3(1)", K::Label, "", kValueLeft, 5520, kValueWidth, kLabelHeight, -1,
                 [](WindowModel& w) -> Control& { return w.lengthLabels[1]; }, "",
                 "Track 2 length"},

    // Track 3.
    ControlPlace{"Check1(2)", K::CheckBox, "", 120, 5880, 975, 375, 5,
                 [](WindowModel& w) -> Control& { return w.trackChecks[2]; }},
    ControlPlace{"Text1(2)", K::TextMultiLine, "", kTrackBoxLeft, 5880, kTrackBoxWidth,
                 kTrackBoxHeight, 2, [](WindowModel& w) -> Control& { return w.trackBoxes[2]; },
                 "Track 3 data", ""},
    ControlPlace{"Text2(2)", K::TextMultiLine, "", kTrackBoxLeft, 6360, kTrackBoxWidth,
                 kTrackBoxHeight, 26, [](WindowModel& w) -> Control& { return w.readBackBoxes[2]; },
                 "Track 3 read back", ""},
    ControlPlace{"Label18", K::Label, "", kCaptionLeft, 6240, 495, kLabelHeight, -1,
                 [](WindowModel& w) -> Control& { return w.totalCaptions[2]; }},
    ControlPlace{"Label1(3)", K::Label, "", kValueLeft, 6240, kValueWidth, kLabelHeight, -1,
                 [](WindowModel& w) -> Control& { return w.totalLabels[2]; }, "", "Track 3 total"},
    ControlPlace{"Label21", K::Label, "", kCaptionLeft, 6480, 495, kLabelHeight, -1,
                 [](WindowModel& w) -> Control& { return w.writeCaptions[2]; }},
    ControlPlace{"lb_T3WriteCounter", K::Label, "", kValueLeft, 6480, kValueWidth, kLabelHeight, -1,
                 [](WindowModel& w) -> Control& { return w.writeCountLabels[2]; }, "",
                 "Track 3 writes"},
    ControlPlace{"Label22", K::Label, "", kCaptionLeft, 6720, 495, kLabelHeight, -1,
                 [](WindowModel& w) -> Control& { return w.readCaptions[2]; }},
    ControlPlace{"lb_T3ReadCounter", K::Label, "", kValueLeft, 6720, kValueWidth, kLabelHeight, -1,
                 [](WindowModel& w) -> Control& { return w.readCountLabels[2]; }, "",
                 "Track 3 reads"},
    ControlPlace{"Label17", K::Label, "", kCaptionLeft, 6960, 615, kLabelHeight, -1,
                 [](WindowModel& w) -> Control& { return w.lengthCaptions[2]; }},
    ControlPlace{"Label3(2)", K::Label, "", kValueLeft, 6960, kValueWidth, kLabelHeight, -1,
                 [](WindowModel& w) -> Control& { return w.lengthLabels[2]; }, "",
                 "Track 3 length"},

    // Firmware version.
    ControlPlace{"Label6", K::Label, "", 120, 7320, 1335, 255, -1,
                 [](WindowModel& w) -> Control& { return w.firmwareCaption; }},
    ControlPlace{"Text3", K::TextMultiLine, "", 1560, 7200, 7455, 525, 28,
                 [](WindowModel& w) -> Control& { return w.firmwareBox; }, "Firmware version", ""},
};

// Start hands the focus to Abandon and the end of a run hands it back, so that a second Space
// stops the run it started instead of pressing the button next in the tab order. Connect and
// Disconnect do the same, rather than leave the focus on whatever the new state unlocks first.
constexpr std::array kHandOvers{
    FocusHandOver{"Command1(0)", "Command1(1)"},
    FocusHandOver{"Command1(1)", "Command1(0)"},
    FocusHandOver{"Command2(0)", "Command2(1)"},
    FocusHandOver{"Command2(1)", "Command2(0)"},
};

} // namespace

std::span<const ControlPlace> windowLayout() {
    return kLayout;
}

std::span<const FocusHandOver> focusHandOvers() {
    return kHandOvers;
}

} // namespace dornal::view
