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

// The palette a box shows its back colour with: the platform's, its base the colour while the
// box is enabled. A disabled box looks disabled, in the platform's disabled colours, whatever
// its back colour.
QPalette withBackColor(Color color, QPalette platform);

} // namespace dornal::view
