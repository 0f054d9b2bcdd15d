#include "connection.h"

#include "commands.h"
#include "protocol.h"
#include "timing.h"

namespace dornal {
namespace {

constexpr int kOpenFailBeeps = 3;

// The test controls are usable only while the port is open; the rows are set in this order.
void setConnectedState(Form1& f, bool connected) {
    f.Combo1.setEnabled(!connected);
    f.Combo2.setEnabled(!connected);
    f.Command1[0].setEnabled(!connected);
    f.Command1[1].setEnabled(connected);
    f.Command2[0].setEnabled(connected);
    f.Command2[1].setEnabled(false);
    f.Command2[2].setEnabled(connected);
    f.Option1.setEnabled(connected);
    f.Option2.setEnabled(connected);
    f.tx_WriteTimesPerLoop.setEnabled(connected);
    f.tx_ReadTimesPerLoop.setEnabled(connected);
    f.Option3.setEnabled(connected);
    for (auto& check : f.Check1)
        check.setEnabled(connected);
    for (auto& box : f.Text1)
        box.setEnabled(connected);
}

void chooseLine(Context& context) {
    SharedValues& shared = context.shared();
    shared.PortNumber = static_cast<std::int16_t>(context.form.Combo1.listIndex() + 1);
    shared.LineMode = SerialPort::kLineMode8N1;
    const int baudPosition = context.form.Combo2.listIndex();
    if (baudPosition >= 0 && baudPosition < static_cast<int>(protocol::kBaudCodes.size()))
        shared.BaudCode =
            static_cast<std::int16_t>(protocol::kBaudCodes[static_cast<std::size_t>(baudPosition)]);
}

void reportOpenFailure(Context& context) {
    for (int i = 0; i < kOpenFailBeeps; ++i)
        context.alerts.beep();
    context.alerts.messageBox(kOpenFailMessage, kApplicationTitle);
    context.port().sio_close(context.portNumber());
}

} // namespace

void Connect(Context& context) {
    chooseLine(context);
    SerialPort& port = context.port();
    const SharedValues& shared = context.shared();
    if (port.sio_open(shared.PortNumber) != 0) {
        reportOpenFailure(context);
        return;
    }
    port.sio_SetReadTimeouts(shared.PortNumber, timing::kReadTotalTimeoutMs,
                             timing::kReadIntervalTimeoutMs);
    port.sio_ioctl(shared.PortNumber, shared.BaudCode, shared.LineMode);
    PurgeInput(context.link, shared.PortNumber);
    ResetReader(context.link);
    setConnectedState(context.form, true);
    context.form.zeroCounterDisplays();
    // Whatever set the reader held before, it now uses the one the window shows.
    if (const auto command = charSetCommandFor(context.form.Option3.selectedIndex()))
        send(context.link, *command);
}

void Disconnect(Context& context) {
    context.port().sio_close(context.portNumber());
    setConnectedState(context.form, false);
    for (auto& box : context.form.Text1)
        box.setText("");
}

void Command1_Click(Context& context, int index) {
    if (index == 0)
        Connect(context);
    else if (index == 1)
        Disconnect(context);
}

void Form_Unload(Context& context) {
    context.port().sio_close(context.portNumber());
}

} // namespace dornal
