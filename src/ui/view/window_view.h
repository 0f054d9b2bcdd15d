#pragma once

#include "ui/model/window_model.h"

#include <QTimer>
#include <QWidget>

#include <functional>
#include <map>
#include <string>
#include <string_view>

namespace dornal::view {

struct ControlPlace;
class FocusOrder;

// The operator window: one widget per control of the model at its place, each named after the
// original control ("Text1(0)"), bound both ways to the model; the cycle timer runs a real
// timer.
class WindowView : public QWidget {
    Q_OBJECT
public:
    explicit WindowView(WindowModel& window, QWidget* parent = nullptr);

    // Closing the window: the controller's unload runs here, then the window closes.
    std::function<void()> onClose;

    // The widget of a control by its object name, or nullptr.
    QWidget* control(std::string_view name) const;

protected:
    void closeEvent(QCloseEvent* event) override;
    // Tab and Shift+Tab, and a focused control being disabled, move the focus by the window's
    // own order.
    bool focusNextPrevChild(bool next) override;

private:
    QWidget* createWidget(const ControlPlace& place);
    void bind(WindowModel& window);
    void setTabOrder();
    void setKeys();

    std::map<std::string, QWidget*, std::less<>> controls_;
    QTimer cycleTimer_;
    FocusOrder* focusOrder_ = nullptr;
};

} // namespace dornal::view
