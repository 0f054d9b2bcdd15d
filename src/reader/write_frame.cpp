#include "write_frame.h"

#include "commands.h"
#include "protocol.h"

#include <string>

namespace dornal {
namespace {

class FrameSender {
public:
    explicit FrameSender(ReaderLink& link) : link_(link) {}
    void byte(std::uint8_t value) { link_.port.sio_putch(link_.portNumber(), value); }
    // The boxes hold single-byte text: every character leaves as the byte it is.
    void text(const std::string& text) {
        for (char c : text)
            byte(static_cast<unsigned char>(c));
    }

private:
    ReaderLink& link_;
};

void sendFrame(Context& context) {
    Form1& f = context.form;
    FrameSender out(context.link);
    out.byte(protocol::kEsc);
    out.byte(protocol::kWriteFrameStart);
    // Track 2 first and unmarked, then track 3, then track 1: the order the reader expects.
    if (f.Check1[1].ticked())
        out.text(f.Text1[1].text());
    if (f.Check1[2].ticked()) {
        out.byte(protocol::kTrack3Marker);
        out.text(f.Text1[2].text());
    }
    if (f.Check1[0].ticked()) {
        out.byte(protocol::kTrack1Marker);
        out.text(f.Text1[0].text());
    }
    for (std::uint8_t b : protocol::kWriteTrailer)
        out.byte(b);
}

} // namespace

void WriteTracks(Context& context) {
    if (const auto itrip = itripCommandFor(context.form.Option4.selectedIndex()))
        send(context.link, *itrip);
    PurgeInput(context.link, context.shared().PortNumber);
    {
        OneWrite oneWrite(context.port(), context.portNumber());
        sendFrame(context);
    }
    context.shared().LastCmdRead = kFalse;
}

} // namespace dornal
