#pragma once

#include "reader/context.h"

namespace dornal {

// Binds every control event of the window to its handler, then loads the window.
class Form1Events {
public:
    Form1Events(Form1& form, Alerts& alerts, SerialPort& port, SharedValues& shared);
    Form1Events(const Form1Events&) = delete;
    Form1Events& operator=(const Form1Events&) = delete;

    Context& context() { return context_; }
    void load();   // Form_Load
    void unload(); // Form_Unload

private:
    void bind();
    Context context_;
};

} // namespace dornal
