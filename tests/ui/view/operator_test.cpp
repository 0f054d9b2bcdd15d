// The operator's actions on the widgets reach the model's controls and their handlers.
#include "view_bench.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTest>

namespace dornal::testing {
namespace {

void click(QWidget* w) {
    QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(8, w->height() / 2));
}

TEST(Operator, ClicksRunTheHandlersOfTheControlsTheyReach) {
    ViewBench b;
    click(b.widget("Option1(1)"));
    EXPECT_EQ(b.window.modeOptions.selectedIndex(), 4) << "a disabled option cannot be selected";
    click(b.widget("Command1(0)"));
    EXPECT_TRUE(b.line.isOpen());
    EXPECT_FALSE(b.widget("Command1(0)")->isEnabled());
    b.line.clearRecord();

    click(b.widget("Option1(1)"));
    EXPECT_EQ(b.window.modeOptions.selectedIndex(), 1);
    EXPECT_FALSE(b.widget<QRadioButton>("Option1(4)")->isChecked());
    EXPECT_FALSE(b.widget("Option2(1)")->isEnabled());
    EXPECT_FALSE(b.widget("Text2(0)")->isVisible());
    EXPECT_EQ(b.widget("Text1(0)")->height(), 65);
    click(b.widget("Option1(4)"));
    EXPECT_TRUE(b.widget("Text2(0)")->isVisible());
    EXPECT_EQ(b.widget("Text1(0)")->height(), 33);

    b.window.trackBoxes[1].setText("123");
    click(b.widget("Option3(1)"));
    EXPECT_EQ(b.line.writes, (std::vector<std::string>{"\x1bO"})) << "sent once";
    EXPECT_TRUE(b.widget<QPlainTextEdit>("Text1(1)")->toPlainText().isEmpty());

    b.window.trackBoxes[2].setText("555");
    click(b.widget("Check1(2)"));
    EXPECT_EQ(b.window.trackChecks[2].value(), 0);
    EXPECT_TRUE(b.widget<QPlainTextEdit>("Text1(2)")->toPlainText().isEmpty());
    click(b.widget("chkGetFirmwareVersion"));
    EXPECT_EQ(b.window.firmwareCheck.value(), 1);
}

TEST(Operator, ChoosingAndTypingInTheListsAndTheLoopCounts) {
    ViewBench b;
    auto* ports = b.widget<QComboBox>("Combo1");
    QTest::keyClick(ports, Qt::Key_Down);
    EXPECT_EQ(b.window.portList.listIndex(), 1);
    EXPECT_EQ(b.window.portList.text(), "COM 2");
    ports->lineEdit()->selectAll();
    QTest::keyClicks(ports->lineEdit(), "COM 9");
    EXPECT_EQ(b.window.portList.text(), "COM 9");
    EXPECT_EQ(b.window.portList.listIndex(), -1);
    EXPECT_EQ(ports->currentText(), "COM 9") << "a text matching no entry stays as typed";
    QTest::keyClick(ports->lineEdit(), Qt::Key_Backspace);
    QTest::keyClicks(ports->lineEdit(), "4");
    EXPECT_EQ(b.window.portList.listIndex(), 3);
    EXPECT_EQ(ports->count(), 8) << "typing adds no entry";

    b.connect();
    auto* writes = b.widget<QLineEdit>("tx_WriteTimesPerLoop");
    writes->selectAll();
    QTest::keyClicks(writes, "12");
    EXPECT_EQ(b.window.writesPerLoopBox.text(), "12");
    EXPECT_EQ(b.window.writesPerLoopBox.caret(), 2);
}

TEST(Operator, ClosingTheWindowUnloads) {
    ViewBench b;
    b.connect();
    b.view.onClose = [&] { b.controller.unload(); };
    EXPECT_TRUE(b.view.close());
    EXPECT_FALSE(b.line.isOpen());
}

} // namespace
} // namespace dornal::testing
