#pragma once

#include <QIcon>
#include <QImage>

namespace dornal::view {

// The window's own icon: a magnetic stripe card in front of its reader, 32 by 32 pixels in
// the sixteen standard colours, drawn here pixel by pixel.
QImage windowIconImage();
QIcon makeWindowIcon();

} // namespace dornal::view
