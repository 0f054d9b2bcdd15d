#include "form1_events.h"

#include "engine/run_control.h"
#include "engine/test_cycle.h"
#include "entry_rules.h"
#include "form_load.h"
#include "mode_handlers.h"
#include "reader/connection.h"

#include <exception>

namespace dornal {
namespace {

inline constexpr const char* kInternalFaultText = "Internal fault: ";

// A fault inside a handler is shown in the status line instead of ending the program.
template <typename Handler> auto guarded(Form1& form, Handler handler) {
    return [&form, handler](auto... args) {
        try {
            handler(args...);
        } catch (const std::exception& fault) {
            form.Label5.setCaption(std::string(kInternalFaultText) + fault.what());
        }
    };
}

} // namespace

Form1Events::Form1Events(Form1& form, Alerts& alerts, SerialPort& port, SharedValues& shared)
    : context_{form, alerts, ReaderLink{port, shared}} {
    bind();
}

void Form1Events::bind() {
    Context& c = context_;
    Form1& f = c.form;
    for (int i = 0; i < 3; ++i) {
        f.Text1[static_cast<std::size_t>(i)].onChange =
            guarded(f, [&c, i] { Text1_Change(c.form, c.alerts, i); });
        f.Check1[static_cast<std::size_t>(i)].onClick =
            guarded(f, [&c, i] { Check1_Click(c.form, i); });
    }
    f.Option1.onClick = guarded(f, [&c](int index) { Option1_Click(c.form, index); });
    f.Option3.onClick = guarded(f, [&c](int index) { Option3_Click(c, index); });
    f.Option4.onClick = guarded(f, [&c](int index) { Option4_Click(c, index); });
    for (int i = 0; i < 2; ++i)
        f.Command1[static_cast<std::size_t>(i)].onClick =
            guarded(f, [&c, i] { Command1_Click(c, i); });
    for (int i = 0; i < 3; ++i)
        f.Command2[static_cast<std::size_t>(i)].onClick =
            guarded(f, [&c, i] { Command2_Click(c, i); });
    f.Timer1.onTick = guarded(f, [&c] { Timer1_Timer(c); });
}

void Form1Events::load() {
    Form_Load(context_);
}

void Form1Events::unload() {
    Form_Unload(context_);
}

} // namespace dornal
