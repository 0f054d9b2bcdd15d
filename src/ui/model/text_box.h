#pragma once

#include "control.h"

#include <string_view>

namespace dornal {

// A text box: a text of at most maxLength characters (0: no limit), a caret, a back colour
// and a height in twips. Every change of the text, by the operator or by the program, raises
// onChange at once, before the setting returns; the handler may set the text again (nested).
class TextBox : public Control {
public:
    TextBox(int maxLength, int height, bool multiLine);

    const std::string& text() const { return text_; }
    // Stores the text, cut to the maximum length without error, then raises onChange.
    void setText(std::string_view text);
    // The operator's edit: the caret the edit left, then the text.
    void edit(std::string_view text, int caret);

    int maxLength() const { return maxLength_; }
    bool multiLine() const { return multiLine_; }

    int caret() const { return caret_; }
    void setCaret(int position);

    Color backColor() const { return backColor_; }
    void setBackColor(Color color);

    int height() const { return height_; }
    void setHeight(int twips);

    std::function<void()> onChange;

private:
    std::string text_;
    int maxLength_;
    int caret_ = 0;
    Color backColor_ = kColorWindowBackground;
    int height_;
    bool multiLine_;
};

} // namespace dornal
