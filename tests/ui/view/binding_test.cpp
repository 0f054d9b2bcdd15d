// The widgets and the model bound both ways: what the widgets show of the model at once, what
// the operator's clicks, keys and pastes hand to it (the track boxes' change rule with its beeps
// and the track's maximum, as the widget shows them and a write sends them), and the real alerts
// with the tick.
#include "ui/view/qt_alerts.h"
#include "view_bench.h"

namespace dornal::testing {
namespace {

TEST(ModelChange, ShowsAtOnceInTheWidgetAndRaisesNoHandlerAgain) {
    ViewBench b;
    WindowModel& f = b.window;
    int optionClicks = 0, changes = 0;
    f.itripOptions.onClick = [&](int) { ++optionClicks; };
    f.trackBoxes[0].onChange = [&] { ++changes; };

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
    f.readsPerLoopBox.setText("25");
    EXPECT_EQ(b.widget<QLineEdit>("tx_ReadTimesPerLoop")->text(), "25");
    f.itripOptions[2].select();
    f.itripOptions[2].setValue(false); // the model may clear an exclusive group
    for (const char* name : {"Option4(0)", "Option4(1)", "Option4(2)"})
        EXPECT_FALSE(b.widget<QRadioButton>(name)->isChecked()) << name;
    EXPECT_EQ(std::pair(optionClicks, changes), std::pair(1, 1));
    f.firmwareCheck.setValue(2);
    auto* box = b.widget<QCheckBox>("chkGetFirmwareVersion");
    EXPECT_EQ(box->checkState(), Qt::PartiallyChecked);
    box->click(); // leaves the grayed state
    EXPECT_EQ(std::pair(f.firmwareCheck.value(), box->checkState()), std::pair(1, Qt::Checked));
}

// Marks show as red characters over the text; what a control says of its state is its tool tip
// and, while it says something, its description for a screen reader.
TEST(ModelChange, MarksAndWhatAControlSaysShowInTheWidget) {
    ViewBench b;
    WindowModel& f = b.window;
    auto* box = b.widget<QPlainTextEdit>("Text2(1)");
    const QString layoutDescription = box->accessibleDescription();
    f.readBackBoxes[1].setText("12345");
    f.readBackBoxes[1].setMarks({{1, 2}, {4, 1}});
    f.readBackBoxes[1].setToolTip("Track 2 read back: 3 checked, 1 differed");
    const QList<QTextEdit::ExtraSelection> marks = box->extraSelections();
    ASSERT_EQ(marks.size(), 2);
    EXPECT_EQ(std::tuple(marks[0].cursor.selectedText(), marks[1].cursor.selectedText(),
                         marks[0].format.foreground().color()),
              std::tuple(QString("23"), QString("5"), QColor(Qt::red)));
    EXPECT_EQ(std::pair(box->toolTip(), box->accessibleDescription()),
              std::pair(QString("Track 2 read back: 3 checked, 1 differed"),
                        QString("Track 2 read back: 3 checked, 1 differed")));
    f.readBackBoxes[1].setText("12345"); // a new answer, the same data
    f.readBackBoxes[1].setToolTip("");
    EXPECT_EQ(
        std::tuple(box->extraSelections().size(), box->toolTip(), box->accessibleDescription()),
        std::tuple(0, QString(), layoutDescription));
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

// The colour a box shows behind its text, at its right end, as "#rrggbb".
std::string backShown(QWidget* box) {
    const QImage image = box->grab().toImage();
    return image.pixelColor(box->width() - 6, box->height() / 2).name().toStdString();
}

// A box locked by Disconnect looks locked, in the platform's disabled colours, also after a run
// has painted it light yellow and back; unlocked it looks as before. The light yellow of a run
// stays.
TEST(BoxLook, ADisabledBoxLooksDisabledWhateverItsBackColour) {
    ViewBench b;
    const QColor normal = QApplication::palette().color(QPalette::Active, QPalette::Base);
    const QColor disabled = QApplication::palette().color(QPalette::Disabled, QPalette::Base);
    ASSERT_NE(normal, disabled);
    const QColor yellow(255, 255, 128);
    QWidget* track1 = b.widget("Text1(0)");
    QWidget* writes = b.widget("tx_WriteTimesPerLoop");
    b.connect();
    // {what the operator does, track 1 box, per-loop writes box}
    const std::tuple<const char*, std::function<void()>, QColor, QColor> rows[] = {
        {"connected", [] {}, normal, normal},
        {"a write/read loop writes", [&] { b.window.startButton.click(); }, yellow, disabled},
        {"abandoned", [&] { b.window.abandonButton.click(); }, normal, normal},
        {"disconnected", [&] { b.window.disconnectButton.click(); }, disabled, disabled},
        {"connected again", [&] { b.window.connectButton.click(); }, normal, normal},
        {"light yellow, then disabled",
         [&] {
             b.window.trackBoxes[0].setBackColor(kColorLightYellow);
             b.window.trackBoxes[0].setEnabled(false);
         },
         disabled, normal},
        {"enabled again", [&] { b.window.trackBoxes[0].setEnabled(true); }, yellow, normal},
    };
    for (const auto& [what, act, trackBack, writesBack] : rows) {
        SCOPED_TRACE(what);
        act();
        EXPECT_EQ(std::pair(backShown(track1), backShown(writes)),
                  std::pair(trackBack.name().toStdString(), writesBack.name().toStdString()));
    }
}

// Each entry's description is its tool tip and accessible description, brought up to date when
// the operator opens the list: a port gone since loading shows at once.
TEST(Operator, OpeningThePortListDescribesEachPortAnew) {
    ViewBench b;
    auto* ports = b.widget<QComboBox>("Combo1");
    const auto described = [ports](int role) {
        return ports->itemData(0, role).toString() + "|" + ports->itemData(4, role).toString();
    };
    const QString loaded = described(Qt::ToolTipRole);
    b.line.existingPorts.erase(5);
    ports->showPopup();
    EXPECT_EQ(std::tuple(loaded, described(Qt::ToolTipRole),
                         described(Qt::AccessibleDescriptionRole), ports->itemText(4)),
              std::tuple(QString("COM 1: memory1|COM 5: memory5"),
                         QString("COM 1: memory1|COM 5: memory5, no such device"),
                         QString("COM 1: memory1|COM 5: memory5, no such device"),
                         QString("COM 5")));
    ports->hidePopup();
    b.window.portList.setDescriptions({"COM 1: /dev/ttyé"}); // device names are UTF-8
    EXPECT_EQ(described(Qt::ToolTipRole), QString("COM 1: /dev/tty\u00e9|"));
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
    // The reason below a message is shown as it stands, never as markup.
    const char* why = "/dev/<b>\xc3\xa9</b> is not there.";
    for (const auto& [title, informative] : {std::pair("Check", ""), std::pair("", why)}) {
        QStringList seen;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            QMetaObject::invokeMethod(timer, "timeout");
            seen << box->windowTitle() << box->text() << QString::number(ticks)
                 << box->informativeText();
            const auto* label = box->findChild<QLabel*>("qt_msgbox_informativelabel");
            const bool plainReason = label != nullptr && label->textFormat() == Qt::PlainText;
            EXPECT_EQ(std::tuple(box->standardButtons(), box->icon(), box->isModal(), plainReason),
                      std::tuple(QMessageBox::Ok, QMessageBox::NoIcon, true, *informative != '\0'));
            box->button(QMessageBox::Ok)->click();
        });
        alerts.messageBox("Open COM\r\nPort Fail!", title, informative);
        EXPECT_EQ(seen, QStringList({*title ? title : kApplicationTitle, "Open COM\nPort Fail!",
                                     "0", QString::fromUtf8(informative)}));
    }
    QMetaObject::invokeMethod(timer, "timeout");
    EXPECT_EQ(ticks, 1);
    b.window.cycleTimer.setEnabled(false);
    EXPECT_FALSE(timer->isActive());
}

constexpr QChar kEnd = u'\x04';

// Types each character as a key press carrying it as its text; "\n" is Enter, "\b" Backspace
// and kEnd the End key.
void type(QWidget* box, const QString& keys) {
    for (const QChar c : keys) {
        const auto at = QString("\n\b").append(kEnd).indexOf(c);
        const auto key = at < 0 ? Qt::Key_unknown
                                : std::array{Qt::Key_Return, Qt::Key_Backspace, Qt::Key_End}[at];
        QTest::sendKeyEvent(QTest::Click, box, key, key == Qt::Key_unknown ? QString(c) : "", {});
    }
}

// What a single write of track box `i` alone sends, its data kept as they are.
std::string sentFrame(ViewBench& b, std::size_t i) {
    for (std::size_t j = 0; j < 3; ++j)
        b.window.trackChecks[j].setValue(j == i ? 1 : 0);
    b.window.modeOptions[static_cast<int>(Mode::SingleWrite)].select();
    b.window.writeConfigOptions[static_cast<int>(WriteConfig::KeepData)].select();
    b.window.startButton.click();
    b.window.abandonButton.click();
    return b.line.writes.size() >= 3 ? b.line.writes[b.line.writes.size() - 2] : "";
}

// Whatever the operator types or pastes anywhere in a box: a character the track cannot carry
// is removed with a beep, the others stay where they were, the box keeps to the track's
// maximum, and the write sends what is shown.
TEST(TrackBoxes, NoCharacterATrackCannotCarryStaysInItsBoxOrReachesTheCard) {
    const std::string k36(36, '5'), k37(37, '5');
    // {track, text before, caret, pasted at the caret, then typed, text after, beeps, caret
    // after (-1: at the end)}
    const std::tuple<std::size_t, std::string, int, QString, QString, std::string, int, int>
        rows[] = {
            {0, "", 0, "", "a", "", 1, -1},
            {0, "AB", 2, "", "%?", "AB", 2, -1},
            {0, "AB", 2, "", QString::fromUtf8("\u00a0"), "AB", 1, -1}, // no-break space
            {0, "AB", 1, "", QString::fromUtf8("\u00e9\u20ac"), "AB", 2, 1},
            {1, "", 0, "", "=>:<'", "=>:<'", 0, -1},
            {2, "", 0, "", "12ab", "12", 2, -1},
            {1, "1234", 2, "", "\n", "1234", 1, 2}, // CR LF: one key, one beep
            {1, k36, 18, "", "\n", k36, 1, 18},     // at maximum - 1 ...
            {1, k36, 18, "", QString("\n") + kEnd + "7", k36 + "7", 1, -1}, // ... loses nothing
            {1, k37, 18, "", "\n", k37, 1, 18},                             // at maximum
            {1, k37, 37, "", "1", k37, 0, 37}, // a full box refuses without a beep
            {1, k37, 0, "", "1", k37, 0, 0},
            {0, "AB", 1, "x\033C%\r\nD", "", "ACDB", 1, 3}, // one paste, one beep
            {1, "12", 1, "3\0334", "", "1342", 1, 3},
            {0, "", 0, QString(10000, u'3'), "", std::string(76, '3'), 0, -1}, // cut to the maximum
            {1, "1234", 2, QString(40, u'9'), "", "12" + std::string(33, '9') + "34", 0, 35},
            {1, "", 0, "ab" + QString(40, u'9'), "", std::string(37, '9'), 1, -1}, // take no room
            {1, "", 0, "1a2", "\b", "1", 1, -1},
            {1, "", 0, "1a23", "\b", "12", 1, -1},
            {1, "1234", 4, "", "\b\b\b\b", "", 0, 0}, // emptied
        };
    const char* marker[] = {"~", "", "A"};
    for (const auto& [track, before, caret, paste, keys, after, beeps, caretAfter] : rows) {
        SCOPED_TRACE((paste.left(20) + keys).toStdString());
        ViewBench b;
        b.connect();
        auto* box = b.widget<QPlainTextEdit>(QString("Text1(%1)").arg(track));
        b.window.trackBoxes[track].setText(before);
        b.window.trackBoxes[track].setCaret(caret);
        QApplication::clipboard()->setText(paste);
        box->paste();
        type(box, keys);
        const QString length = b.widget<QLabel>(QString("Label3(%1)").arg(track))->text();
        EXPECT_EQ(b.window.trackBoxes[track].text() + '|' +
                      (box->toPlainText() + '|' + length).toStdString(),
                  after + '|' + after + '|' + std::to_string(after.size())); // model, box, length
        EXPECT_EQ(std::pair(b.alerts.beeps, box->textCursor().position()),
                  std::pair(beeps, caretAfter < 0 ? int(after.size()) : caretAfter));
        if (after.empty()) // an empty box would be written with the test pattern
            continue;
        EXPECT_EQ(sentFrame(b, track), "\x1bt" + (marker[track] + after) + "\x1d\x1b\\\x1bj");
    }
}

} // namespace
} // namespace dornal::testing
