#pragma once

#include "byte_wait.h"
#include "context.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string_view>

namespace dornal {

// Shown in Label5 when an answer or the ready byte stops coming, or the port fails.
inline constexpr const char* kAnswerTimeoutText = "No answer from the reader";
inline constexpr const char* kNotReadyText = "Reader not ready";
inline constexpr const char* kPortErrorText = "Port error";
inline constexpr const char* kAnswerTooLongText = "Answer too long";

// The bytes of one answer after its ESC, the terminator included; the rest stays 0.
struct AnswerBuffer {
    static constexpr int kSize = 1025;
    std::array<std::uint8_t, kSize> bytes{};
    int length = 0;
    std::uint8_t at(int position) const {
        return position >= 0 && position < kSize ? bytes[static_cast<std::size_t>(position)] : 0;
    }
};

// Tracks as bits: bit 0 track 1, bit 1 track 2, bit 2 track 3.
using TrackSet = std::uint8_t;
inline constexpr TrackSet trackBit(int track) {
    return static_cast<TrackSet>(1u << (track - 1));
}

struct ReadSegment {
    bool present = false;
    bool hasData = false;
};

enum class AnswerKind { None, Write, Read };

// What one tick took from the reader.
struct Answer {
    AnswerKind kind = AnswerKind::None;          // None: nothing taken (empty queue, or not ESC)
    WaitOutcome outcome = WaitOutcome::Complete; // TimedOut/PortError: the answer is incomplete
    TrackSet writtenTracks = 0;                  // write answers: the tracks reported written
};

// Called for each track segment of a read answer when it is recognised, before its data
// is copied: track 1..3 and whether data follows.
using SegmentCounter = std::function<void(int track, bool hasData)>;

// The reception step at the start of a tick: takes at most one answer, as a read answer when
// LastCmdRead is true and as a write answer otherwise, and decodes it. An incomplete answer is
// not decoded: Label5 says what happened and no box or counter changes.
Answer ReceiveAnswer(Context& context, const SegmentCounter& countSegment);

// Reads the bytes of one frame after its ESC until a terminator has been stored. Each byte is
// awaited at most kAnswerTimeoutMs; bytes beyond the buffer are dropped up to the terminator.
WaitOutcome CollectAnswer(Context& context, std::string_view terminators, AnswerBuffer& answer);

// The tracks a write answer reports as written; shows the answer in hexadecimal in Label5.
TrackSet DecodeWriteAnswer(Context& context, const AnswerBuffer& answer);
// The status text of a write answer: "1B", the bytes up to the first outside 32..127, "- 0".
std::string writeStatusText(const AnswerBuffer& answer);

// Fills the read-back boxes (Text1, or Text2 in "Auto Write/Read Loop") character by character
// and reports each segment to countSegment.
void DecodeReadAnswer(Context& context, const AnswerBuffer& answer,
                      const SegmentCounter& countSegment);

// After ReadyCheck: reads bytes until "y"; gives up after kAnswerTimeoutMs without a byte or at
// a port error, and says so in Label5.
WaitOutcome WaitReady(Context& context);

} // namespace dornal
