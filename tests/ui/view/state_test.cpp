// What the widgets show of the model: the loaded state, and every later change at once.
#include "view_bench.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTimer>

namespace dornal::testing {
namespace {

TEST(LoadedWindow, ShowsEveryControlWithTheStatesSelectionsAndListsOfLoading) {
    ViewBench b;
    int shown = 0;
    const QRegularExpression controls(
        "^(Text|Label|Option|Check|Command|Combo|Frame|lb_|tx_|chk|Line)");
    for (QWidget* w : b.view.findChildren<QWidget*>(controls)) {
        EXPECT_TRUE(w->isVisible()) << w->objectName().toStdString();
        ++shown;
    }
    EXPECT_EQ(shown, 73) << "the read-back boxes included";
    for (const char* on : {"Combo1", "Command1(0)", "Option2(0)", "Option2(2)", "Option4(1)",
                           "Text1(2)", "Text2(0)", "chkGetFirmwareVersion"})
        EXPECT_TRUE(b.widget(on)->isEnabled()) << on;
    for (const char* off : {"Command1(1)", "Command2(0)", "Command2(2)", "Option1(0)", "Option1(4)",
                            "Option3(3)", "Check1(1)", "tx_ReadTimesPerLoop"})
        EXPECT_FALSE(b.widget(off)->isEnabled()) << off;
    for (const char* on : {"Option1(4)", "Option2(1)", "Option3(3)", "Option4(0)"})
        EXPECT_TRUE(b.widget<QRadioButton>(on)->isChecked()) << on;
    for (const char* off : {"Option1(0)", "Option2(0)", "Option3(0)", "Option4(1)"})
        EXPECT_FALSE(b.widget<QRadioButton>(off)->isChecked()) << off;
    EXPECT_EQ(b.widget<QCheckBox>("Check1(2)")->checkState(), Qt::Checked);
    EXPECT_EQ(b.widget<QCheckBox>("chkGetFirmwareVersion")->checkState(), Qt::Unchecked);
    auto* bauds = b.widget<QComboBox>("Combo2");
    ASSERT_EQ(bauds->count(), 8);
    EXPECT_EQ(bauds->itemText(7), "115200");
    EXPECT_EQ(bauds->currentIndex(), 3);
    EXPECT_EQ(b.widget<QComboBox>("Combo1")->itemText(7), "COM 8");
    for (const char* box : {"Text1(0)", "Text1(1)", "Text1(2)"})
        EXPECT_EQ(b.widget(box)->height(), 495 / 15) << box;
}

TEST(LoadedWindow, AViewMadeBeforeLoadingShowsWhatLoadingSets) {
    WindowModel model;
    RecordingAlerts alerts;
    MemoryLine line;
    WindowController controller(model, alerts, line);
    view::WindowView window(model);
    controller.load();
    EXPECT_EQ(window.findChild<QComboBox*>("Combo2")->currentText(), "9600");
    EXPECT_FALSE(window.findChild<QWidget*>("Text2(1)")->isHidden());
    EXPECT_EQ(window.findChild<QWidget*>("Text1(1)")->height(), 33);
    EXPECT_TRUE(window.findChild<QRadioButton*>("Option3(3)")->isChecked());
    EXPECT_TRUE(line.writes.empty()) << "nothing reaches a port before Connect";
}

TEST(ModelChange, ShowsAtOnceInTheWidget) {
    ViewBench b;
    WindowModel& f = b.window;
    auto base = [&b](const char* name) { return b.widget(name)->palette().color(QPalette::Base); };

    f.statusLabel.setCaption("<b>&&");
    EXPECT_EQ(b.widget<QLabel>("Label5")->text(), "<b>&") << "plain text, access keys apply";
    f.disconnectButton.setEnabled(true);
    EXPECT_TRUE(b.widget("Command1(1)")->isEnabled());
    f.trackBoxes[0].setBackColor(kColorLightYellow);
    EXPECT_EQ(base("Text1(0)"), QColor(255, 255, 128));
    f.trackBoxes[0].setBackColor(kColorWindowBackground);
    EXPECT_EQ(base("Text1(0)"), QApplication::palette().color(QPalette::Base));
    EXPECT_EQ(base("Text3"), QApplication::palette().color(QPalette::Button));
    f.trackBoxes[2].setHeight(975);
    EXPECT_EQ(b.widget("Text1(2)")->geometry(), QRect(104, 392, 497, 65)) << "only the height";
    f.readBackBoxes[1].setVisible(false);
    EXPECT_FALSE(b.widget("Text2(1)")->isVisible());
    f.readBackBoxes[0].setText("0123\r\n456");
    EXPECT_EQ(b.widget<QPlainTextEdit>("Text2(0)")->toPlainText(), "0123\n456");
    f.trackBoxes[0].setText("ABCDEF");
    f.trackBoxes[0].setCaret(2);
    EXPECT_EQ(b.widget<QPlainTextEdit>("Text1(0)")->textCursor().position(), 2);
    f.portList.setListIndex(2);
    EXPECT_EQ(b.widget<QComboBox>("Combo1")->currentText(), "COM 3");
    f.readsPerLoopBox.setText("25");
    EXPECT_EQ(b.widget<QLineEdit>("tx_ReadTimesPerLoop")->text(), "25");
    f.itripOptions[2].select();
    f.itripOptions[2].setValue(false);
    for (const char* name : {"Option4(0)", "Option4(1)", "Option4(2)"})
        EXPECT_FALSE(b.widget<QRadioButton>(name)->isChecked()) << name;
    f.firmwareCheck.setValue(2);
    auto* box = b.widget<QCheckBox>("chkGetFirmwareVersion");
    EXPECT_EQ(box->checkState(), Qt::PartiallyChecked);
    box->click();
    EXPECT_EQ(f.firmwareCheck.value(), 1);
    EXPECT_EQ(box->checkState(), Qt::Checked);
}

TEST(ModelChange, ShowingAChangeRaisesNoHandlerAgain) {
    ViewBench b;
    int optionClicks = 0, changes = 0, comboChanges = 0;
    b.window.itripOptions.onClick = [&](int) { ++optionClicks; };
    b.window.trackBoxes[0].onChange = [&] { ++changes; };
    b.window.rateList.addListener([&] { ++comboChanges; });
    b.window.itripOptions[1].select();
    b.window.trackBoxes[0].setText("ABC");
    b.window.rateList.setListIndex(5);
    EXPECT_EQ(optionClicks, 1);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(comboChanges, 1);
    EXPECT_EQ(b.window.rateList.text(), "38400");
}

TEST(ModelChange, TimerRunsWhileEnabledAndEachTimeoutIsATick) {
    ViewBench b;
    auto* timer = b.view.findChild<QTimer*>("Timer1");
    ASSERT_NE(timer, nullptr);
    EXPECT_EQ(timer->interval(), 500);
    EXPECT_FALSE(timer->isActive());
    int ticks = 0;
    b.window.cycleTimer.onTick = [&ticks] { ++ticks; };
    b.window.cycleTimer.setEnabled(true);
    EXPECT_TRUE(timer->isActive());
    QMetaObject::invokeMethod(timer, "timeout");
    EXPECT_EQ(ticks, 1);
    b.window.cycleTimer.setEnabled(false);
    EXPECT_FALSE(timer->isActive());
}

} // namespace
} // namespace dornal::testing
