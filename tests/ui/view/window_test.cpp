// The window as the operator first sees it: caption, size, icon, every control at its place
// with its caption, and the keyboard focus order.
#include "engine/status_texts.h"
#include "reader/answers.h"
#include "shared/protocol.h"
#include "ui/view/layout.h"
#include "view_bench.h"

#include <QAccessible>
#include <QComboBox>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QRegularExpression>
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

// A sample of the window as designed, one or more of each kind, in twips; captions and
// contents as they stand after loading.
const Expected kWindow[] = {
    {"Combo2", Kind::Combo, "", "9600", 120, 720, 1095, 315},
    {"Command1(0)", Kind::Button, "", "&Connect", 1320, 240, 1215, 615},
    {"Frame1", Kind::Frame, "", "Action", 2640, 0, 2295, 2535},
    {"Option1(2)", Kind::Option, "Frame1", "Singal Writ&e", 120, 720, 1215, 255},
    {"Line1", Kind::Rule, "Frame1", "", 120, 1320, 2040, 15}, // a one-pixel line
    {"tx_WriteTimesPerLoop", Kind::LineBox, "Frame1", "1", 600, 1800, 855, 285},
    {"Option2(0)", Kind::Option, "Frame2", "&Not Chage Data", 120, 240, 1575, 255},
    {"Option2(1)", Kind::Option, "Frame2", "Add &Test  Char", 120, 600, 1455, 255},
    {"Option2(2)", Kind::Option, "Frame2", "Add Serie N&umber", 120, 840, 1695, 375},
    {"Option4(1)", Kind::Option, "Frame4", "2/3", 720, 240, 615, 495},
    {"chkGetFirmwareVersion", Kind::Check, "", "Get &Firmware Version", 5040, 2160, 2175, 375},
    {"Command2(1)", Kind::Button, "", "&Abandon Action", 7320, 960, 1695, 735},
    {"Label1(0)", Kind::Label, "", "0", 1200, 1800, 855, 255},
    {"Label5", Kind::Label, "", "", 720, 2160, 1860, 465},
    {"Check1(1)", Kind::Check, "", "Track &2", 120, 4440, 975, 375},
    {"Text1(2)", Kind::MultiBox, "", "", 1560, 5880, 7455, 495},
    {"Text2(0)", Kind::MultiBox, "", "", 1560, 3120, 7455, 495},
    {"lb_T3ReadCounter", Kind::Label, "", "0", 720, 6720, 735, 255},
    {"Label17", Kind::Label, "", "Length:", 120, 6960, 615, 255},
    {"Frame3", Kind::Frame, "", "Track2&&3 Char Set", 1560, 3840, 6735, 615},
    {"Option3(3)", Kind::Option, "Frame3", "ISO Char Set", 120, 240, 1335, 255},
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
    EXPECT_EQ(seen.size(), std::size(kWindow));
    EXPECT_EQ(b.view
                  .findChildren<QWidget*>(QRegularExpression(
                      "^(Text|Label|Option|Check|Command|Combo|Frame|lb_|tx_|chk|Line)"))
                  .size(),
              73)
        << "each control is one widget";
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
    EXPECT_EQ(b.window.trackBox(1).text(), "");
}

// The first and last pixel rows that a frame paints itself (no children), in device pixels:
// its top and bottom lines, looked for in its right quarter, clear of the caption.
std::pair<int, int> drawnRows(QGroupBox* frame) {
    const qreal ratio = frame->devicePixelRatioF();
    QImage image((QSizeF(frame->size()) * ratio).toSize(), QImage::Format_ARGB32);
    image.setDevicePixelRatio(ratio);
    const QColor background = frame->palette().color(QPalette::Window);
    image.fill(background);
    frame->render(&image, {}, {}, QWidget::RenderFlags());
    int first = -1, last = -1;
    for (int y = 0; y < image.height(); ++y)
        for (int x = image.width() * 3 / 4; x < image.width(); ++x)
            if (image.pixelColor(x, y) != background) {
                first = first < 0 ? y : first;
                last = y;
                break;
            }
    return {first, last};
}

// Run also with QT_SCALE_FACTOR 1.5 and 2 (see tests/CMakeLists.txt).
TEST(WindowDrawing, FrameLinesPassAroundTheirButtonsAndClearOfTheControlsBelow) {
    ViewBench b;
    for (const char* name : {"Frame1", "Frame2", "Frame3", "Frame4"}) {
        SCOPED_TRACE(name);
        auto* frame = b.widget<QGroupBox>(name);
        const auto [first, last] = drawnRows(frame);
        ASSERT_GE(first, 0);
        const qreal ratio = frame->devicePixelRatioF();
        const qreal top = (first + 1) / ratio, bottom = last / ratio; // within the lines
        for (const QRadioButton* button : frame->findChildren<QRadioButton*>()) {
            EXPECT_LT(top, button->y()) << button->objectName().toStdString();
            EXPECT_GT(bottom, button->y() + button->height()) << button->objectName().toStdString();
        }
        for (const QWidget* other : b.view.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            const QRect place = other->geometry();
            if (place.top() > frame->y() && place.left() <= frame->geometry().right() &&
                place.right() >= frame->x()) {
                EXPECT_LT(frame->y() + (last + 1) / ratio, place.top())
                    << other->objectName().toStdString();
            }
        }
    }
}

TEST(WindowDrawing, EveryCaptionAndStatusTextIsSeenWhole) {
    ViewBench b;
    std::vector<std::string> texts{kAnswerTimeoutText, kNotReadyText, kAnswerTooLongText,
                                   kPortErrorText, "Internal fault: std::bad_alloc"};
    for (const protocol::WriteCode& code : protocol::kWriteCodes)
        for (std::uint8_t result : {protocol::kWriteOk, protocol::kWriteFailed}) {
            AnswerBuffer answer;
            answer.bytes.fill('M');
            answer.bytes[0] = code.code;
            answer.bytes[static_cast<std::size_t>(code.resultPosition)] = result;
            answer.length = code.resultPosition + 1;
            texts.push_back(decodeWriteAnswer(answer).status);
        }
    auto seenWhole = [](const QLabel* label) {
        const QRect room = label->contentsRect();
        return room.contains(label->fontMetrics().boundingRect(
            room, static_cast<int>(label->alignment()) | Qt::TextWordWrap, label->text()));
    };
    for (const QLabel* label : b.view.findChildren<QLabel*>())
        EXPECT_TRUE(seenWhole(label)) << label->objectName().toStdString();
    auto* status = b.widget<QLabel>("Label5");
    for (const std::string& text : texts) {
        b.window.statusLabel.setCaption(text);
        EXPECT_TRUE(seenWhole(status)) << text;
    }
}

// What the platform's accessibility interface (AT-SPI) reads out.
TEST(WindowAccessibility, BoxesAreNamedAndValueLabelsSayWhatTheyCount) {
    ViewBench b;
    auto spoken = [&b](const std::string& name, QAccessible::Text what) {
        QWidget* widget = b.widget(name);
        if (auto* combo = qobject_cast<QComboBox*>(widget))
            widget = combo->lineEdit(); // what an editable combo box is read out by
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
        return face ? face->text(what).toStdString() : "(not accessible)";
    };
    const struct {
        const char *control, *name, *description;
    } rows[] = {
        {"Text1(0)", "Track 1 data", ""},    {"tx_WriteTimesPerLoop", "Write times per loop", ""},
        {"Text3", "Firmware version", ""},   {"Combo2", "Line rate", ""},
        {"Label1(2)", "0", "Track 2 total"}, {"Label5", "", "Status"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(spoken(row.control, QAccessible::Name), row.name) << row.control;
        EXPECT_EQ(spoken(row.control, QAccessible::Description), row.description) << row.control;
    }
    // Every box has a name and every value label a description, each its own; a value label's
    // name is what it shows.
    std::set<std::string> names, descriptions;
    for (const view::ControlPlace& place : view::windowLayout()) {
        const std::string control(place.name);
        const bool box = place.kind == view::ControlKind::TextLine ||
                         place.kind == view::ControlKind::TextMultiLine ||
                         place.kind == view::ControlKind::ComboBox;
        const bool value = control.starts_with("Label1(") || control.starts_with("Label3(") ||
                           control.starts_with("lb_") || control == "Label5";
        if (box) {
            EXPECT_TRUE(names.insert(spoken(control, QAccessible::Name)).second) << control;
        }
        if (value) {
            EXPECT_TRUE(descriptions.insert(spoken(control, QAccessible::Description)).second)
                << control;
            EXPECT_EQ(spoken(control, QAccessible::Name),
                      b.widget<QLabel>(control)->text().toStdString());
        }
    }
    EXPECT_EQ(names.count(""), 0u);
    EXPECT_EQ(descriptions.count(""), 0u);
}

} // namespace
} // namespace dornal::testing
