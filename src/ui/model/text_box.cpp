#include "text_box.h"

#include <algorithm>

namespace dornal {

TextBox::TextBox(int maxLength, int height, bool multiLine)
    : maxLength_(maxLength), height_(height), multiLine_(multiLine) {}

void TextBox::setText(std::string_view text) {
    if (maxLength_ > 0 && text.size() > static_cast<std::size_t>(maxLength_))
        text = text.substr(0, static_cast<std::size_t>(maxLength_));
    text_.assign(text);
    caret_ = std::min(caret_, static_cast<int>(text_.size()));
    changed();
    if (onChange)
        onChange();
}

void TextBox::edit(std::string_view text, int caret) {
    caret_ = std::max(0, caret);
    setText(text);
}

void TextBox::setCaret(int position) {
    caret_ = std::clamp(position, 0, static_cast<int>(text_.size()));
    changed();
}

void TextBox::setBackColor(Color color) {
    backColor_ = color;
    changed();
}

void TextBox::setHeight(int twips) {
    height_ = twips;
    changed();
}

} // namespace dornal
