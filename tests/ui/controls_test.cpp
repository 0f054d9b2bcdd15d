#include "ui/model/combo_box.h"
#include "ui/model/option_group.h"
#include "ui/model/simple_controls.h"
#include "ui/model/text_box.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace dornal {
namespace {

TEST(TextBoxModel, CutsALongerTextToItsMaximumWithoutError) {
    TextBox box("Text1(1)", 37, 495, true);
    box.setText(std::string(100, '1'));
    EXPECT_EQ(box.text(), std::string(37, '1'));
    TextBox unlimited("Text3", 0, 525, true);
    unlimited.setText(std::string(5000, 'x'));
    EXPECT_EQ(unlimited.text().size(), 5000u);
}

TEST(TextBoxModel, RaisesItsChangeHandlerOnEveryChangeBeforeReturning) {
    TextBox box("Text1(0)", 76, 495, true);
    std::vector<std::string> seen;
    box.onChange = [&] { seen.push_back(box.text()); };
    box.setText("A");
    box.setText("A");
    box.setText("");
    EXPECT_EQ(seen, (std::vector<std::string>{"A", "A", ""}));
}

TEST(TextBoxModel, ChangeHandlerMayShortenTheTextAgainNested) {
    TextBox box("Text1(0)", 76, 495, true);
    std::vector<std::size_t> depths;
    int depth = 0;
    box.onChange = [&] {
        ++depth;
        depths.push_back(box.text().size());
        if (!box.text().empty() && box.text().back() == 'x')
            box.setText(box.text().substr(0, box.text().size() - 1));
        --depth;
    };
    box.setText("abxx");
    EXPECT_EQ(box.text(), "ab");
    EXPECT_EQ(depths, (std::vector<std::size_t>{4, 3, 2}));
}

TEST(TextBoxModel, OperatorEditKeepsTheCaretWithinTheText) {
    TextBox box("Text1(1)", 37, 495, true);
    box.edit("123", 3);
    EXPECT_EQ(box.caret(), 3);
    box.edit(std::string(50, '1'), 50);
    EXPECT_EQ(box.caret(), 37);
}

TEST(OptionGroupModel, SelectingOneClearsTheOthersAndRaisesTheClickWithItsIndex) {
    OptionGroup group("Option3", {"a", "b", "c", "d"});
    std::vector<int> clicks;
    group.onClick = [&](int index) { clicks.push_back(index); };
    group[3].select();
    group[1].setValue(true);
    EXPECT_EQ(clicks, (std::vector<int>{3, 1}));
    EXPECT_FALSE(group[3].value());
    EXPECT_TRUE(group[1].value());
    EXPECT_EQ(group.selectedIndex(), 1);
    EXPECT_EQ(group[2].name(), "Option3(2)");

    group[1].setValue(false); // clearing raises nothing
    EXPECT_EQ(clicks.size(), 2u);
    EXPECT_EQ(group.selectedIndex(), -1);
}

TEST(CheckBoxModel, EveryValueChangeRaisesTheClickAndOnlyValueOneIsTicked) {
    CheckBox box("Check1(0)", "Track &1");
    std::vector<int> values;
    box.onClick = [&] { values.push_back(box.value()); };
    box.setValue(1);
    box.setValue(1);
    box.setValue(2);
    box.setValue(0);
    EXPECT_EQ(values, (std::vector<int>{1, 2, 0}));
    box.setValue(2);
    EXPECT_FALSE(box.ticked());
}

TEST(PushButtonAndTimerModel, DisabledControlsRaiseNothing) {
    PushButton button("Command1(0)", "&Connect");
    Timer timer("Timer1", 500);
    int clicks = 0;
    int ticks = 0;
    button.onClick = [&] { ++clicks; };
    timer.onTick = [&] { ++ticks; };
    button.setEnabled(false);
    button.click();
    timer.tick(); // a timer starts disabled
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(ticks, 0);
    button.setEnabled(true);
    timer.setEnabled(true);
    button.click();
    timer.tick();
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(ticks, 1);
}

TEST(ComboBoxModel, TypedTextSelectsAnEqualEntryOrNone) {
    ComboBox combo("Combo2");
    for (const char* item : {"1200", "9600"})
        combo.addItem(item);
    combo.setListIndex(1);
    EXPECT_EQ(combo.text(), "9600");
    combo.edit("1200");
    EXPECT_EQ(combo.listIndex(), 0);
    combo.edit("4800");
    EXPECT_EQ(combo.listIndex(), -1);
    EXPECT_EQ(combo.text(), "4800");
    combo.setListIndex(9);
    EXPECT_EQ(combo.listIndex(), -1);
}

TEST(ControlModel, ListenersHearEveryStateChange) {
    Label label("Label5", "");
    int heard = 0;
    label.addListener([&] { ++heard; });
    label.setCaption("1B 72 70- 0");
    label.setEnabled(false);
    label.setVisible(false);
    EXPECT_EQ(heard, 3);
}

} // namespace
} // namespace dornal
