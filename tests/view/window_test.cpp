// The window as the operator first sees it: caption, size, icon, every control at its place
// with its caption, and the keyboard focus order.
#include "view_bench.h"

#include <QComboBox>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTest>

#include <set>

namespace dornal::testing {
namespace {

enum class Kind { Combo, Button, Frame, Option, Check, LineBox, MultiBox, Label, Rule };

// The widget class of each kind and the property that shows its caption or content.
const std::pair<const char*, const char*> kKinds[] = {
    {"QComboBox", "currentText"},    {"QPushButton", "text"}, {"QGroupBox", "title"},
    {"QRadioButton", "text"},        {"QCheckBox", "text"},   {"QLineEdit", "text"},
    {"QPlainTextEdit", "plainText"}, {"QLabel", "text"},      {"QFrame", ""}};

struct Expected {
    const char* name;
    Kind kind;
    const char* frame; // "" for the window itself
    const char* caption;
    int left, top, width, height; // twips
};

// The window as designed, in twips; captions and contents as they stand after loading.
const Expected kWindow[] = {
    {"Combo1", Kind::Combo, "", "COM 1", 120, 240, 1095, 315},
    {"Combo2", Kind::Combo, "", "9600", 120, 720, 1095, 315},
    {"Command1(0)", Kind::Button, "", "&Connect", 1320, 240, 1215, 615},
    {"Command1(1)", Kind::Button, "", "&Disconnect", 1320, 960, 1215, 615},
    {"Frame1", Kind::Frame, "", "Action", 2640, 0, 2295, 2535},
    {"Option1(0)", Kind::Option, "Frame1", "Auto &Write Loop", 120, 240, 1695, 255},
    {"Option1(1)", Kind::Option, "Frame1", "Auto &Read Loop", 120, 480, 1695, 255},
    {"Option1(2)", Kind::Option, "Frame1", "Singal Writ&e", 120, 720, 1215, 255},
    {"Option1(3)", Kind::Option, "Frame1", "Sin&gal Read", 120, 960, 1215, 255},
    {"Line1", Kind::Rule, "Frame1", "", 120, 1320, 2040, 15}, // a one-pixel line
    {"Option1(4)", Kind::Option, "Frame1", "Auto Write/Read &Loop", 120, 1440, 1935, 255},
    {"Label7", Kind::Label, "Frame1", "Write", 120, 1800, 495, 255},
    {"tx_WriteTimesPerLoop", Kind::LineBox, "Frame1", "1", 600, 1800, 855, 285},
    {"Label8", Kind::Label, "Frame1", "Times", 1560, 1800, 495, 255},
    {"Label9", Kind::Label, "Frame1", "Read", 120, 2160, 495, 255},
    {"tx_ReadTimesPerLoop", Kind::LineBox, "Frame1", "1", 600, 2160, 855, 285},
    {"Label10", Kind::Label, "Frame1", "Times", 1560, 2160, 495, 255},
    {"Frame2", Kind::Frame, "", "Write Config", 5040, 0, 2175, 1335},
    {"Option2(0)", Kind::Option, "Frame2", "&Not Chage Data", 120, 240, 1575, 255},
    {"Option2(1)", Kind::Option, "Frame2", "Add &Test  Char", 120, 600, 1455, 255},
    {"Option2(2)", Kind::Option, "Frame2", "Add Serie N&umber", 120, 840, 1695, 375},
    {"Frame4", Kind::Frame, "", "Itrip Set", 5040, 1320, 2175, 855},
    {"Option4(0)", Kind::Option, "Frame4", "1/3", 120, 240, 615, 495},
    {"Option4(1)", Kind::Option, "Frame4", "2/3", 720, 240, 615, 495},
    {"Option4(2)", Kind::Option, "Frame4", "3/3", 1320, 240, 615, 495},
    {"chkGetFirmwareVersion", Kind::Check, "", "Get &Firmware Version", 5040, 2160, 2175, 375},
    {"Command2(0)", Kind::Button, "", "&Start Action", 7320, 120, 1695, 735},
    {"Command2(1)", Kind::Button, "", "&Abandon Action", 7320, 960, 1695, 735},
    {"Command2(2)", Kind::Button, "", "&Reset Counter", 7320, 1800, 1695, 735},
    {"Label2", Kind::Label, "", "Loop Times:", 120, 1800, 975, 255},
    {"Label1(0)", Kind::Label, "", "0", 1200, 1800, 855, 255},
    {"Label4", Kind::Label, "", "Status:", 120, 2160, 495, 255},
    {"Label5", Kind::Label, "", "", 720, 2160, 1815, 255},
    {"Check1(0)", Kind::Check, "", "Track &1", 120, 2640, 855, 375},
    {"Check1(1)", Kind::Check, "", "Track &2", 120, 4440, 975, 375},
    {"Check1(2)", Kind::Check, "", "Track &3", 120, 5880, 975, 375},
    {"Text1(0)", Kind::MultiBox, "", "", 1560, 2640, 7455, 495},
    {"Text1(1)", Kind::MultiBox, "", "", 1560, 4440, 7455, 495},
    {"Text1(2)", Kind::MultiBox, "", "", 1560, 5880, 7455, 495},
    {"Text2(0)", Kind::MultiBox, "", "", 1560, 3120, 7455, 495},
    {"Text2(1)", Kind::MultiBox, "", "", 1560, 4920, 7455, 495},
    {"Text2(2)", Kind::MultiBox, "", "", 1560, 6360, 7455, 495},
    {"Label13", Kind::Label, "", "Total:", 120, 3000, 495, 255},
    {"Label16", Kind::Label, "", "Total:", 120, 4800, 495, 255},
    {"Label18", Kind::Label, "", "Total:", 120, 6240, 495, 255},
    {"Label1(1)", Kind::Label, "", "0", 720, 3000, 735, 255},
    {"Label1(2)", Kind::Label, "", "0", 720, 4800, 735, 255},
    {"Label1(3)", Kind::Label, "", "0", 720, 6240, 735, 255},
    {"Label12", Kind::Label, "", "Write:", 120, 3240, 495, 255},
    {"Label19", Kind::Label, "", "Write:", 120, 5040, 495, 255},
    {"Label21", Kind::Label, "", "Write:", 120, 6480, 495, 255},
    {"lb_T1WriteCounter", Kind::Label, "", "0", 720, 3240, 735, 255},
    {"lb_T2WriteCounter", Kind::Label, "", "0", 720, 5040, 735, 255},
    {"lb_T3WriteCounter", Kind::Label, "", "0", 720, 6480, 735, 255},
    {"Label11", Kind::Label, "", "Read:", 120, 3480, 495, 255},
    {"Label20", Kind::Label, "", "Read:", 120, 5280, 495, 255},
    {"Label22", Kind::Label, "", "Read:", 120, 6720, 495, 255},
    {"lb_T1ReadCounter", Kind::Label, "", "0", 720, 3480, 735, 255},
    {"lb_T2ReadCounter", Kind::Label, "", "0", 720, 5280, 735, 255},
    {"lb_T3ReadCounter", Kind::Label, "", "0", 720, 6720, 735, 255},
    {"Label14", Kind::Label, "", "Length:", 120, 3720, 615, 255},
    {"Label15", Kind::Label, "", "Length:", 120, 5520, 615, 255},
    {"Label17", Kind::Label, "", "Length:", 120, 6960, 615, 255},
    {"Label3(0)", Kind::Label, "", "0", 720, 3720, 735, 255},
    {"Label3(1)", Kind::Label, "", "0", 720, 5520, 735, 255},
    {"Label3(2)", Kind::Label, "", "0", 720, 6960, 735, 255},
    {"Frame3", Kind::Frame, "", "Track2&&3 Char Set", 1560, 3840, 6735, 615},
    {"Option3(3)", Kind::Option, "Frame3", "ISO Char Set", 120, 240, 1335, 255},
    {"Option3(0)", Kind::Option, "Frame3", "IBM Char Set1", 1680, 240, 1455, 255},
    {"Option3(1)", Kind::Option, "Frame3", "IBM Char Set2", 3360, 240, 1455, 255},
    {"Option3(2)", Kind::Option, "Frame3", "IBM Char Set3", 5040, 240, 1455, 255},
    {"Label6", Kind::Label, "", "Firmware Version:", 120, 7320, 1335, 255},
    {"Text3", Kind::MultiBox, "", "", 1560, 7200, 7455, 525},
};

TEST(Window, HasItsCaptionFixedClientSizeAndOwnIcon) {
    ViewBench b;
    EXPECT_EQ(b.view.windowTitle(), "Dornal Test 1.10");
    EXPECT_EQ(b.view.size(), QSize(607, 523));
    EXPECT_EQ(b.view.minimumSize(), b.view.maximumSize()) << "the window cannot be resized";
    EXPECT_TRUE(b.view.windowIcon().availableSizes().contains(QSize(32, 32)));
}

TEST(Window, EveryControlStandsAtItsPlaceWithItsCaption) {
    ViewBench b;
    std::set<QString> seen;
    for (const Expected& e : kWindow) {
        SCOPED_TRACE(e.name);
        QWidget* w = b.widget(e.name);
        ASSERT_NE(w, nullptr);
        seen.insert(w->objectName());
        const auto& [className, property] = kKinds[static_cast<int>(e.kind)];
        ASSERT_TRUE(w->inherits(className)) << w->metaObject()->className();
        if (e.kind != Kind::Rule) {
            EXPECT_EQ(w->property(property).toString(), QString::fromLatin1(e.caption));
        }
        EXPECT_EQ(w->parentWidget(), *e.frame ? b.widget(e.frame) : &b.view);
        EXPECT_EQ(w->geometry(), QRect(e.left / 15, e.top / 15, e.width / 15, e.height / 15));
    }
    EXPECT_EQ(seen.size(), std::size(kWindow)) << "each control is one widget";
    EXPECT_EQ(b.widget<QFrame>("Line1")->frameShape(), QFrame::HLine);
    EXPECT_TRUE(b.widget<QComboBox>("Combo1")->isEditable());
    EXPECT_EQ(b.widget<QPlainTextEdit>("Text1(0)")->lineWrapMode(), QPlainTextEdit::WidgetWidth);
}

TEST(Window, KeyboardFocusFollowsTheDesignedOrderAndTabLeavesATrackBox) {
    ViewBench b;
    b.connect();
    // clang-format off
    const std::vector<QString> order{
        "Text1(0)", "Text1(1)", "Text1(2)", "Check1(0)", "Check1(1)", "Check1(2)",
        "Combo1", "Combo2", "Command1(0)", "Command1(1)",
        "Option1(0)", "Option1(1)", "Option1(2)", "Option1(3)",
        "Command2(0)", "Command2(2)", "Command2(1)",
        "Option2(0)", "Option2(1)", "Option2(2)",
        "Option3(0)", "Option3(1)", "Option3(2)", "Option3(3)",
        "Text2(0)", "Text2(1)", "Text2(2)", "Option1(4)", "Text3",
        "tx_WriteTimesPerLoop", "tx_ReadTimesPerLoop", "chkGetFirmwareVersion",
        "Option4(0)", "Option4(2)", "Option4(1)"};
    // clang-format on
    const std::set<QString> focusable(order.begin(), order.end());
    std::vector<QString> chain;
    QWidget* start = b.widget("Text1(0)");
    QWidget* w = start;
    do {
        if (focusable.count(w->objectName()) && w->focusPolicy() & Qt::TabFocus)
            chain.push_back(w->objectName());
        w = w->nextInFocusChain();
    } while (w != start && chain.size() <= order.size());
    EXPECT_EQ(chain, order);

    start->setFocus();
    ASSERT_TRUE(start->hasFocus());
    QTest::keyClick(start, Qt::Key_Tab);
    EXPECT_TRUE(b.widget("Text1(1)")->hasFocus());
    EXPECT_EQ(b.form.Text1[0].text(), "");
}

} // namespace
} // namespace dornal::testing
