#pragma once

#include "ui/model/control.h"

#include <QPointer>
#include <QWidget>

namespace dornal::view {

inline void showPresence(const Control& control, QWidget* widget) {
    widget->setEnabled(control.enabled());
    if (widget->isHidden() == control.visible())
        widget->setVisible(control.visible());
}

// Runs show(widget) now and after every change of the control, for as long as the widget
// lives (the model outlives the window).
template <typename W, typename Show> void follow(Control& control, W* widget, Show show) {
    QPointer<W> alive(widget);
    auto run = [alive, show] {
        if (alive)
            show(alive.data());
    };
    run();
    control.addListener(run);
}

} // namespace dornal::view
