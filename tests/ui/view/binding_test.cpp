// The widgets and the model bound both ways: what the widgets show of the model at once, what
// the operator's clicks and keys hand to it, and the real alerts with the tick.
#include "ui/view/qt_alerts.h"
#include "view_bench.h"

namespace dornal::testing {
namespace {

TEST(ModelChange, ShowsAtOnceInTheWidgetAndRaisesNoHandlerAgain) {
    ViewBench b;
    WindowModel& f = b.window;
    int optionClicks = 0, changes = 0, comboChanges = 0;
    f.itripOptions.onClick = [&](int) { ++optionClicks; };
    f.trackBoxes[0].onChange = [&] { ++changes; };
    f.rateList.addListener([&] { ++comboChanges; });

    f.statusLabel.setCaption("<b>&&");
    auto* status = b.widget<QLabel>("Label5");
    EXPECT_EQ(std::pair(status->text(), status->textFormat()),
              std::pair(QString("<b>&"), Qt::PlainText));
    f.trackBoxes[0].setBackColor(kColorLightYellow);
    EXPECT_EQ(b.widget("Text1(0)")->palette().color(QPalette::Base), QColor(255, 255, 128));
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
    f.rateList.setListIndex(5);
    EXPECT_EQ(f.rateList.text(), "38400");
    f.readsPerLoopBox.setText("25");
    EXPECT_EQ(b.widget<QLineEdit>("tx_ReadTimesPerLoop")->text(), "25");
    f.itripOptions[2].select();
    f.itripOptions[2].setValue(false); // the model may clear an exclusive group
    for (const char* name : {"Option4(0)", "Option4(1)", "Option4(2)"})
        EXPECT_FALSE(b.widget<QRadioButton>(name)->isChecked()) << name;
    EXPECT_EQ(std::tuple(optionClicks, changes, comboChanges), std::tuple(1, 1, 1));
    f.firmwareCheck.setValue(2);
    auto* box = b.widget<QCheckBox>("chkGetFirmwareVersion");
    EXPECT_EQ(box->checkState(), Qt::PartiallyChecked);
    box->click(); // leaves the grayed state
    EXPECT_EQ(std::pair(f.firmwareCheck.value(), box->checkState()), std::pair(1, Qt::Checked));
}

TEST(Operator, ClicksKeysAndClosingReachTheModelsHandlers) {
    ViewBench b;
    auto* ports = b.widget<QComboBox>("Combo1");
    QTest::keyClick(ports, Qt::Key_Down);
    EXPECT_EQ(std::to_string(b.window.portList.listIndex()) + b.window.portList.text(), "1COM 2");
    ports->lineEdit()->selectAll();
    QTest::keyClicks(ports->lineEdit(), "COM 9");
    QTest::keyClick(ports->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(std::to_string(b.window.portList.listIndex()) + b.window.portList.text(), "-1COM 9");
    EXPECT_EQ(std::pair(ports->currentText(), ports->count()), std::pair(QString("COM 9"), 8))
        << "a text matching no entry stays as typed, and adds no entry";
    b.window.portList.setListIndex(0);
    QTest::mouseClick(b.widget("Command1(0)"), Qt::LeftButton, {}, QPoint(8, 8));
    EXPECT_TRUE(b.line.isOpen());
    b.line.clearRecord();
    QTest::mouseClick(b.widget("Option3(1)"), Qt::LeftButton, {}, QPoint(8, 8));
    EXPECT_EQ(b.window.charSetOptions.selectedIndex(), 1);
    EXPECT_FALSE(b.widget<QRadioButton>("Option3(3)")->isChecked());
    EXPECT_EQ(b.line.writes, (std::vector<std::string>{"\x1bO"})) << "sent once";
    QTest::mouseClick(b.widget("Check1(2)"), Qt::LeftButton, {}, QPoint(8, 8));
    EXPECT_EQ(b.window.trackChecks[2].value(), 0);

    auto* writes = b.widget<QLineEdit>("tx_WriteTimesPerLoop");
    writes->selectAll();
    QTest::keyClicks(writes, "12");
    EXPECT_EQ(b.window.writesPerLoopBox.text() + std::to_string(b.window.writesPerLoopBox.caret()),
              "122");

    b.view.onClose = [&] { b.controller.unload(); };
    EXPECT_TRUE(b.view.close());
    EXPECT_FALSE(b.line.isOpen());
}

// The real alerts: a modal message with an OK button only, and no tick while it waits.
TEST(QtAlerts, MessageIsModalWithOkOnlyTitledAsAskedElseAsTheApplicationAndHoldsTheTick) {
    ViewBench b;
    view::QtAlerts alerts(&b.view);
    auto* timer = b.view.findChild<QTimer*>("Timer1");
    ASSERT_NE(timer, nullptr);
    EXPECT_EQ(std::tuple(timer->interval(), timer->timerType(), timer->isActive()),
              std::tuple(500, Qt::PreciseTimer, false));
    int ticks = 0;
    b.window.cycleTimer.onTick = [&ticks] { ++ticks; };
    b.window.cycleTimer.setEnabled(true);
    EXPECT_TRUE(timer->isActive());
    for (const char* title : {"Check", ""}) {
        QStringList seen;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            QMetaObject::invokeMethod(timer, "timeout");
            seen << box->windowTitle() << box->text() << QString::number(ticks);
            EXPECT_EQ(std::tuple(box->standardButtons(), box->icon(), box->isModal()),
                      std::tuple(QMessageBox::Ok, QMessageBox::NoIcon, true));
            box->button(QMessageBox::Ok)->click();
        });
        alerts.messageBox("Open COM\r\nPort Fail!", title);
        EXPECT_EQ(seen,
                  QStringList({*title ? title : kApplicationTitle, "Open COM\nPort Fail!", "0"}));
    }
    QMetaObject::invokeMethod(timer, "timeout");
    EXPECT_EQ(ticks, 1);
    b.window.cycleTimer.setEnabled(false);
    EXPECT_FALSE(timer->isActive());
}

} // namespace
} // namespace dornal::testing
