#include "combo_box.h"

namespace dornal {

void ComboBox::addItem(std::string_view item) {
    items_.emplace_back(item);
    changed();
}

void ComboBox::setListIndex(int index) {
    if (index < 0 || index >= static_cast<int>(items_.size()))
        index = -1;
    listIndex_ = index;
    if (index >= 0)
        text_ = items_[static_cast<std::size_t>(index)];
    changed();
}

void ComboBox::choose(int index) {
    operatorAction([this, index] { setListIndex(index); });
}

void ComboBox::edit(std::string_view text) {
    operatorAction([this, typed = std::string(text)] { store(typed); });
}

void ComboBox::store(const std::string& text) {
    text_.assign(text);
    listIndex_ = -1;
    for (std::size_t i = 0; i < items_.size(); ++i)
        if (items_[i] == text_)
            listIndex_ = static_cast<int>(i);
    changed();
}

std::string ComboBox::description(int index) const {
    if (index < 0 || index >= static_cast<int>(descriptions_.size()))
        return {};
    return descriptions_[static_cast<std::size_t>(index)];
}

void ComboBox::setDescriptions(std::vector<std::string> descriptions) {
    if (descriptions == descriptions_)
        return;
    descriptions_ = std::move(descriptions);
    changed();
}

} // namespace dornal
