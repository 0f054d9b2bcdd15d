// The real alerts: a modal message with an OK button only, and no tick while it waits.
#include "ui/view/qt_alerts.h"
#include "view_bench.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QTimer>

namespace dornal::testing {
namespace {

// Looks at the next message box as the operator would, then answers it with OK.
void answerNextMessage(const std::function<void(QMessageBox*)>& look) {
    QTimer::singleShot(0, [look] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        look(box);
        box->button(QMessageBox::Ok)->click();
    });
}

TEST(QtAlerts, MessageBoxIsModalWithOkOnlyNoIconAndTheApplicationTitleByDefault) {
    ViewBench b;
    view::QtAlerts alerts(&b.view);
    for (const char* title : {"Dornal Test", ""}) {
        QStringList seen;
        answerNextMessage([&seen](QMessageBox* box) {
            seen << box->windowTitle() << box->text();
            EXPECT_EQ(box->standardButtons(), QMessageBox::Ok);
            EXPECT_EQ(box->icon(), QMessageBox::NoIcon);
            EXPECT_TRUE(box->isModal());
        });
        alerts.messageBox("Open COM Port Fail!", title);
        EXPECT_EQ(seen, QStringList({*title ? title : kApplicationTitle, "Open COM Port Fail!"}));
        EXPECT_FALSE(view::modalMessageOpen());
    }
}

TEST(QtAlerts, NoTickRunsWhileAMessageWaits) {
    ViewBench b;
    view::QtAlerts alerts(&b.view);
    int ticks = 0, ticksWhileOpen = -1;
    b.window.cycleTimer.onTick = [&ticks] { ++ticks; };
    b.window.cycleTimer.setEnabled(true);
    auto* timer = b.view.findChild<QTimer*>("Timer1");
    answerNextMessage([&](QMessageBox*) {
        QMetaObject::invokeMethod(timer, "timeout");
        ticksWhileOpen = ticks;
    });
    alerts.messageBox("Please select track to test!", "Dornal Test");
    EXPECT_EQ(ticksWhileOpen, 0);
    QMetaObject::invokeMethod(timer, "timeout");
    EXPECT_EQ(ticks, 1);
}

} // namespace
} // namespace dornal::testing
