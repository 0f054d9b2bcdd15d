#include "keyboard.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QEvent>
#include <QKeyEvent>
#include <QPushButton>

namespace dornal::view {
namespace {

// Keys that come with no modifier but the keypad's.
bool plainKey(const QKeyEvent* key) {
    return (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

class EnterPresses : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) || !plainKey(key))
            return false;
        if (!key->isAutoRepeat())
            static_cast<QPushButton*>(watched)->click();
        return true;
    }
};

// +1 for the next option, -1 for the one before, 0 for a key that does not move.
int arrowStep(const QKeyEvent* key) {
    if (!plainKey(key))
        return 0;
    switch (key->key()) {
    case Qt::Key_Down:
    case Qt::Key_Right:
        return 1;
    case Qt::Key_Up:
    case Qt::Key_Left:
        return -1;
    default:
        return 0;
    }
}

class ArrowSelection : public QObject {
public:
    explicit ArrowSelection(QButtonGroup* group) : QObject(group), group_(group) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress)
            return false;
        const int step = arrowStep(static_cast<QKeyEvent*>(event));
        if (step == 0)
            return false;
        const QList<QAbstractButton*> buttons = group_->buttons();
        const auto count = buttons.size();
        const auto from = buttons.indexOf(static_cast<QAbstractButton*>(watched));
        for (qsizetype n = 1; from >= 0 && n < count; ++n) {
            QAbstractButton* next = buttons[((from + step * n) % count + count) % count];
            if (!next->isEnabled() || next->isHidden())
                continue;
            next->click();
            next->setFocus(step > 0 ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            break;
        }
        return true; // the focus never wanders out of the group by an arrow key
    }

private:
    QButtonGroup* group_;
};

} // namespace

void pressWithEnter(QPushButton* button) {
    button->installEventFilter(new EnterPresses(button));
}

void selectWithArrows(QButtonGroup* group) {
    auto* filter = new ArrowSelection(group);
    for (QAbstractButton* button : group->buttons())
        button->installEventFilter(filter);
}

} // namespace dornal::view
