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

TEST(LoadedWindow, ShowsTheEnabledStatesOfLoading) {
    ViewBench b;
    const std::pair<const char*, bool> rows[] = {
        {"Combo1", true},
        {"Combo2", true},
        {"Command1(0)", true},
        {"Command1(1)", false},
        {"Command2(0)", false},
        {"Command2(1)", false},
        {"Command2(2)", false},
        {"Option1(0)", false},
        {"Option1(1)", false},
        {"Option1(2)", false},
        {"Option1(3)", false},
        {"Option1(4)", false},
        {"Option2(0)", true},
        {"Option2(1)", true},
        {"Option2(2)", true},
        {"Option3(0)", false},
        {"Option3(1)", false},
        {"Option3(2)", false},
        {"Option3(3)", false},
        {"Option4(0)", true},
        {"Option4(1)", true},
        {"Option4(2)", true},
        {"Check1(0)", false},
        {"Check1(1)", false},
        {"Check1(2)", false},
        {"Text1(0)", true},
        {"Text1(1)", true},
        {"Text1(2)", true},
        {"Text2(0)", true},
        {"Text2(2)", true},
        {"tx_WriteTimesPerLoop", false},
        {"tx_ReadTimesPerLoop", false},
        {"chkGetFirmwareVersion", true},
    };
    for (const auto& [name, enabled] : rows)
        EXPECT_EQ(b.widget(name)->isEnabled(), enabled) << name;
}

TEST(LoadedWindow, ShowsEveryControlTheReadBackBoxesIncluded) {
    ViewBench b;
    int shown = 0;
    for (QWidget* w :
         b.view.findChildren<QWidget*>(QRegularExpression("^(Text|Label|Option|Check|"
                                                          "Command|Combo|Frame|lb_|tx_|"
                                                          "chk|Line)"))) {
        EXPECT_TRUE(w->isVisible()) << w->objectName().toStdString();
        ++shown;
    }
    EXPECT_EQ(shown, 73);
}

TEST(LoadedWindow, ShowsTheSelectionsListsAndHalfHeightTrackBoxes) {
    ViewBench b;
    for (const char* on : {"Option1(4)", "Option2(1)", "Option3(3)", "Option4(0)"})
        EXPECT_TRUE(b.widget<QRadioButton>(on)->isChecked()) << on;
    for (const char* off : {"Option1(0)", "Option1(3)", "Option2(0)", "Option3(0)", "Option4(1)"})
        EXPECT_FALSE(b.widget<QRadioButton>(off)->isChecked()) << off;
    for (const char* box : {"Check1(0)", "Check1(1)", "Check1(2)"})
        EXPECT_EQ(b.widget<QCheckBox>(box)->checkState(), Qt::Checked) << box;
    EXPECT_EQ(b.widget<QCheckBox>("chkGetFirmwareVersion")->checkState(), Qt::Unchecked);

    auto* ports = b.widget<QComboBox>("Combo1");
    ASSERT_EQ(ports->count(), 8);
    EXPECT_EQ(ports->itemText(0), "COM 1");
    EXPECT_EQ(ports->itemText(7), "COM 8");
    auto* bauds = b.widget<QComboBox>("Combo2");
    ASSERT_EQ(bauds->count(), 8);
    EXPECT_EQ(bauds->itemText(0), "1200");
    EXPECT_EQ(bauds->itemText(7), "115200");
    EXPECT_EQ(bauds->currentIndex(), 3);

    for (const char* box : {"Text1(0)", "Text1(1)", "Text1(2)"})
        EXPECT_EQ(b.widget(box)->height(), 495 / 15) << box;
    auto* timer = b.view.findChild<QTimer*>("Timer1");
    ASSERT_NE(timer, nullptr);
    EXPECT_FALSE(timer->isActive());
    EXPECT_EQ(timer->interval(), 500);
}

TEST(LoadedWindow, AViewMadeBeforeLoadingShowsWhatLoadingSets) {
    Form1 form;
    RecordingAlerts alerts;
    FakeSerialPort port;
    SharedValues shared;
    Form1Events events(form, alerts, port, shared);
    view::Form1View window(form);
    events.load();
    EXPECT_EQ(window.findChild<QComboBox*>("Combo2")->currentText(), "9600");
    EXPECT_FALSE(window.findChild<QWidget*>("Text2(1)")->isHidden());
    EXPECT_EQ(window.findChild<QWidget*>("Text1(1)")->height(), 33);
    EXPECT_TRUE(window.findChild<QRadioButton*>("Option3(3)")->isChecked());
    EXPECT_TRUE(port.sent.empty()) << "nothing reaches a port before Connect";
}

QColor base(QWidget* w) {
    return w->palette().color(QPalette::Base);
}

TEST(ModelChange, ShowsAtOnceInTheWidget) {
    ViewBench b;
    Form1& f = b.form;

    f.Label5.setCaption("1B 73 70");
    EXPECT_EQ(b.widget<QLabel>("Label5")->text(), "1B 73 70");
    f.Label5.setCaption("<b>&&");
    EXPECT_EQ(b.widget<QLabel>("Label5")->text(), "<b>&") << "plain text, access keys apply";

    f.Command1[1].setEnabled(true);
    EXPECT_TRUE(b.widget("Command1(1)")->isEnabled());

    f.Text1[0].setBackColor(kColorLightYellow);
    EXPECT_EQ(base(b.widget("Text1(0)")), QColor(255, 255, 128));
    f.Text1[0].setBackColor(kColorWindowBackground);
    EXPECT_EQ(base(b.widget("Text1(0)")), QApplication::palette().color(QPalette::Base));
    EXPECT_EQ(base(b.widget("Text3")), QApplication::palette().color(QPalette::Button));

    f.Text1[2].setHeight(975);
    EXPECT_EQ(b.widget("Text1(2)")->height(), 65);
    EXPECT_EQ(b.widget("Text1(2)")->y(), 5880 / 15) << "only the height changes";

    f.Text2[1].setVisible(false);
    EXPECT_FALSE(b.widget("Text2(1)")->isVisible());
    f.Text2[1].setVisible(true);
    EXPECT_TRUE(b.widget("Text2(1)")->isVisible());

    f.Text2[0].setText("0123\r\n456");
    EXPECT_EQ(b.widget<QPlainTextEdit>("Text2(0)")->toPlainText(), "0123\n456");
    f.Text3.setText("V1.10");
    EXPECT_EQ(b.widget<QPlainTextEdit>("Text3")->toPlainText(), "V1.10");

    f.Combo1.setListIndex(2);
    EXPECT_EQ(b.widget<QComboBox>("Combo1")->currentText(), "COM 3");
    f.chkGetFirmwareVersion.setValue(1);
    EXPECT_EQ(b.widget<QCheckBox>("chkGetFirmwareVersion")->checkState(), Qt::Checked);
    f.tx_ReadTimesPerLoop.setText("25");
    EXPECT_EQ(b.widget<QLineEdit>("tx_ReadTimesPerLoop")->text(), "25");
}

TEST(ModelChange, OptionSelectionsShowIncludingNoneSelected) {
    ViewBench b;
    b.form.Option4[2].select();
    EXPECT_TRUE(b.widget<QRadioButton>("Option4(2)")->isChecked());
    EXPECT_FALSE(b.widget<QRadioButton>("Option4(0)")->isChecked());
    b.form.Option4[2].setValue(false);
    for (const char* name : {"Option4(0)", "Option4(1)", "Option4(2)"})
        EXPECT_FALSE(b.widget<QRadioButton>(name)->isChecked()) << name;
}

TEST(ModelChange, ShowingAChangeRaisesNoHandlerAgain) {
    ViewBench b;
    int optionClicks = 0, changes = 0, comboChanges = 0;
    b.form.Option4.onClick = [&](int) { ++optionClicks; };
    b.form.Text1[0].onChange = [&] { ++changes; };
    b.form.Combo2.addListener([&] { ++comboChanges; });
    b.form.Option4[1].select();
    b.form.Text1[0].setText("ABC");
    b.form.Combo2.setListIndex(5);
    EXPECT_EQ(optionClicks, 1);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(comboChanges, 1);
    EXPECT_EQ(b.form.Combo2.text(), "38400");
}

TEST(ModelChange, AGrayedCheckBoxShowsPartlyCheckedAndAClickChecksIt) {
    ViewBench b;
    b.form.chkGetFirmwareVersion.setValue(2);
    auto* box = b.widget<QCheckBox>("chkGetFirmwareVersion");
    EXPECT_EQ(box->checkState(), Qt::PartiallyChecked);
    box->click();
    EXPECT_EQ(b.form.chkGetFirmwareVersion.value(), 1);
    EXPECT_EQ(box->checkState(), Qt::Checked);
}

TEST(ModelChange, TheCaretGoesWhereTheModelPutsIt) {
    ViewBench b;
    b.connect();
    b.form.Text1[0].setText("ABCDEF");
    b.form.Text1[0].setCaret(2);
    EXPECT_EQ(b.widget<QPlainTextEdit>("Text1(0)")->textCursor().position(), 2);
}

TEST(ModelChange, TimerRunsWhileEnabledAndEachTimeoutIsATick) {
    ViewBench b;
    auto* timer = b.view.findChild<QTimer*>("Timer1");
    ASSERT_NE(timer, nullptr);
    int ticks = 0;
    b.form.Timer1.onTick = [&ticks] { ++ticks; };
    b.form.Timer1.setEnabled(true);
    EXPECT_TRUE(timer->isActive());
    QMetaObject::invokeMethod(timer, "timeout");
    EXPECT_EQ(ticks, 1);
    b.form.Timer1.setEnabled(false);
    EXPECT_FALSE(timer->isActive());
}

} // namespace
} // namespace dornal::testing
