// Texts, carets, colours and lengths between the model and the widgets.
#include "ui/view/app_icon.h"
#include "ui/view/colors.h"
#include "ui/view/layout.h"
#include "ui/view/model_text.h"

#include <gtest/gtest.h>

#include <set>

namespace dornal::view {
namespace {

TEST(ModelText, LatinOneWithWindowsLineBreaksAndNoAccessKeys) {
    EXPECT_EQ(toWidgetText("1\r\n2\r3\n4"), "1\n2\n3\n4");
    EXPECT_EQ(toWidgetText("\xe9"), QString::fromUtf8("\u00e9"));
    EXPECT_EQ(toModelText("12\n34"), "12\r\n34");
    EXPECT_EQ(toModelText(QString::fromUtf8("\u00e9\u20ac")), "\xe9?");
    EXPECT_EQ(withoutAccessKeys("&Connect"), "Connect");
    EXPECT_EQ(withoutAccessKeys("Track2&&3 Char Set"), "Track2&3 Char Set");
    EXPECT_EQ(withoutAccessKeys("end&"), "end");
}

TEST(ModelText, CaretPositionsCountCrLfAsOneLineBreak) {
    const std::pair<int, int> pairs[] = {{0, 0}, {2, 2}, {4, 3}, {6, 5}, {6, 99}};
    for (const auto& [inModel, inWidget] : pairs)
        EXPECT_EQ(toModelPosition("ab\ncd", inWidget), inModel) << inWidget;
    for (const auto& [inModel, inWidget] : {std::pair{0, 0}, {2, 2}, {4, 3}, {6, 5}, {99, 5}})
        EXPECT_EQ(toWidgetPosition("ab\r\ncd", inModel), inWidget) << inModel;
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
    const std::pair<int, int> cases[] = {{9105, 607}, {7845, 523}, {7, 0},
                                         {8, 1},      {22, 1},     {23, 2}};
    for (const auto& [twips, pixels] : cases)
        EXPECT_EQ(twipsToPixels(twips), pixels) << twips;
}

TEST(Icon, ThirtyTwoPixelsInTheSixteenStandardColours) {
    const QImage image = windowIconImage();
    ASSERT_EQ(image.size(), QSize(32, 32));
    std::set<QRgb> standard{qRgb(192, 192, 192)}, used;
    for (int r : {0, 128})
        for (int g : {0, 128})
            for (int b : {0, 128}) {
                standard.insert(qRgb(r, g, b));
                standard.insert(qRgb(r * 255 / 128, g * 255 / 128, b * 255 / 128));
            }
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
