#pragma once

#include "ui/model/window_model.h"
#include "ui/window_controller.h"

#include <QCoreApplication>
#include <QEventLoop>

namespace dornal::testing {

// Lets Qt's event loop run until the step in progress, and the operator's actions held for
// after it, are done: what the operator would see once the window has caught up.
inline void settle(const WindowController& controller, const WindowModel& window) {
    while (controller.stepInProgress() || window.input.holding())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

} // namespace dornal::testing
