#include "loop_counts.h"

#include "shared/text_number.h"

#include <string>

namespace dornal {
namespace {

std::int16_t countFrom(TextBox& box) {
    const Count16 count = count16FromText(box.text());
    if (count.outOfRange)
        box.setText(std::to_string(count.value));
    return count.value;
}

} // namespace

void loadLoopCounts(Context& context) {
    SharedValues& shared = context.shared();
    shared.WritesLeft = countFrom(context.form.tx_WriteTimesPerLoop);
    shared.ReadsLeft = countFrom(context.form.tx_ReadTimesPerLoop);
}

} // namespace dornal
