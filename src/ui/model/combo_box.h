#pragma once

#include "control.h"

#include <string_view>

namespace dornal {

// A drop-down list with an editable text part. The list position is -1 when no entry is
// selected; typing a text that equals an entry selects that entry, any other text none.
class ComboBox : public Control {
public:
    const std::vector<std::string>& items() const { return items_; }
    void addItem(std::string_view item);

    int listIndex() const { return listIndex_; }
    void setListIndex(int index);

    // The operator's choice of an entry.
    void choose(int index);

    const std::string& text() const { return text_; }
    // The operator's typing.
    void edit(std::string_view text);

    // What each entry stands for (UTF-8), by list position; empty where nothing is said.
    std::string description(int index) const;
    void setDescriptions(std::vector<std::string> descriptions);

    // The operator opens the list; onDropDown may bring the descriptions up to date first.
    void dropDown() {
        if (onDropDown)
            onDropDown();
    }
    std::function<void()> onDropDown;

private:
    void store(const std::string& text);

    std::vector<std::string> items_;
    std::vector<std::string> descriptions_;
    int listIndex_ = -1;
    std::string text_;
};

} // namespace dornal
