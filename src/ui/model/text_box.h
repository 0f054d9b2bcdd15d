#pragma once

#include "control.h"

#include <string>
#include <string_view>
#include <vector>

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
    // The operator's edit: the text and the caret as the edit left them. onEdit may first
    // take characters out; what the operator inserted is then held to the maximum length, as
    // a full box refuses a typed character and cuts a paste to what fits; then the caret is
    // set and the text stored as by setText. An edit held by the gate is made, when it counts,
    // on the text the box holds then.
    void edit(std::string_view text, int caret);

    int maxLength() const { return maxLength_; }
    bool multiLine() const { return multiLine_; }

    int caret() const { return caret_; }
    void setCaret(int position);

    Color backColor() const { return backColor_; }
    void setBackColor(Color color);

    int height() const { return height_; }
    void setHeight(int twips);

    // Stretches of the text shown in red: characters found wrong. A new text clears them.
    struct Mark {
        int start = 0;
        int length = 0;
        bool operator==(const Mark&) const = default;
    };
    const std::vector<Mark>& marks() const { return marks_; }
    void setMarks(std::vector<Mark> marks);

    std::function<void()> onChange;
    // Raised with the operator's edit before it is held to the maximum length.
    std::function<void(std::string& text, int& caret)> onEdit;

private:
    void applyEdit(std::string_view text, int caret);

    std::string text_;
    // The text as the operator sees it: the box's own, with the edits the gate holds made on it.
    std::string operatorText_;
    int maxLength_;
    int caret_ = 0;
    Color backColor_ = kColorWindowBackground;
    std::vector<Mark> marks_;
    int height_;
    bool multiLine_;
};

// An edit held to a maximum length (0: no limit): the characters inserted before `caret`
// that do not fit are dropped, and the caret stays behind the last one kept.
struct FittedEdit {
    std::string text;
    int caret;
};
FittedEdit fitToMaxLength(std::string_view before, std::string_view after, int caret,
                          int maxLength);

// An edit that turned `before` into `after` (the caret behind it), made again on `current`,
// the text the box holds by the time the edit counts: the same characters removed and
// inserted at the same place, counted from the end when the edit was made at the end.
FittedEdit replayEdit(std::string_view before, std::string_view after, int caret,
                      std::string_view current);

} // namespace dornal
