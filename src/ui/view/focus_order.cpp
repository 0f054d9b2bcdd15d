#include "focus_order.h"

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QEvent>
#include <QTimer>

namespace dornal::view {
namespace {

QButtonGroup* groupOf(const QWidget* widget) {
    const auto* button = qobject_cast<const QAbstractButton*>(widget);
    return button ? button->group() : nullptr;
}

bool canFocus(const QWidget* widget, const QWidget* window) {
    return widget->isEnabled() && widget->isVisibleTo(window) &&
           widget->focusPolicy() != Qt::NoFocus;
}

} // namespace

FocusOrder::FocusOrder(QWidget* window, std::vector<QWidget*> stops,
                       const std::vector<std::pair<QWidget*, QWidget*>>& partners)
    : QObject(window), window_(window), stops_(std::move(stops)), partners_(partners) {
    for (const auto& [from, to] : partners_)
        to->installEventFilter(this);
    connect(qApp, &QApplication::focusChanged, this,
            [this](QWidget*, QWidget* now) { focusChanged(now); });
}

// The window's own focus, also while another window is active: a run may end meanwhile.
bool FocusOrder::moveFocus(bool next) {
    QWidget* focus = window_->focusWidget();
    if (focus != nullptr && !focus->isEnabled()) {
        if (QWidget* partner = partnerOf(focus)) {
            if (canFocus(partner, window_)) {
                partner->setFocus(Qt::OtherFocusReason);
                return true;
            }
            handOverTo_ = partner;
            // Only the handler that disabled the control may still enable its partner.
            QTimer::singleShot(0, this, [this] { handOverTo_ = nullptr; });
        }
    }
    const int count = static_cast<int>(stops_.size());
    const int from = startFrom(focus, next);
    for (int step = 1; step <= count; ++step) {
        const int stop = ((from + (next ? step : -step)) % count + count) % count;
        Row row;
        QWidget* widget = target(stop, row);
        if (widget == nullptr)
            continue;
        entered_ = row;
        widget->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
        return true;
    }
    return false;
}

bool FocusOrder::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::EnabledChange && watched == handOverTo_ &&
        handOverTo_->isEnabled()) {
        handOverTo_->setFocus(Qt::OtherFocusReason);
        handOverTo_ = nullptr;
    }
    return false;
}

// The stop that holds `widget` (the stop itself or one of its parts), -1 for none.
int FocusOrder::stopOf(const QWidget* widget) const {
    for (; widget != nullptr && widget != window_; widget = widget->parentWidget())
        for (std::size_t i = 0; i < stops_.size(); ++i)
            if (stops_[i] == widget)
                return static_cast<int>(i);
    return -1;
}

FocusOrder::Row FocusOrder::rowAt(int stop) const {
    QButtonGroup* group = groupOf(stops_[static_cast<std::size_t>(stop)]);
    if (group == nullptr)
        return {};
    Row row{group, stop, stop};
    while (row.first > 0 && groupOf(stops_[static_cast<std::size_t>(row.first - 1)]) == group)
        --row.first;
    while (row.last + 1 < static_cast<int>(stops_.size()) &&
           groupOf(stops_[static_cast<std::size_t>(row.last + 1)]) == group)
        ++row.last;
    return row;
}

// The stop the walk starts from: the focus's own, or the end of the row of option buttons the
// focus is in when Tab lands on that group's selected option. Before the first stop (or after
// the last) when the focus is on none.
int FocusOrder::startFrom(const QWidget* focus, bool next) const {
    const int at = stopOf(focus);
    if (at < 0)
        return next ? -1 : static_cast<int>(stops_.size());
    Row row = rowAt(at);
    if (row.group == nullptr)
        return at;
    const QAbstractButton* selected = row.group->checkedButton();
    if (selected == nullptr || !canFocus(selected, window_))
        return at;
    if (entered_.group == row.group)
        row = entered_;
    return next ? row.last : row.first;
}

// What Tab lands on at `stop`, or nullptr when it passes the stop by; `row` is the row of option
// buttons the stop lies in (none outside a group).
QWidget* FocusOrder::target(int stop, Row& row) const {
    QWidget* widget = stops_[static_cast<std::size_t>(stop)];
    row = rowAt(stop);
    if (row.group != nullptr) {
        QAbstractButton* selected = row.group->checkedButton();
        if (selected != nullptr && canFocus(selected, window_))
            return selected;
    }
    // Not in a group, or nothing selected to land on: each option that can take it is a stop.
    return canFocus(widget, window_) ? widget : nullptr;
}

QWidget* FocusOrder::partnerOf(const QWidget* widget) const {
    for (const auto& [from, to] : partners_)
        if (from == widget)
            return to;
    return nullptr;
}

// Tab's row stays the group's while the focus stays among its options (the arrow keys, a click).
void FocusOrder::focusChanged(QWidget* now) {
    if (entered_.group != nullptr && groupOf(now) != entered_.group)
        entered_ = {};
}

} // namespace dornal::view
