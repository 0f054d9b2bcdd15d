#pragma once

#include "ui/model/window_model.h"

#include <span>
#include <string_view>

namespace dornal::view {

// The kinds of widget the window is made of.
enum class ControlKind {
    ComboBox, // editable drop-down list
    PushButton,
    Frame,        // captioned frame holding other controls
    OptionButton, // radio button, one exclusive group per option array
    CheckBox,
    TextLine,      // single-line text box
    TextMultiLine, // multi-line text box whose long lines wrap
    Label,
    Line, // horizontal line
};

// One control of the window: its object name (the original control name, with the index of
// a control array: "Text1(0)"), its kind, the frame it sits in (empty: the window itself), its
// place in twips relative to that frame, its place in the tab order (-1: none), the model
// control it shows, and what a screen reader says of it where its own text does not tell: a
// box's name, and what a value label's number is (its name stays the number it shows). The
// heights are the design-time ones; the program changes the track boxes' later.
struct ControlPlace {
    std::string_view name;
    ControlKind kind;
    std::string_view frame;
    int left;
    int top;
    int width;
    int height;
    int tabIndex;
    Control& (*control)(WindowModel& window);
    const char* accessibleName = "";
    const char* accessibleDescription = "";
};

// Every control of the window, frames before their children.
std::span<const ControlPlace> windowLayout();

// A control that, disabled while it holds the keyboard focus, hands the focus to another.
struct FocusHandOver {
    std::string_view from;
    std::string_view to;
};

// The focus hand-overs of the window, by object name.
std::span<const FocusHandOver> focusHandOvers();

// The window's client area in twips.
inline constexpr int kClientWidthTwips = 9105;
inline constexpr int kClientHeightTwips = 7845;

// 1440 twips per inch at 96 device-independent pixels per inch; Qt scales these pixels for
// high-dpi screens.
inline constexpr int kTwipsPerPixel = 15;

// Rounds to the nearest pixel (places are never negative). With whole twips and an odd
// divisor there is never an exact half, so no tie rule is needed.
constexpr int twipsToPixels(int twips) {
    return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel;
}

} // namespace dornal::view
