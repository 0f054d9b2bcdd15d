#include "ui/model/combo_box.h"
#include "ui/model/option_group.h"
#include "ui/model/simple_controls.h"
#include "ui/model/text_box.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace dornal {
namespace {

// Counts the changes controls report: the view redraws a control only when told.
struct Heard {
    int count = 0;
    explicit Heard(std::initializer_list<Control*> controls) {
        for (Control* control : controls)
            control->addListener([this] { ++count; });
    }
};

TEST(TextBox, CutsToItsMaximumRaisesOnChangeNestedAndKeepsTheCaretInside) {
    TextBox box{5, 495, true};
    Heard heard{&box};
    std::vector<std::string> seen;
    box.onChange = [&] {
        seen.push_back(box.text());
        if (box.text().back() == 'x') // shortens the text again, one level deeper
            box.setText(box.text().substr(0, box.text().size() - 1));
    };
    box.edit("abxxxyz", 7);
    EXPECT_EQ(seen, (std::vector<std::string>{"abxxx", "abxx", "abx", "ab"}));
    EXPECT_EQ(box.caret(), 2);
    box.edit("a", -3);
    EXPECT_EQ(box.caret(), 0);
    box.setCaret(9);
    EXPECT_EQ(box.caret(), 1);
    box.setBackColor(kColorLightYellow);
    box.setHeight(975);
    EXPECT_EQ(heard.count, 8); // five texts, the caret, the colour, the height
}

TEST(OptionGroupAndCheckBox, RaiseTheirClickOnEverySelectionAndEveryValueChange) {
    OptionGroup group{"a", "b", "c"};
    CheckBox check{"Track &1"};
    Heard heard{&group[0], &group[1], &group[2], &check};
    std::string clicks;
    group.onClick = [&](int index) { clicks += std::to_string(index); };
    check.onClick = [&] { clicks += check.ticked() ? "t" : "v" + std::to_string(check.value()); };
    group[2].select();
    group[0].setValue(true);
    group[0].select();
    group[0].setValue(false); // clearing raises nothing
    EXPECT_EQ(group.selectedIndex(), -1);
    group[1].select();
    EXPECT_EQ(group.selectedIndex(), 1);
    for (int value : {1, 1, 2, 0})
        check.setValue(value);
    EXPECT_EQ(clicks, "2001tv2v0"); // the indexes, then ticked, grayed and unchecked
    group.setEnabled(false);
    EXPECT_EQ(heard.count, 12); // six stores and clears, three values, three buttons disabled
}

TEST(ComboBox, TypedTextSelectsTheEqualEntryAndAPositionOutsideTheListNone) {
    ComboBox combo;
    Label label;
    Heard heard{&combo, &label};
    combo.addItem("1200");
    combo.addItem("9600");
    combo.edit("9600");
    EXPECT_EQ(combo.listIndex(), 1);
    combo.setListIndex(2);
    EXPECT_EQ(combo.listIndex(), -1);
    EXPECT_EQ(combo.text(), "9600");
    label.setCaption("x");
    label.setVisible(false);
    EXPECT_EQ(heard.count, 6); // two entries, the typed text, the position, caption, visibility
}

} // namespace
} // namespace dornal
