// The window as the operator first sees it: caption, size, icon, every control at its place
// with its caption and state, the keyboard focus order, the drawing and what a screen reader
// says.
#include "engine/status_texts.h"
#include "ui/view/app_icon.h"
#include "ui/view/layout.h"
#include "view_bench.h"

#include <set>

namespace dornal::testing {
namespace {

// A sample of the window as designed, one or more of each kind, in twips (frame "": the window
// itself); captions, contents and states as they stand after loading.
// {name, frame, caption, state (10 if enabled, plus 1 if checked), left, top, width, height}
using Place = std::tuple<const char*, const char*, const char*, int, int, int, int, int>;
const Place kWindow[] = {
    {"Combo2", "", "9600", 10, 120, 720, 1095, 315},
    {"Command1(0)", "", "&Connect", 10, 1320, 240, 1215, 615},
    {"Frame1", "", "Action", 10, 2640, 0, 2295, 2535},
    {"Option1(2)", "Frame1", "Singal Writ&e", 0, 120, 720, 1215, 255},
    {"Line1", "Frame1", "", 10, 120, 1320, 2040, 15}, // a one-pixel line
    {"tx_WriteTimesPerLoop", "Frame1", "1", 0, 600, 1800, 855, 285},
    {"Option2(0)", "Frame2", "&Not Chage Data", 10, 120, 240, 1575, 255},
    {"Option2(1)", "Frame2", "Add &Test  Char", 11, 120, 600, 1455, 255},
    {"Option2(2)", "Frame2", "Add Serie N&umber", 10, 120, 840, 1695, 375},
    {"Option4(1)", "Frame4", "2/3", 10, 720, 240, 615, 495},
    {"chkGetFirmwareVersion", "", "Get &Firmware Version", 10, 5040, 2160, 2175, 375},
    {"Command2(1)", "", "&Abandon Action", 0, 7320, 960, 1695, 735},
    {"Check1(1)", "", "Track &2", 1, 120, 4440, 975, 375},
    {"Label17", "", "Length:", 10, 120, 6960, 615, 255},
    {"Frame3", "", "Track2&&3 Char Set", 10, 1560, 3840, 6735, 615},
    {"Option3(3)", "Frame3", "ISO Char Set", 1, 120, 240, 1335, 255},
};

TEST(Window, HasItsCaptionSizeIconAndEveryControlAtItsPlaceWithItsCaptionAndStateOfLoading) {
    ViewBench b;
    EXPECT_EQ(b.view.windowTitle(), "Dornal Test 1.10");
    EXPECT_EQ(b.view.size(), QSize(607, 523));
    EXPECT_EQ(b.view.minimumSize(), b.view.maximumSize()) << "the window cannot be resized";
    EXPECT_TRUE(b.view.windowIcon().availableSizes().contains(QSize(32, 32)));
    for (const auto& [name, frame, caption, state, left, top, width, height] : kWindow) {
        SCOPED_TRACE(name);
        QWidget* w = b.widget(name);
        ASSERT_TRUE(w);
        QString shown; // each kind has one of these properties, a line none
        for (const char* property : {"currentText", "title", "plainText", "text"})
            shown += w->property(property).toString();
        EXPECT_EQ(shown, QString::fromLatin1(caption));
        EXPECT_EQ(w->isEnabled() * 10 + w->property("checked").toBool(), state);
        EXPECT_EQ(w->parentWidget(), *frame ? b.widget(frame) : &b.view);
        EXPECT_EQ(w->geometry(), QRect(left / 15, top / 15, width / 15, height / 15));
    }
    auto* bauds = b.widget<QComboBox>("Combo2"); // the rates listed, the fourth chosen
    EXPECT_EQ(bauds->itemText(7) + QString::number(bauds->currentIndex()), "1152003");
    EXPECT_EQ(b.widget<QFrame>("Line1")->frameShape(), QFrame::HLine);
    EXPECT_TRUE(b.widget<QComboBox>("Combo1")->isEditable());
    EXPECT_EQ(b.widget<QPlainTextEdit>("Text1(0)")->lineWrapMode(), QPlainTextEdit::WidgetWidth);
}

const char* kTabOrder =
    "Text1(0) Text1(1) Text1(2) Check1(0) Check1(1) Check1(2) Combo1 Combo2 Command1(0) "
    "Command1(1) "
    "Option1(0) Option1(1) Option1(2) Option1(3) Command2(0) Command2(2) Command2(1) Option2(0) "
    "Option2(1) Option2(2) Option3(0) Option3(1) Option3(2) Option3(3) Text2(0) Text2(1) Text2(2) "
    "Option1(4) Text3 tx_WriteTimesPerLoop tx_ReadTimesPerLoop chkGetFirmwareVersion Option4(0) "
    "Option4(2) Option4(1)";

// A digest of the bytes given, so that a picture of many numbers can be pinned in one line.
std::uint64_t digest(const QByteArray& bytes) {
    std::uint64_t hash = 14695981039346656037u;
    for (char c : bytes)
        hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211u;
    return hash;
}

// The geometry of every control as loaded, and the icon's pixels, as designed: pinned as
// digests (the table above checks a sample by its numbers). A deliberate change of the layout
// or the icon changes these values with it.
TEST(Window, EveryPlaceAndTheIconAreAsDesigned) {
    ViewBench b;
    QByteArray places;
    for (const view::ControlPlace& place : view::windowLayout()) {
        // Designed on the pixel grid: a place off it is a slip that rounding would hide.
        EXPECT_EQ(place.left % 15 + place.top % 15 + place.width % 15 + place.height % 15, 0)
            << place.name;
        const QRect r = b.view.control(place.name)->geometry();
        places +=
            QString("%1 %2 %3 %4;").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height()).toLatin1();
    }
    const QImage icon = view::windowIconImage();
    const QByteArray pixels(reinterpret_cast<const char*>(icon.constBits()),
                            static_cast<qsizetype>(icon.sizeInBytes()));
    EXPECT_EQ(digest(places), 17782479225629977363u);
    EXPECT_EQ(digest(pixels), 11213937751967940301u);
}

TEST(Window, KeyboardFocusFollowsTheDesignedOrderAndTabLeavesATrackBox) {
    ViewBench b;
    b.connect();
    const QStringList order = QString(kTabOrder).split(' ');
    QStringList chain;
    QWidget* w = b.widget("Text1(0)");
    do {
        if (order.contains(w->objectName()) && w->focusPolicy() & Qt::TabFocus)
            chain.push_back(w->objectName());
        w = w->nextInFocusChain();
    } while (w != b.widget("Text1(0)") && chain.size() <= order.size());
    EXPECT_EQ(chain, order);
    w->setFocus();
    QTest::keyClick(w, Qt::Key_Tab);
    EXPECT_TRUE(b.widget("Text1(1)")->hasFocus());
    EXPECT_EQ(b.window.trackBox(1).text(), "");
}

// Run also with QT_SCALE_FACTOR 1.5 and 2 (see tests/CMakeLists.txt).
TEST(WindowDrawing, FrameLinesPassAroundTheirButtonsAndClearOfTheControlsBelow) {
    ViewBench b;
    for (const char* name : {"Frame1", "Frame2", "Frame3", "Frame4"}) {
        SCOPED_TRACE(name);
        // The first and last pixel rows the frame paints itself (no children), in device pixels:
        // its top and bottom lines, looked for in its right quarter, clear of the caption.
        auto* frame = b.widget<QGroupBox>(name);
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
        ASSERT_GE(first, 0);
        for (const QRadioButton* button : frame->findChildren<QRadioButton*>()) // within the lines
            EXPECT_TRUE((first + 1) / ratio < button->y() &&
                        last / ratio > button->y() + button->height())
                << button->objectName().toStdString();
        for (const QWidget* other : b.view.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            const QRect place = other->geometry();
            if (place.top() <= frame->y() || place.left() > frame->geometry().right() ||
                place.right() < frame->x())
                continue;
            EXPECT_LT(frame->y() + (last + 1) / ratio, place.top())
                << other->objectName().toStdString();
        }
    }
}

TEST(WindowDrawing, EveryCaptionAndStatusTextIsSeenWhole) {
    ViewBench b;
    // The write statuses are shorter: at most four bytes in hex.
    const char* texts[] = {kAnswerTimeoutText,
                           kNotReadyText,
                           kAnswerTooLongText,
                           kPortErrorText,
                           "Internal fault: std::bad_alloc",
                           "1B 22 70 71- 0"};
    auto seenWhole = [](const QLabel* label) {
        const QRect room = label->contentsRect();
        return room.contains(label->fontMetrics().boundingRect(
            room, static_cast<int>(label->alignment()) | Qt::TextWordWrap, label->text()));
    };
    for (const QLabel* label : b.view.findChildren<QLabel*>())
        EXPECT_TRUE(seenWhole(label)) << label->objectName().toStdString();
    for (const char* text : texts) {
        b.window.statusLabel.setCaption(text);
        EXPECT_TRUE(seenWhole(b.widget<QLabel>("Label5"))) << text;
    }
}

// What the platform's accessibility interface (AT-SPI) reads out: every box has a name and
// every value label a description, each its own; a value label's name is what it shows.
TEST(WindowAccessibility, BoxesAreNamedAndValueLabelsSayWhatTheyCount) {
    ViewBench b;
    auto spoken = [&b](const std::string& name, QAccessible::Text what) {
        QWidget* widget = b.widget(QString::fromStdString(name));
        if (auto* combo = qobject_cast<QComboBox*>(widget))
            widget = combo->lineEdit(); // what an editable combo box is read out by
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
        return face ? face->text(what).toStdString() : "(not accessible)";
    };
    EXPECT_EQ(spoken("Combo2", QAccessible::Name), "Line rate");
    EXPECT_EQ(spoken("Label1(2)", QAccessible::Description), "Track 2 total");
    std::set<std::string> names, descriptions;
    using K = view::ControlKind;
    for (const view::ControlPlace& place : view::windowLayout()) {
        const std::string c(place.name);
        if (place.kind == K::TextLine || place.kind == K::TextMultiLine ||
            place.kind == K::ComboBox) {
            EXPECT_TRUE(names.insert(spoken(c, QAccessible::Name)).second) << c;
        }
        if (c.starts_with("Label1(") || c.starts_with("Label3(") || c.starts_with("lb_") ||
            c == "Label5") {
            EXPECT_TRUE(descriptions.insert(spoken(c, QAccessible::Description)).second) << c;
            EXPECT_EQ(spoken(c, QAccessible::Name),
                      b.widget<QLabel>(c.c_str())->text().toStdString());
        }
    }
    EXPECT_EQ(names.count("") + descriptions.count(""), 0u);
}

} // namespace
} // namespace dornal::testing
