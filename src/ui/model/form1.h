#pragma once

#include "combo_box.h"
#include "option_group.h"
#include "simple_controls.h"
#include "text_box.h"

#include <array>

namespace dornal {

// The maximum lengths of the track boxes, which are properties of the boxes themselves.
inline constexpr std::array<int, 3> kTrackMaxLength{76, 37, 107};

// Heights of the track boxes in twips: half height shows the read-back boxes below them.
inline constexpr int kTrackBoxHalfHeight = 495;
inline constexpr int kTrackBoxFullHeight = 975;

inline constexpr int kTimer1IntervalMs = 500;

inline constexpr const char* kWindowCaption = "Dornal Test 1.10";
// The application's title, which message boxes without a caption of their own show.
inline constexpr const char* kApplicationTitle = "Dornal Test";

// The operator window: every control by its name and, for control arrays, its index
// (track i + 1 is index i; Label1(0) is the loop count, Label1(1..3) the track totals).
// The controls start with their design-time properties; Form_Load sets the rest.
struct Form1 {
    Form1();

    ComboBox Combo1{"Combo1"};
    ComboBox Combo2{"Combo2"};
    std::array<PushButton, 2> Command1{PushButton{"Command1(0)", "&Connect"},
                                       PushButton{"Command1(1)", "&Disconnect"}};

    Label Frame1{"Frame1", "Action"};
    OptionGroup Option1{"Option1",
                        {"Auto &Write Loop", "Auto &Read Loop", "Singal Writ&e", "Sin&gal Read",
                         "Auto Write/Read &Loop"}};
    Control Line1{"Line1"};
    Label Label7{"Label7", "Write"};
    TextBox tx_WriteTimesPerLoop{"tx_WriteTimesPerLoop", 0, 285, false};
    Label Label8{"Label8", "Times"};
    Label Label9{"Label9", "Read"};
    TextBox tx_ReadTimesPerLoop{"tx_ReadTimesPerLoop", 0, 285, false};
    Label Label10{"Label10", "Times"};

    Label Frame2{"Frame2", "Write Config"};
    OptionGroup Option2{"Option2", {"&Not Chage Data", "Add &Test  Char", "Add Serie N&umber"}};

    Label Frame4{"Frame4", "Itrip Set"};
    OptionGroup Option4{"Option4", {"1/3", "2/3", "3/3"}};

    CheckBox chkGetFirmwareVersion{"chkGetFirmwareVersion", "Get &Firmware Version"};
    std::array<PushButton, 3> Command2{PushButton{"Command2(0)", "&Start Action"},
                                       PushButton{"Command2(1)", "&Abandon Action"},
                                       PushButton{"Command2(2)", "&Reset Counter"}};
    Label Label2{"Label2", "Loop Times:"};
    std::array<Label, 4> Label1{Label{"Label1(0)", "0"}, Label{"Label1(1)", "0"},
                                Label{"Label1(2)", "0"}, Label{"Label1(3)", "0"}};
    Label Label4{"Label4", "Status:"};
    Label Label5{"Label5", ""};
    Timer Timer1{"Timer1", kTimer1IntervalMs};

    std::array<CheckBox, 3> Check1{CheckBox{"Check1(0)", "Track &1"},
                                   CheckBox{"Check1(1)", "Track &2"},
                                   CheckBox{"Check1(2)", "Track &3"}};
    std::array<TextBox, 3> Text1{
        TextBox{"Text1(0)", kTrackMaxLength[0], kTrackBoxHalfHeight, true},
        TextBox{"Text1(1)", kTrackMaxLength[1], kTrackBoxHalfHeight, true},
        TextBox{"Text1(2)", kTrackMaxLength[2], kTrackBoxHalfHeight, true}};
    std::array<TextBox, 3> Text2{TextBox{"Text2(0)", 0, kTrackBoxHalfHeight, true},
                                 TextBox{"Text2(1)", 0, kTrackBoxHalfHeight, true},
                                 TextBox{"Text2(2)", 0, kTrackBoxHalfHeight, true}};
    std::array<Label, 3> Label3{Label{"Label3(0)", "0"}, Label{"Label3(1)", "0"},
                                Label{"Label3(2)", "0"}};

    // Captions of the track blocks, track 1, 2, 3 in turn.
    Label Label13{"Label13", "Total:"}, Label16{"Label16", "Total:"}, Label18{"Label18", "Total:"};
    Label Label12{"Label12", "Write:"}, Label19{"Label19", "Write:"}, Label21{"Label21", "Write:"};
    Label Label11{"Label11", "Read:"}, Label20{"Label20", "Read:"}, Label22{"Label22", "Read:"};
    Label Label14{"Label14", "Length:"}, Label15{"Label15", "Length:"},
        Label17{"Label17", "Length:"};
    Label lb_T1WriteCounter{"lb_T1WriteCounter", "0"};
    Label lb_T1ReadCounter{"lb_T1ReadCounter", "0"};
    Label lb_T2WriteCounter{"lb_T2WriteCounter", "0"};
    Label lb_T2ReadCounter{"lb_T2ReadCounter", "0"};
    Label lb_T3WriteCounter{"lb_T3WriteCounter", "0"};
    Label lb_T3ReadCounter{"lb_T3ReadCounter", "0"};

    Label Frame3{"Frame3", "Track2&&3 Char Set"};
    OptionGroup Option3{"Option3",
                        {"IBM Char Set1", "IBM Char Set2", "IBM Char Set3", "ISO Char Set"}};

    Label Label6{"Label6", "Firmware Version:"};
    TextBox Text3{"Text3", 0, 525, true};

    // Sets to "0" the loop count, the three totals, the six write and read counters and the
    // three lengths, in this order.
    void zeroCounterDisplays();

    // The write and read counters of track t (1..3).
    Label& writeCounter(int track);
    Label& readCounter(int track);
};

} // namespace dornal
