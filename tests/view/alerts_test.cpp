// The real alerts: a modal message with an OK button only, and no tick while it waits.
#include "ui/view/qt_alerts.h"
#include "view_bench.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QTimer>

namespace dornal::testing {
namespace {

struct SeenMessage {
    QString title, text;
    QMessageBox::StandardButtons buttons;
    QMessageBox::Icon icon = QMessageBox::Warning;
    bool modal = false;
    int ticksWhileOpen = -1;
};

// Answers the next message box as the operator would, after looking at it.
void answerNextMessage(SeenMessage& seen, const std::function<void()>& whileOpen = {}) {
    QTimer::singleShot(0, [&seen, whileOpen] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        seen.title = box->windowTitle();
        seen.text = box->text();
        seen.buttons = box->standardButtons();
        seen.icon = box->icon();
        seen.modal = box->isModal();
        if (whileOpen)
            whileOpen();
        box->button(QMessageBox::Ok)->click();
    });
}

TEST(QtAlerts, MessageBoxIsModalWithOkOnlyAndNoIcon) {
    ViewBench b;
    view::QtAlerts alerts(&b.view);
    SeenMessage seen;
    answerNextMessage(seen);
    alerts.messageBox("Open COM Port Fail!", "Dornal Test");
    EXPECT_EQ(seen.title, "Dornal Test");
    EXPECT_EQ(seen.text, "Open COM Port Fail!");
    EXPECT_EQ(seen.buttons, QMessageBox::Ok);
    EXPECT_EQ(seen.icon, QMessageBox::NoIcon);
    EXPECT_TRUE(seen.modal);
    EXPECT_FALSE(view::modalMessageOpen());
}

TEST(QtAlerts, AMessageWithoutTitleShowsTheApplicationTitle) {
    view::QtAlerts alerts;
    SeenMessage seen;
    answerNextMessage(seen);
    alerts.messageBox("Please select track to test!", "");
    EXPECT_EQ(seen.title, QString::fromLatin1(kApplicationTitle));
}

TEST(QtAlerts, NoTickRunsWhileAMessageWaits) {
    ViewBench b;
    view::QtAlerts alerts(&b.view);
    int ticks = 0;
    b.form.Timer1.onTick = [&ticks] { ++ticks; };
    b.form.Timer1.setEnabled(true);
    auto* timer = b.view.findChild<QTimer*>("Timer1");
    SeenMessage seen;
    answerNextMessage(seen, [&] {
        QMetaObject::invokeMethod(timer, "timeout");
        seen.ticksWhileOpen = ticks;
    });
    alerts.messageBox("Please select track to test!", "Dornal Test");
    EXPECT_EQ(seen.ticksWhileOpen, 0);
    QMetaObject::invokeMethod(timer, "timeout");
    EXPECT_EQ(ticks, 1);
}

} // namespace
} // namespace dornal::testing
