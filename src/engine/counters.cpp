#include "counters.h"

#include "shared/text_number.h"

namespace dornal {
namespace {

bool isTrack(int track) {
    return track >= 1 && track <= 3;
}

bool includes(std::uint8_t tracks, int track) {
    return (tracks >> (track - 1)) & 1u;
}

Label& total(Form1& form, int track) {
    return form.Label1[static_cast<std::size_t>(track)];
}

// In "Auto Write/Read Loop" the totals count successful writes only.
bool readsAddToTotals(const Form1& form) {
    return !form.Option1[4].value();
}

} // namespace

void addToCounter(Label& counter, int delta) {
    counter.setCaption(addToCounterText(counter.caption(), delta));
}

void CountWriteAnswer(Form1& form, std::uint8_t tracks) {
    for (int track = 1; track <= 3; ++track)
        if (includes(tracks, track))
            addToCounter(total(form, track));
    for (int track = 1; track <= 3; ++track)
        if (includes(tracks, track))
            addToCounter(form.writeCounter(track));
}

void CountReadSegment(Form1& form, int track, bool hasData) {
    if (!isTrack(track))
        return;
    const bool toTotal = hasData && readsAddToTotals(form);
    if (track == 2) {
        // A track 2 segment that is only an end mark is no read at all.
        if (!hasData)
            return;
        addToCounter(form.readCounter(track));
        if (toTotal)
            addToCounter(total(form, track));
        return;
    }
    if (toTotal)
        addToCounter(total(form, track));
    addToCounter(form.readCounter(track));
}

} // namespace dornal
