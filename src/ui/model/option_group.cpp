#include "option_group.h"

namespace dornal {

void OptionButton::select() {
    group_.selected(index_);
}

void OptionButton::click() {
    operatorAction([this] {
        if (enabled())
            select();
    });
}

void OptionButton::setValue(bool value) {
    if (value)
        select();
    else
        store(false);
}

OptionGroup::OptionGroup(std::initializer_list<std::string_view> captions) {
    int index = 0;
    for (std::string_view caption : captions) {
        buttons_.emplace_back(std::string(caption), *this, index);
        ++index;
    }
}

int OptionGroup::selectedIndex() const {
    for (const auto& button : buttons_)
        if (button.value())
            return button.index();
    return -1;
}

void OptionGroup::setGate(InputGate* gate) {
    for (auto& button : buttons_)
        button.setGate(gate);
}

void OptionGroup::setEnabled(bool enabled) {
    for (auto& button : buttons_)
        button.setEnabled(enabled);
}

void OptionGroup::selected(int index) {
    for (auto& button : buttons_)
        if (button.index() != index && button.value())
            button.store(false);
    buttons_.at(static_cast<std::size_t>(index)).store(true);
    if (onClick)
        onClick(index);
}

} // namespace dornal
