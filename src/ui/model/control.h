#pragma once

#include "input_gate.h"

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace dornal {

// Colours are blue-green-red integers; values with the top bit set name a system colour.
using Color = std::uint32_t;
inline constexpr Color kColorScrollBars = 0x80000000;
inline constexpr Color kColorWindowBackground = 0x80000005;
inline constexpr Color kColorLightYellow = 0x0080FFFF; // red 255, green 255, blue 128

// What every control of the window has: an enabled and a visible state, listeners (the view)
// told after every change of its state, and the gate the operator's actions on it pass.
class Control {
public:
    Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;
    virtual ~Control() = default;

    bool enabled() const { return enabled_; }
    void setEnabled(bool enabled) {
        enabled_ = enabled;
        changed();
    }
    bool visible() const { return visible_; }
    void setVisible(bool visible) {
        visible_ = visible;
        changed();
    }
    // What the control says of its state beyond what it shows: its tool tip, and what a
    // screen reader reads as its description. Empty: nothing beyond the window's own texts.
    const std::string& toolTip() const { return toolTip_; }
    void setToolTip(std::string text) {
        if (text == toolTip_)
            return;
        toolTip_ = std::move(text);
        changed();
    }

    void addListener(std::function<void()> listener) { listeners_.push_back(std::move(listener)); }

    // The gate the operator's actions on this control pass; none: they happen at once.
    void setGate(InputGate* gate) { gate_ = gate; }

protected:
    void operatorAction(std::function<void()> action) {
        if (gate_)
            gate_->act(std::move(action));
        else
            action();
    }
    InputGate* gate() const { return gate_; }

    void changed() {
        for (const auto& listener : listeners_)
            listener();
    }

private:
    bool enabled_ = true;
    bool visible_ = true;
    std::string toolTip_;
    std::vector<std::function<void()>> listeners_;
    InputGate* gate_ = nullptr;
};

} // namespace dornal
