#include "answers.h"

#include "shared/protocol.h"

#include <algorithm>

namespace dornal {
namespace {

using protocol::kReadAnswerEnd;
using protocol::kTrack1Marker;
using protocol::kTrack3Marker;
using protocol::kTrackEnd;

// The status text shows the answer up to its first byte outside this range.
constexpr std::uint8_t kFirstShown = 32;
constexpr std::uint8_t kLastShown = 127;

void appendHex(std::string& text, std::uint8_t byte) {
    constexpr char kDigits[] = "0123456789ABCDEF";
    text.push_back(kDigits[byte >> 4]);
    text.push_back(kDigits[byte & 0x0F]);
}

std::string statusText(const AnswerBuffer& answer) {
    std::string text;
    appendHex(text, protocol::kEsc);
    for (int i = 0; i < answer.length; ++i) {
        const std::uint8_t byte = answer.at(i);
        if (byte < kFirstShown || byte > kLastShown)
            break;
        text.push_back(' ');
        appendHex(text, byte);
    }
    // Then the position just behind the answer, never filled, so always 0.
    text += "- 0";
    return text;
}

// The tracks of the answer's code byte, when the result byte of that code reports success.
TrackSet writtenTracks(const AnswerBuffer& answer) {
    for (const protocol::WriteCode& row : protocol::kWriteCodes)
        if (row.code == answer.at(0))
            return answer.at(row.resultPosition) == protocol::kWriteOk ? row.tracks : TrackSet{0};
    return 0;
}

// Where each segment's data ends. Track 1 data may hold "A"; track 3 data may not.
constexpr std::array<std::uint8_t, 4> kTrack2Stops{kTrack1Marker, kTrack3Marker, kReadAnswerEnd,
                                                   kTrackEnd};
constexpr std::array<std::uint8_t, 3> kTrack3Stops{kTrack1Marker, kReadAnswerEnd, kTrackEnd};
constexpr std::array<std::uint8_t, 2> kTrack1Stops{kTrackEnd, kReadAnswerEnd};

// Track 2 has no marker: its segment begins with a byte of the range the reader marks it by,
// with its end mark, or with any character track 2 carries ("'" lies below that range).
bool startsTrack2(std::uint8_t first) {
    const bool inRange =
        first >= protocol::kTrack2SegmentFirst && first <= protocol::kTrack2SegmentLast;
    return inRange || first == kTrackEnd || trackCarries(2, static_cast<char>(first));
}

// Walks the segments of a read answer: track 2 unmarked, "A" track 3, "~" track 1.
class SegmentWalker {
public:
    explicit SegmentWalker(const AnswerBuffer& answer) : answer_(answer) {}

    std::vector<ReadSegment> walk() {
        if (startsTrack2(current()))
            segment(2, kTrack2Stops);
        if (skipMarker(kTrack3Marker))
            segment(3, kTrack3Stops);
        if (skipMarker(kTrack1Marker))
            segment(1, kTrack1Stops);
        return std::move(segments_);
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
        ReadSegment& s = segments_.emplace_back(ReadSegment{track, current() != kTrackEnd, {}});
        while (std::find(stops.begin(), stops.end(), current()) == stops.end()) {
            s.data.push_back(static_cast<char>(current()));
            ++i_;
        }
        if (current() == kTrackEnd)
            ++i_;
    }

    const AnswerBuffer& answer_;
    std::vector<ReadSegment> segments_;
    int i_ = 1; // behind the "s"
};

} // namespace

WriteAnswer decodeWriteAnswer(const AnswerBuffer& answer) {
    return {writtenTracks(answer), statusText(answer)};
}

ReadAnswer decodeReadAnswer(const AnswerBuffer& answer) {
    if (answer.at(0) != protocol::kReadAnswerKind)
        return {};
    return {true, SegmentWalker(answer).walk()};
}

} // namespace dornal
