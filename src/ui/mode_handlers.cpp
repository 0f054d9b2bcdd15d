#include "mode_handlers.h"

#include "reader/commands.h"

namespace dornal {

void Option1_Click(Form1& form, int index) {
    if (index == 0 || index == 2 || index == 4)
        form.Option2.setEnabled(true);
    else if (index == 1 || index == 3)
        form.Option2.setEnabled(false);

    const bool readBack = index > 3;
    for (int i = 0; i < 3; ++i) {
        form.Text1[static_cast<std::size_t>(i)].setHeight(readBack ? kTrackBoxHalfHeight
                                                                   : kTrackBoxFullHeight);
        form.Text2[static_cast<std::size_t>(i)].setVisible(readBack);
    }
}

void Option3_Click(Context& context, int index) {
    if (const auto command = charSetCommandFor(index))
        send(context.link, *command);
    context.form.Text1[1].setText("");
    context.form.Text1[2].setText("");
}

void Option4_Click(Context& context, int index) {
    if (const auto command = itripCommandFor(index))
        send(context.link, *command);
}

} // namespace dornal
