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
    std::string edited(text);
    if (onEdit)
        onEdit(edited, caret);
    const FittedEdit fitted = fitToMaxLength(text_, edited, caret, maxLength_);
    caret_ = std::max(0, fitted.caret);
    setText(fitted.text);
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

FittedEdit fitToMaxLength(std::string_view before, std::string_view after, int caret,
                          int maxLength) {
    const std::size_t limit = static_cast<std::size_t>(std::max(maxLength, 0));
    const std::size_t end =
        std::clamp<std::size_t>(static_cast<std::size_t>(std::max(caret, 0)), 0, after.size());
    if (maxLength <= 0 || after.size() <= limit)
        return {std::string(after), static_cast<int>(end)};

    // What follows the caret is the untouched tail of the old text; what stands between the
    // common head and the caret is what the operator inserted.
    const std::size_t tail = after.size() - end;
    const std::size_t headLimit = std::min(end, before.size() >= tail ? before.size() - tail : 0);
    std::size_t head = 0;
    while (head < headLimit && before[head] == after[head])
        ++head;
    const std::size_t inserted = end - head;
    const std::size_t excess = after.size() - limit;
    const std::size_t kept = inserted > excess ? inserted - excess : 0;

    std::string text(after.substr(0, head + kept));
    text.append(after.substr(end));
    if (text.size() > limit) // the old text itself was too long: keep its head
        text.resize(limit);
    return {text, static_cast<int>(std::min(head + kept, text.size()))};
}

} // namespace dornal
