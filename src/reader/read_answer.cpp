#include "answer_reception.h"

#include "protocol.h"

#include <algorithm>
#include <array>
#include <initializer_list>

namespace dornal {
namespace {

using protocol::kReadAnswerEnd;
using protocol::kTrack1Marker;
using protocol::kTrack3Marker;
using protocol::kTrackEnd;

// Where each segment's data ends. Track 1 data may hold "A"; track 3 data may not.
constexpr std::array<std::uint8_t, 4> kTrack2Stops{kTrack1Marker, kTrack3Marker, kReadAnswerEnd,
                                                   kTrackEnd};
constexpr std::array<std::uint8_t, 3> kTrack3Stops{kTrack1Marker, kReadAnswerEnd, kTrackEnd};
constexpr std::array<std::uint8_t, 2> kTrack1Stops{kTrackEnd, kReadAnswerEnd};

// Walks the segments of a read answer: track 2 unmarked, "A" track 3, "~" track 1.
class SegmentWalker {
public:
    SegmentWalker(const AnswerBuffer& answer, std::array<TextBox, 3>& boxes,
                  const SegmentCounter& countSegment)
        : answer_(answer), boxes_(boxes), countSegment_(countSegment) {}

    void walk() {
        const std::uint8_t first = current();
        if ((first >= protocol::kTrack2SegmentFirst && first <= protocol::kTrack2SegmentLast) ||
            first == kTrackEnd)
            segment(2, kTrack2Stops);
        if (skipMarker(kTrack3Marker))
            segment(3, kTrack3Stops);
        if (skipMarker(kTrack1Marker))
            segment(1, kTrack1Stops);
    }

private:
    // Behind the stored bytes (an answer cut at the end of the buffer) the answer has ended.
    std::uint8_t current() const { return i_ < answer_.length ? answer_.at(i_) : kReadAnswerEnd; }

    bool skipMarker(std::uint8_t marker) {
        if (current() != marker)
            return false;
        ++i_;
        return true;
    }

    template <std::size_t N> void segment(int track, const std::array<std::uint8_t, N>& stops) {
        // Counted as soon as it is recognised, before its data is copied.
        if (countSegment_)
            countSegment_(track, current() != kTrackEnd);
        TextBox& box = boxes_[static_cast<std::size_t>(track - 1)];
        while (std::find(stops.begin(), stops.end(), current()) == stops.end()) {
            // One character at a time, so a track box's entry rule judges each as it comes.
            box.setText(box.text() + static_cast<char>(current()));
            ++i_;
        }
        if (current() == kTrackEnd)
            ++i_;
    }

    const AnswerBuffer& answer_;
    std::array<TextBox, 3>& boxes_;
    const SegmentCounter& countSegment_;
    int i_ = 1; // behind the "s"
};

} // namespace

void DecodeReadAnswer(Context& context, const AnswerBuffer& answer,
                      const SegmentCounter& countSegment) {
    if (answer.at(0) != protocol::kReadAnswerKind)
        return;
    Form1& f = context.form;
    // In "Auto Write/Read Loop" the written data stay in Text1 and the read-back goes below.
    std::array<TextBox, 3>& boxes = f.Option1[4].value() ? f.Text2 : f.Text1;
    for (TextBox& box : boxes)
        box.setText("");
    SegmentWalker(answer, boxes, countSegment).walk();
}

} // namespace dornal
