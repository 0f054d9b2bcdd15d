#pragma once

#include "shared/tracks.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace dornal {

// The bytes of one answer after its ESC, the terminator included; the rest stays 0.
struct AnswerBuffer {
    static constexpr int kSize = 1025;
    std::array<std::uint8_t, kSize> bytes{};
    int length = 0;
    std::uint8_t at(int position) const {
        return position >= 0 && position < kSize ? bytes[static_cast<std::size_t>(position)] : 0;
    }
    void append(std::uint8_t byte) {
        if (length < kSize)
            bytes[static_cast<std::size_t>(length++)] = byte;
    }
};

// A write answer: the tracks it reports as written (none for a failed write or an unknown
// code) and its status text: "1B", the bytes up to the first outside 32..127 in hexadecimal,
// and "- 0".
struct WriteAnswer {
    TrackSet written = 0;
    std::string status;
};
WriteAnswer decodeWriteAnswer(const AnswerBuffer& answer);

// One track segment of a read answer, in the order the answer carries them (2, 3, 1).
// hasData is false for a segment that is only an end mark.
struct ReadSegment {
    int track = 0;
    bool hasData = false;
    std::string data;
};
// A read answer; `valid` is false when the bytes after ESC do not begin with "s".
struct ReadAnswer {
    bool valid = false;
    std::vector<ReadSegment> segments;
};
ReadAnswer decodeReadAnswer(const AnswerBuffer& answer);

} // namespace dornal
