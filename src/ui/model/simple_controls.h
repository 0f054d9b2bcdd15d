#pragma once

#include "control.h"

#include <string_view>

namespace dornal {

// A label, or the caption of a frame.
class Label : public Control {
public:
    explicit Label(std::string caption = {}) : caption_(std::move(caption)) {}
    const std::string& caption() const { return caption_; }
    void setCaption(std::string_view caption) {
        caption_ = std::string(caption); // not assign(): GCC 12 at -O2 warns falsely (-Wrestrict)
        changed();
    }

private:
    std::string caption_;
};

// A push button; a click on a disabled button does nothing. Only the operator clicks, so a
// click passes the gate, and the button must still be enabled when it takes effect.
class PushButton : public Control {
public:
    explicit PushButton(std::string caption) : caption_(std::move(caption)) {}
    const std::string& caption() const { return caption_; }
    void click() {
        operatorAction([this] {
            if (enabled() && onClick)
                onClick();
        });
    }
    std::function<void()> onClick;

private:
    std::string caption_;
};

// A check box: 0 unchecked, 1 checked, 2 grayed. Every change of the value raises onClick.
class CheckBox : public Control {
public:
    explicit CheckBox(std::string caption) : caption_(std::move(caption)) {}
    const std::string& caption() const { return caption_; }
    int value() const { return value_; }
    bool ticked() const { return value_ == 1; }
    void setValue(int value) {
        if (value == value_)
            return;
        value_ = value;
        changed();
        if (onClick)
            onClick();
    }
    // The operator's click, leaving the box at `value`; nothing while the box is disabled.
    void click(int value) {
        operatorAction([this, value] {
            if (enabled())
                setValue(value);
        });
    }
    std::function<void()> onClick;

private:
    std::string caption_;
    int value_ = 0;
};

// The periodic timer; the view runs a real timer while it is enabled, tests call tick(). A
// tick due during a step runs right after it, if the timer still runs then.
class Timer : public Control {
public:
    explicit Timer(int intervalMs) : intervalMs_(intervalMs) { setEnabled(false); }
    int interval() const { return intervalMs_; }
    void tick() {
        auto run = [this] {
            if (enabled() && onTick)
                onTick();
        };
        if (gate())
            gate()->tick(run);
        else
            run();
    }
    std::function<void()> onTick;

private:
    int intervalMs_;
};

} // namespace dornal
