#pragma once

#include "ui/view/window_view.h"
#include "window_fixture.h"

#include <QtTest>
#include <QtWidgets>

#include <gtest/gtest.h>

namespace dornal::testing {

// A loaded window model with the window on the (offscreen) screen bound to it; the widget
// classes its tests look at.
struct ViewBench : TestWindow {
    view::WindowView view{window};

    ViewBench() {
        view.show();
        QApplication::setActiveWindow(&view);
    }

    template <typename W = QWidget> W* widget(const QString& name) {
        auto* found = view.findChild<W*>(name);
        EXPECT_NE(found, nullptr) << name.toStdString();
        return found;
    }
};

} // namespace dornal::testing
