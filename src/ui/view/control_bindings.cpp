#include "binding_support.h"
#include "bindings.h"
#include "model_text.h"
#include "qt_alerts.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTimer>

#include <functional>
#include <memory>
#include <vector>

namespace dornal::view {

void bindControl(Control& control, QWidget* widget) {
    follow(control, widget, [&control](QWidget* w) { showPresence(control, w); });
}

void bindLabel(Label& label, QLabel* widget) {
    widget->setTextFormat(Qt::PlainText); // data such as "<" is shown as it is
    follow(label, widget, [&label](QLabel* w) {
        showPresence(label, w);
        w->setText(withoutAccessKeys(label.caption()));
    });
}

void bindFrame(Label& frame, QGroupBox* widget) {
    follow(frame, widget, [&frame](QGroupBox* w) {
        showPresence(frame, w);
        w->setTitle(QString::fromLatin1(frame.caption()));
    });
}

void bindPushButton(PushButton& button, QPushButton* widget) {
    auto show = [&button](QPushButton* w) {
        showPresence(button, w);
        w->setText(QString::fromLatin1(button.caption()));
    };
    follow(button, widget, show);
    QObject::connect(widget, &QPushButton::clicked, widget, [&button] { button.click(); });
}

namespace {

Qt::CheckState checkState(int value) {
    switch (value) {
    case 0:
        return Qt::Unchecked;
    case 1:
        return Qt::Checked;
    default:
        return Qt::PartiallyChecked; // 2: grayed
    }
}

} // namespace

void bindCheckBox(CheckBox& box, QCheckBox* widget) {
    auto show = [&box](QCheckBox* w) {
        const QSignalBlocker block(w);
        showPresence(box, w);
        w->setText(QString::fromLatin1(box.caption()));
        w->setTristate(box.value() == 2); // the operator's click leaves the grayed state
        w->setCheckState(checkState(box.value()));
    };
    follow(box, widget, show);
    QObject::connect(widget, &QCheckBox::clicked, widget, [&box, widget, show](bool checked) {
        box.click(checked ? 1 : 0);
        show(widget); // a refused, held or unchanged value is shown as the model holds it
    });
}

void bindOptionGroup(OptionGroup& group, const std::vector<QRadioButton*>& widgets) {
    if (widgets.empty())
        return;
    auto* exclusive = new QButtonGroup(widgets.front()->parent());
    QPointer<QButtonGroup> alive(exclusive);
    // Every button of the group shown anew, as the model holds them.
    auto showGroup = std::make_shared<std::vector<std::function<void()>>>();
    for (int i = 0; i < group.size(); ++i) {
        OptionButton& button = group[i];
        QRadioButton* widget = widgets.at(static_cast<std::size_t>(i));
        exclusive->addButton(widget, i);
        auto show = [&button, alive](QRadioButton* w) {
            const QSignalBlocker block(w);
            showPresence(button, w);
            w->setText(QString::fromLatin1(button.caption()));
            if (w->isChecked() == button.value())
                return;
            // An exclusive group keeps its checked button; the model may clear it.
            const bool wasExclusive = alive && alive->exclusive();
            if (alive && !button.value())
                alive->setExclusive(false);
            w->setChecked(button.value());
            if (alive)
                alive->setExclusive(wasExclusive);
        };
        follow(button, widget, show);
        showGroup->push_back([widget, show] { show(widget); });
        // The button the operator leaves reports first, while the model still holds it; the
        // newly selected one tells the model, which then clears the others itself. A click the
        // model holds for later shows the old choice until it counts.
        QObject::connect(widget, &QRadioButton::toggled, widget, [&button, showGroup](bool on) {
            if (!on)
                return;
            if (!button.value())
                button.click();
            for (const auto& showOne : *showGroup)
                showOne();
        });
    }
}

void bindTimer(Timer& timer, QTimer* qtimer) {
    // The tick sets the pace of a run (one answer per tick): keep it at 500 ms, not about it.
    qtimer->setTimerType(Qt::PreciseTimer);
    qtimer->setInterval(timer.interval());
    follow(timer, qtimer, [&timer](QTimer* t) {
        if (timer.enabled() && !t->isActive())
            t->start();
        else if (!timer.enabled() && t->isActive())
            t->stop();
    });
    QObject::connect(qtimer, &QTimer::timeout, qtimer, [&timer] {
        // Handlers run one at a time: a tick due while a message box waits is left out.
        if (!modalMessageOpen())
            timer.tick();
    });
}

} // namespace dornal::view
