#pragma once

#include "ui/model/control.h"

#include <QColor>
#include <QPalette>

namespace dornal::view {

// The model's colour as the widget shows it. A plain value is blue-green-red; a system
// colour takes the nearest role of the platform's palette: the window background of text
// boxes is Base, the scroll-bar colour is Button (scroll bars are drawn in the button
// colour by most styles).
QColor toQColor(Color color, const QPalette& platform);

} // namespace dornal::view
