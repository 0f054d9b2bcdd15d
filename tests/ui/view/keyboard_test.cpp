// The window from the keyboard alone, on the real widgets: where Tab, Shift+Tab, Return, Enter,
// Space, the arrow keys and Alt+R take the focus, what they select and what they send; and how
// a disabled box looks.
#include "view_bench.h"

namespace dornal::testing {
namespace {

// The reader's commands by the names the rows give them; a write frame is "frame".
std::string commandName(const std::string& bytes) {
    static const std::map<std::string, std::string> names{
        {"\x1b"
         "0",
         "Abandon"},
        {"\x1b"
         "a",
         "Reset"},
        {"\x1b=", "ISO"},
        {"\x1b'", "IBM1"},
        {"\x1bO", "IBM2"},
        {"\x1bN", "IBM3"},
        {"\x1b*", "1/3"},
        {"\x1b+", "2/3"},
        {"\x1b,", "3/3"},
        {"\x1b\"", "Read123"},
    };
    if (const auto found = names.find(bytes); found != names.end())
        return found->second;
    if (bytes.starts_with("\x1bt"))
        return "frame";
    return QByteArray::fromStdString(bytes).toHex(' ').toStdString();
}

std::string sentCommands(const MemoryLine& line) {
    std::string sent;
    for (const std::string& bytes : line.writes)
        sent += (sent.empty() ? "" : " ") + commandName(bytes);
    return sent;
}

// The selected option of each group, mode, write config, character set, write strength, as
// the model holds it and as the window shows it: "4130|4130" (-1: none).
std::string selectedOptions(ViewBench& b) {
    const OptionGroup* groups[] = {&b.window.modeOptions, &b.window.writeConfigOptions,
                                   &b.window.charSetOptions, &b.window.itripOptions};
    std::string model;
    std::string shown;
    for (int g = 0; g < 4; ++g) {
        model += std::to_string(groups[g]->selectedIndex());
        int checked = -1;
        for (int i = 0; i < groups[g]->size(); ++i)
            if (b.widget<QRadioButton>(QString("Option%1(%2)").arg(g + 1).arg(i))->isChecked())
                checked = i;
        shown += std::to_string(checked);
    }
    return model + '|' + shown;
}

// The window's focus, also while another window is active.
std::string focusedName(const ViewBench& b) {
    const QWidget* focus = b.view.focusWidget();
    return focus ? focus->objectName().toStdString() : "(none)";
}

// One key to the focused control, or a pseudo-key: "answer", the reader answers a write and a
// tick passes; "wait", the 100 ms that a button pressed by its access key takes; "away", another
// window becomes the active one.
void press(ViewBench& b, const QString& key) {
    QWidget* to = QApplication::focusWidget() ? QApplication::focusWidget() : &b.view;
    static const std::map<QString, std::pair<Qt::Key, Qt::KeyboardModifiers>> keys{
        {"Tab", {Qt::Key_Tab, Qt::NoModifier}},
        {"S+Tab", {Qt::Key_Backtab, Qt::ShiftModifier}},
        {"Return", {Qt::Key_Return, Qt::NoModifier}},
        {"Enter", {Qt::Key_Enter, Qt::KeypadModifier}},
        {"Space", {Qt::Key_Space, Qt::NoModifier}},
        {"Up", {Qt::Key_Up, Qt::NoModifier}},
        {"Down", {Qt::Key_Down, Qt::NoModifier}},
        {"Left", {Qt::Key_Left, Qt::NoModifier}},
        {"Right", {Qt::Key_Right, Qt::NoModifier}},
    };
    if (key == "answer") {
        b.line.feed("\x1brp");
        b.window.cycleTimer.tick();
    } else if (key == "away") {
        auto* other = new QWidget(&b.view, Qt::Window); // goes with the window
        other->show();
        QApplication::setActiveWindow(other);
    } else if (key == "wait") {
        QTest::qWait(150);
    } else if (key == "Return*") { // Return held down: the key repeats
        QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, "\r", true);
        QApplication::sendEvent(to, &repeat);
    } else if (key.startsWith("Alt+")) { // an access key: Alt and a capital letter
        QTest::keyClick(to, static_cast<Qt::Key>(Qt::Key_A + (key.back().unicode() - 'A')),
                        Qt::AltModifier);
    } else {
        ASSERT_TRUE(keys.contains(key)) << key.toStdString();
        const auto [code, modifiers] = keys.at(key);
        QTest::keyClick(to, code, modifiers);
    }
}

// The default state after Connect: "Auto Write/Read Loop", "Add Test Char", ISO, 1/3 ("4130"),
// the read-back boxes shown, Abandon disabled.
struct KeyRow {
    const char* what;
    bool connected;
    const char* focusedFirst;
    void (*before)(WindowModel&); // what the program changes first (nullptr: nothing)
    const char* keys;
    const char* focusTrail; // the focused control after each key
    const char* selected;   // as selectedOptions() writes it
    const char* sent;       // the commands sent, as commandName() names them
};

const KeyRow kKeyRows[] = {
    {"Tab round the window: into a group on its selected option, then past its row", true,
     "Text1(0)", nullptr,
     "Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab",
     "Text1(1) Text1(2) Check1(0) Check1(1) Check1(2) Command1(1) Option1(4) Command2(0) "
     "Command2(2) Option2(1) Option3(3) Text2(0) Text2(1) Text2(2) Option1(4) Text3 "
     "tx_WriteTimesPerLoop tx_ReadTimesPerLoop chkGetFirmwareVersion Option4(0) Text1(0)",
     "4130|4130", ""},
    {"Shift+Tab back the same way", true, "Text3", nullptr,
     "S+Tab S+Tab S+Tab S+Tab S+Tab S+Tab S+Tab S+Tab S+Tab S+Tab S+Tab",
     "Option1(4) Text2(2) Text2(1) Text2(0) Option3(3) Option2(1) Command2(2) Command2(0) "
     "Option1(4) Command1(1) Check1(2)",
     "4130|4130", ""},
    {"before Connect: Tab passes the locked controls, Return connects", false, "Text1(2)", nullptr,
     "Tab Tab Tab Return", "Combo1 Combo2 Command1(0) Command1(1)", "4130|4130", "Reset ISO"},
    {"keypad Enter disconnects and the focus goes to Connect", true, "Command1(1)", nullptr,
     "Enter", "Command1(0)", "4130|4130", ""},
    {"Return starts, the focus goes to Abandon, Return abandons and it comes back", true,
     "Command2(0)", nullptr, "Return Return", "Command2(1) Command2(0)", "4130|4130",
     "1/3 frame Abandon"},
    {"Space twice after Start abandons and never resets the counters", true, "Command2(0)", nullptr,
     "Space Space Space", "Command2(1) Command2(0) Command2(1)", "4130|4130",
     "1/3 frame Abandon 1/3 frame"},
    {"Return on Reset Counter, and a held Return presses once", true, "Command2(2)", nullptr,
     "Return Return* Return*", "Command2(2) Command2(2) Command2(2)", "4130|4130", "Reset"},
    {"a held Return on Start does not go on to Abandon", true, "Command2(0)", nullptr,
     "Return Return* Return*", "Command2(1) Command2(1) Command2(1)", "4130|4130", "1/3 frame"},
    {"the end of a single write gives the focus back to Start", true, "Option1(4)", nullptr,
     "Up Up Tab Space answer", "Option1(3) Option1(2) Command2(0) Command2(1) Command2(0)",
     "2130|2130", "1/3 frame"},
    {"also while another window is active", true, "Option1(4)", nullptr,
     "Up Up Tab Return away answer",
     "Option1(3) Option1(2) Command2(0) Command2(1) Command2(1) Command2(0)", "2130|2130",
     "1/3 frame"},
    {"unless the operator has put the focus elsewhere meanwhile", true, "Option1(4)", nullptr,
     "Up Up Tab Return S+Tab answer",
     "Option1(3) Option1(2) Command2(0) Command2(1) Command2(2) Command2(2)", "2130|2130",
     "1/3 frame"},
    {"the arrow keys choose the character set in reading order, round the end", true, "Option3(3)",
     nullptr, "Right Right Left Left Left Down Up",
     "Option3(0) Option3(1) Option3(0) Option3(3) Option3(2) Option3(3) Option3(2)", "4120|4120",
     "IBM1 IBM2 IBM1 ISO IBM3 ISO IBM3"},
    {"Tab comes back to the set the arrows chose", true, "Option3(3)", nullptr, "Right Tab S+Tab",
     "Option3(0) Text2(0) Option3(0)", "4100|4100", "IBM1"},
    {"the arrow keys choose the write strength; its tab order does not matter", true, "Option4(0)",
     nullptr, "Right Right Right Left", "Option4(1) Option4(2) Option4(0) Option4(2)", "4132|4132",
     "2/3 3/3 1/3 3/3"},
    {"the arrow keys choose the write config", true, "Option2(1)", nullptr, "Down Down Up",
     "Option2(2) Option2(0) Option2(2)", "4230|4230", ""},
    {"the arrow keys pass a disabled option", true, "Option1(4)",
     [](WindowModel& w) { w.modeOptions[3].setEnabled(false); }, "Up Up Down Down",
     "Option1(2) Option1(1) Option1(2) Option1(4)", "4130|4130", ""},
    {"a group with no option selected: each option that can take the focus is a stop", true,
     "chkGetFirmwareVersion", [](WindowModel& w) { w.itripOptions[0].setValue(false); },
     "Tab Tab Tab Tab S+Tab Right",
     "Option4(0) Option4(2) Option4(1) Text1(0) Option4(1) Option4(2)", "4132|4132", "3/3"},
    {"a selected option that is disabled: Tab lands on the first that can take the focus", true,
     "Option2(1)", [](WindowModel& w) { w.charSetOptions[3].setEnabled(false); },
     "Tab Tab Right Right", "Option3(0) Option3(1) Option3(2) Option3(0)", "4100|4100",
     "IBM3 IBM1"},
    {"a mode chosen by arrows: Tab goes on after the row it came in by", true, "Text2(2)", nullptr,
     "Tab Up Tab", "Option1(4) Option1(3) Text3", "3130|3130", ""},
    {"in a read mode Tab passes the locked write config and the hidden read-back boxes", true,
     "Option1(4)", nullptr, "Up Tab Tab Tab Tab Tab",
     "Option1(3) Command2(0) Command2(2) Option3(3) Option1(3) Text3", "3130|3130", ""},
    {"after Alt+R into the mode group Tab goes on from the row it is in", true, "Text2(2)", nullptr,
     "Tab Alt+R Alt+R Tab", "Option1(4) Command2(2) Option1(1) Command2(0)", "4130|4130", ""},
    {"a hand-over left open by Disconnect is not taken up by a later Start", true, "Command2(0)",
     nullptr, "Alt+D wait Alt+C wait Alt+S wait",
     "Command2(0) Text2(0) Text2(0) Text2(0) Text2(0) Text2(0)", "4130|4130",
     "Reset ISO 1/3 frame"},
    {"Alt+R while idle only moves the focus between its two controls", true, "Text1(0)", nullptr,
     "Alt+R Alt+R Alt+R wait", "Command2(2) Option1(1) Command2(2) Command2(2)", "4130|4130", ""},
    {"Alt+R during a run presses Reset Counter", true, "Command2(0)", nullptr, "Space Alt+R wait",
     "Command2(1) Command2(1) Command2(1)", "4130|4130", "1/3 frame Reset"},
};

TEST(Keyboard, KeySequencesMoveTheFocusSelectAndSendAsTheOperatorExpects) {
    for (const KeyRow& row : kKeyRows) {
        SCOPED_TRACE(row.what);
        ViewBench b;
        if (row.connected)
            b.connect();
        if (row.before != nullptr)
            row.before(b.window);
        b.widget(row.focusedFirst)->setFocus(Qt::OtherFocusReason);
        ASSERT_EQ(focusedName(b), row.focusedFirst);
        b.line.clearRecord();
        std::string trail;
        for (const QString& key : QString(row.keys).split(' ')) {
            press(b, key);
            trail += (trail.empty() ? "" : " ") + focusedName(b);
        }
        EXPECT_EQ(trail, row.focusTrail);
        EXPECT_EQ(selectedOptions(b), row.selected);
        EXPECT_EQ(sentCommands(b.line), row.sent);
    }
}

} // namespace
} // namespace dornal::testing
