#pragma once

#include "support/bench_fixture.h"
#include "ui/view/form1_view.h"

#include <QApplication>
#include <QWidget>

#include <gtest/gtest.h>

#include <string>

namespace dornal::testing {

// A loaded window model with the window on the (offscreen) screen bound to it.
struct ViewBench : Bench {
    view::Form1View view{form};

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
