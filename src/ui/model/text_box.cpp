#include "text_box.h"

#include <algorithm>
#include <utility>

namespace dornal {

TextBox::TextBox(int maxLength, int height, bool multiLine)
    : maxLength_(maxLength), height_(height), multiLine_(multiLine) {}

void TextBox::setText(std::string_view text) {
    if (maxLength_ > 0 && text.size() > static_cast<std::size_t>(maxLength_))
        text = text.substr(0, static_cast<std::size_t>(maxLength_));
    text_.assign(text);
    operatorText_ = text_;
    marks_.clear();
    caret_ = std::min(caret_, static_cast<int>(text_.size()));
    changed();
    if (onChange)
        onChange();
}

void TextBox::edit(std::string_view text, int caret) {
    std::string before = std::exchange(operatorText_, std::string(text));
    operatorAction([this, before = std::move(before), after = std::string(text), caret] {
        if (text_ == before) {
            applyEdit(after, caret);
            return;
        }
        const FittedEdit replayed = replayEdit(before, after, caret, text_);
        applyEdit(replayed.text, replayed.caret);
    });
}

void TextBox::applyEdit(std::string_view text, int caret) {
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

void TextBox::setMarks(std::vector<Mark> marks) {
    marks_ = std::move(marks);
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

namespace dornal {
namespace {

std::size_t commonHead(std::string_view a, std::string_view b) {
    std::size_t n = 0;
    while (n < a.size() && n < b.size() && a[n] == b[n])
        ++n;
    return n;
}

std::size_t commonTail(std::string_view a, std::string_view b) {
    std::size_t n = 0;
    while (n < a.size() && n < b.size() && a[a.size() - 1 - n] == b[b.size() - 1 - n])
        ++n;
    return n;
}

} // namespace

FittedEdit replayEdit(std::string_view before, std::string_view after, int caret,
                      std::string_view current) {
    const std::size_t head = commonHead(before, after);
    const std::size_t tail = commonTail(before.substr(head), after.substr(head));
    const std::size_t removed = before.size() - head - tail;
    const std::string_view inserted = after.substr(head, after.size() - head - tail);

    std::size_t at = std::min(head, current.size());
    if (tail == 0)
        at = current.size() - std::min(removed, current.size());
    const std::size_t cut = std::min(removed, current.size() - at);

    std::string text(current.substr(0, at));
    text.append(inserted);
    text.append(current.substr(at + cut));
    // The caret keeps its place relative to the inserted characters.
    const long shift = static_cast<long>(at) - static_cast<long>(head);
    const long moved = std::clamp<long>(caret + shift, 0, static_cast<long>(text.size()));
    return {text, static_cast<int>(moved)};
}

} // namespace dornal
