#pragma once

#include "ui/view/window_view.h"
#include "window_fixture.h"

#include <QApplication>
#include <QWidget>

#include <gtest/gtest.h>

#include <string>

namespace dornal::testing {

// A loaded window model with the window on the (offscreen) screen bound to it.
struct ViewBench : TestWindow {
    view::WindowView view{window};

    ViewBench() {
        view.show();
        QApplication::setActiveWindow(&view);
    }

    template <typename W = QWidget> W* widget(const std::string& name) {
        auto* found = view.findChild<W*>(QString::fromStdString(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
};

} // namespace dornal::testing
