#pragma once

#include "control.h"

#include <deque>
#include <string_view>

namespace dornal {

class OptionGroup;

// One option button of a group. Selecting it clears the others of its group and raises the
// group's click handler with its index, whether the operator or the program selects it.
class OptionButton : public Control {
public:
    OptionButton(std::string caption, OptionGroup& group, int index)
        : caption_(std::move(caption)), group_(group), index_(index) {}
    const std::string& caption() const { return caption_; }
    int index() const { return index_; }
    OptionGroup& group() { return group_; }
    bool value() const { return value_; }
    void select();
    // The operator's click: selects the button unless it is disabled by the time it counts.
    void click();
    // Setting true selects; setting false only clears this button and raises nothing.
    void setValue(bool value);

private:
    friend class OptionGroup;
    void store(bool value) {
        value_ = value;
        changed();
    }
    std::string caption_;
    OptionGroup& group_;
    int index_;
    bool value_ = false;
};

// An array of option buttons sharing one frame and one click handler.
class OptionGroup {
public:
    explicit OptionGroup(std::initializer_list<std::string_view> captions);
    OptionButton& operator[](int index) { return buttons_.at(static_cast<std::size_t>(index)); }
    const OptionButton& operator[](int index) const {
        return buttons_.at(static_cast<std::size_t>(index));
    }
    int size() const { return static_cast<int>(buttons_.size()); }
    void setGate(InputGate* gate);
    // The first selected index in index order, -1 when none is selected.
    int selectedIndex() const;
    void setEnabled(bool enabled);

    std::function<void(int index)> onClick;

private:
    friend class OptionButton;
    void selected(int index);
    std::deque<OptionButton> buttons_;
};

} // namespace dornal
