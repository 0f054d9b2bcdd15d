#pragma once

#include "bench_fixture.h"
#include "reader/answer_reception.h"

#include <string>
#include <utility>
#include <vector>

namespace dornal::testing {

inline const std::string kEscText = "\x1b";
inline const std::string kDel = "\x7f";

// A connected bench in the given test mode (Option1 index), its record cleared.
struct ConnectedBench : Bench {
    explicit ConnectedBench(int mode = 3) {
        connect();
        form.Option1[mode].select();
        port.clearRecord();
    }
    // One tick's reception of `bytes` (after the ESC) as the answer of the last command.
    Answer receive(Flag16 lastCmdRead, const std::string& bytes, const SegmentCounter& count = {}) {
        shared.LastCmdRead = lastCmdRead;
        port.feed(kEscText + bytes);
        return ReceiveAnswer(context(), count);
    }
};

// Records what a read answer reports per segment, and what the segment's box held then.
struct SegmentLog {
    std::vector<std::pair<int, bool>> segments;
    std::vector<std::string> boxTextAtCount;
    SegmentCounter counter(const std::array<TextBox, 3>& boxes) {
        return [this, &boxes](int track, bool hasData) {
            segments.emplace_back(track, hasData);
            boxTextAtCount.push_back(boxes[static_cast<std::size_t>(track - 1)].text());
        };
    }
};

} // namespace dornal::testing
