// Texts, carets, colours and lengths between the model and the widgets.
#include "ui/view/app_icon.h"
#include "ui/view/colors.h"
#include "ui/view/layout.h"
#include "ui/view/model_text.h"

#include <gtest/gtest.h>

#include <set>

namespace dornal::view {
namespace {

TEST(ModelText, LatinOneWithWindowsLineBreaks) {
    EXPECT_EQ(toWidgetText("12\r\n34"), "12\n34");
    EXPECT_EQ(toWidgetText("1\r2\n3"), "1\n2\n3");
    EXPECT_EQ(toWidgetText("\xe9"), QString::fromUtf8("\u00e9"));
    EXPECT_EQ(toModelText("12\n34"), "12\r\n34");
    EXPECT_EQ(toModelText(QString::fromUtf8("\u00e9\u20ac")), "\xe9?");
}

TEST(ModelText, CaretPositionsCountCrLfAsOneLineBreak) {
    const std::string model = "ab\r\ncd";
    const QString widget = "ab\ncd";
    const std::pair<int, int> pairs[] = {{0, 0}, {2, 2}, {4, 3}, {6, 5}};
    for (const auto& [inModel, inWidget] : pairs) {
        EXPECT_EQ(toWidgetPosition(model, inModel), inWidget) << inModel;
        EXPECT_EQ(toModelPosition(widget, inWidget), inModel) << inWidget;
    }
    EXPECT_EQ(toWidgetPosition(model, 99), 5);
    EXPECT_EQ(toModelPosition(widget, 99), 6);
}

TEST(ModelText, AccessKeysAreNotShown) {
    EXPECT_EQ(withoutAccessKeys("&Connect"), "Connect");
    EXPECT_EQ(withoutAccessKeys("Track2&&3 Char Set"), "Track2&3 Char Set");
    EXPECT_EQ(withoutAccessKeys("Loop Times:"), "Loop Times:");
    EXPECT_EQ(withoutAccessKeys("end&"), "end");
}

struct Fit {
    const char* before;
    const char* after;
    int caret;
    int max;
    const char* text;
    int fittedCaret;
};

TEST(ModelText, EditsAreHeldToTheMaximumLength) {
    const Fit rows[] = {
        {"abc", "abcd", 4, 3, "abc", 3},  // typed at the end of a full box
        {"abc", "abXc", 3, 3, "abc", 2},  // typed in the middle of a full box
        {"ab", "abXYZ", 5, 3, "abX", 3},  // pasted at the end: cut
        {"ab", "aXYZb", 4, 3, "aXb", 2},  // pasted in the middle: the tail stays
        {"aa", "aaaa", 4, 3, "aaa", 3},   // repeated characters
        {"abc", "Xc", 1, 3, "Xc", 1},     // a selection replaced: shorter, untouched
        {"abc", "abcd", 4, 0, "abcd", 4}, // no limit
        {"abcd", "abcd", 4, 3, "abc", 3}, // an old text too long keeps its head
    };
    for (const Fit& row : rows) {
        SCOPED_TRACE(row.after);
        const FittedEdit fitted = fitToMaxLength(row.before, row.after, row.caret, row.max);
        EXPECT_EQ(fitted.text, row.text);
        EXPECT_EQ(fitted.caret, row.fittedCaret);
    }
}

TEST(Colors, PlainValuesAreBlueGreenRedAndSystemColoursComeFromThePalette) {
    QPalette palette;
    palette.setColor(QPalette::Base, QColor(1, 2, 3));
    palette.setColor(QPalette::Button, QColor(4, 5, 6));
    EXPECT_EQ(toQColor(kColorLightYellow, palette), QColor(255, 255, 128));
    EXPECT_EQ(toQColor(0x000000FF, palette), QColor(255, 0, 0));
    EXPECT_EQ(toQColor(0x00FF0000, palette), QColor(0, 0, 255));
    EXPECT_EQ(toQColor(kColorWindowBackground, palette), QColor(1, 2, 3));
    EXPECT_EQ(toQColor(kColorScrollBars, palette), QColor(4, 5, 6));
}

TEST(Twips, FifteenToThePixelRoundedToTheNearest) {
    EXPECT_EQ(twipsToPixels(9105), 607);
    EXPECT_EQ(twipsToPixels(7845), 523);
    EXPECT_EQ(twipsToPixels(7), 0);
    EXPECT_EQ(twipsToPixels(8), 1);
    EXPECT_EQ(twipsToPixels(22), 1);
    EXPECT_EQ(twipsToPixels(23), 2);
}

TEST(Icon, ThirtyTwoPixelsInTheSixteenStandardColours) {
    const QImage image = windowIconImage();
    ASSERT_EQ(image.size(), QSize(32, 32));
    const std::set<QRgb> standard{
        qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
        qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
        qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
        qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255)};
    std::set<QRgb> used;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            if (qAlpha(image.pixel(x, y)) == 255)
                used.insert(image.pixel(x, y));
    EXPECT_GE(used.size(), 2u);
    for (QRgb c : used)
        EXPECT_TRUE(standard.count(c)) << std::hex << c;
}

} // namespace
} // namespace dornal::view
