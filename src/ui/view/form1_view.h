#pragma once

#include "ui/model/form1.h"

#include <QTimer>
#include <QWidget>

#include <functional>
#include <map>
#include <string>
#include <string_view>

namespace dornal::view {

struct ControlPlace;

// The operator window: one widget per control of Form1 at its place, each named after its
// control ("Text1(0)"), bound both ways to the model; Timer1 runs a real timer.
class Form1View : public QWidget {
    Q_OBJECT
public:
    explicit Form1View(Form1& form, QWidget* parent = nullptr);

    // Closing the window: Form_Unload runs here, then the window closes.
    std::function<void()> onClose;

    QWidget* control(std::string_view name) const;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* createWidget(const ControlPlace& place);
    void bind(Form1& form);
    void bindTracks(Form1& form);
    void setTabOrder();
    template <typename W> W* find(std::string_view name) const;

    std::map<std::string, QWidget*, std::less<>> controls_;
    QTimer timer1_;
};

} // namespace dornal::view
