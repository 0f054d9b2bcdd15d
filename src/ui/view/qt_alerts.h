#pragma once

#include "ui/model/alerts.h"

#include <QPointer>
#include <QWidget>

namespace dornal::view {

// The operator's alerts on screen: the platform's beep, and a modal message over the window.
class QtAlerts : public Alerts {
public:
    explicit QtAlerts(QWidget* window = nullptr) : window_(window) {}
    void setWindow(QWidget* window) { window_ = window; }

    void beep() override;
    // OK button only, no icon; an empty title shows the application's title.
    void messageBox(std::string_view text, std::string_view title,
                    std::string_view informative = {}) override;

private:
    QPointer<QWidget> window_;
};

// True while a message box waits for the operator; no other handler may run meanwhile.
bool modalMessageOpen();

} // namespace dornal::view
