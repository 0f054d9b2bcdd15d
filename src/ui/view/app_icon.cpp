#include "app_icon.h"

#include <QPixmap>

namespace dornal::view {
namespace {

constexpr int kSize = 32;

// Some of the sixteen standard colours.
const QColor kBlack(0, 0, 0);
const QColor kNavy(0, 0, 128);
const QColor kGray(128, 128, 128);
const QColor kSilver(192, 192, 192);
const QColor kWhite(255, 255, 255);
const QColor kRed(255, 0, 0);
const QColor kLime(0, 255, 0);
const QColor kTeal(0, 128, 128);

void fill(QImage& image, int left, int top, int width, int height, const QColor& color) {
    for (int y = top; y < top + height; ++y)
        for (int x = left; x < left + width; ++x)
            image.setPixelColor(x, y, color);
}

void outline(QImage& image, int left, int top, int width, int height, const QColor& color) {
    fill(image, left, top, width, 1, color);
    fill(image, left, top + height - 1, width, 1, color);
    fill(image, left, top, 1, height, color);
    fill(image, left + width - 1, top, 1, height, color);
}

} // namespace

QImage windowIconImage() {
    QImage image(kSize, kSize, QImage::Format_ARGB32);
    image.fill(Qt::transparent);

    // The card, half inserted: white with its dark stripe and two lines of print.
    fill(image, 5, 1, 22, 20, kWhite);
    outline(image, 5, 1, 22, 20, kBlack);
    fill(image, 6, 4, 20, 4, kNavy);
    fill(image, 8, 11, 12, 1, kTeal);
    fill(image, 8, 14, 8, 1, kTeal);

    // The reader: a grey body with a black slot the card goes into, and its two lamps.
    fill(image, 1, 18, 30, 12, kSilver);
    outline(image, 1, 18, 30, 12, kBlack);
    fill(image, 2, 28, 28, 1, kGray);
    fill(image, 4, 20, 24, 2, kBlack);
    fill(image, 22, 25, 2, 2, kLime);
    fill(image, 26, 25, 2, 2, kRed);
    return image;
}

QIcon makeWindowIcon() {
    return QIcon(QPixmap::fromImage(windowIconImage()));
}

} // namespace dornal::view
