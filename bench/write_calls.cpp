#include "benchmarks.h"
#include "reader/input.h"
#include "report.h"
#include "run_with_events.h"
#include "shared/protocol.h"
#include "sim_session.h"

#include <stdexcept>
#include <string>

namespace dornal::bench {
namespace {

// Fills every track box to its maximum length with its track's digit.
void fillTracks(WindowModel& window) {
    for (int track = 1; track <= kTrackCount; ++track) {
        TextBox& box = window.trackBox(track);
        window.trackCheck(track).setValue(1);
        box.setText(
            std::string(static_cast<std::size_t>(box.maxLength()), static_cast<char>('0' + track)));
        if (static_cast<int>(box.text().size()) != box.maxLength())
            throw std::runtime_error("a track box did not take a full-length text");
    }
}

// The reader's answer to the frame: ESC, the tracks' code, and "p" when it wrote them.
std::string writeAnswer(SimSession& session) {
    std::string answer;
    Input input(session.line);
    while (answer.size() < 8) {
        const int got = testing::runWithEvents(input.nextByte(2000));
        if (got < 0)
            break;
        answer.push_back(static_cast<char>(got));
        if (got == protocol::kWriteOk || got == protocol::kWriteFailed)
            break;
    }
    return answer;
}

std::string joined(const std::vector<int>& sizes, std::size_t from) {
    std::string text;
    for (std::size_t i = from; i < sizes.size(); ++i) {
        if (i > from)
            text += '+';
        text += std::to_string(sizes[i]);
    }
    return text;
}

} // namespace

void writeCallsPerFrame() {
    SimSession session({}, 115200);
    fillTracks(session.window);
    // "Singal Writ&e" sends the Itrip command and the frame, then waits for the answer.
    session.window.modeOptions[static_cast<int>(Mode::SingleWrite)].select();
    session.window.writeConfigOptions[0].select();
    const std::size_t sizesBefore = session.line.writeSizes().size();
    session.window.startButton.click();
    session.settle();
    const auto calls = static_cast<long>(session.line.writeSizes().size() - sizesBefore);
    const std::string answer = writeAnswer(session);
    if (answer.empty() || answer.back() != static_cast<char>(protocol::kWriteOk))
        throw std::runtime_error("the reader did not report the frame as written");
    put("commands", 2);
    put("write_calls", calls);
    put("bytes_per_write", joined(session.line.writeSizes(), sizesBefore));
    put("track_lengths", std::to_string(session.window.trackBox(1).text().size()) + "/" +
                             std::to_string(session.window.trackBox(2).text().size()) + "/" +
                             std::to_string(session.window.trackBox(3).text().size()));
}

} // namespace dornal::bench
