#include "benchmarks.h"
#include "reader/protocol.h"
#include "reader/write_frame.h"
#include "report.h"
#include "sim_session.h"

#include <stdexcept>
#include <string>

namespace dornal::bench {
namespace {

// Fills every track box to its maximum length with its track's digit.
void fillTracks(Form1& form) {
    for (std::size_t i = 0; i < form.Text1.size(); ++i) {
        TextBox& box = form.Text1[i];
        form.Check1[i].setValue(1);
        box.setText(
            std::string(static_cast<std::size_t>(box.maxLength()), static_cast<char>('1' + i)));
        if (static_cast<int>(box.text().size()) != box.maxLength())
            throw std::runtime_error(box.name() + " did not take a full-length text");
    }
}

// The reader's answer to the frame: ESC, the tracks' code, and "p" when it wrote them.
std::string writeAnswer(SimSession& session) {
    std::string answer;
    while (answer.size() < 8) {
        const int got = session.port.waitByte(session.context().portNumber(), 2000);
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
    fillTracks(session.form);
    const long callsBefore = session.port.writeCalls();
    const std::size_t sizesBefore = session.port.writeSizes().size();
    WriteTracks(session.context());
    const long calls = session.port.writeCalls() - callsBefore;
    const std::string answer = writeAnswer(session);
    if (answer.empty() || answer.back() != static_cast<char>(protocol::kWriteOk))
        throw std::runtime_error("the reader did not report the frame as written");
    put("commands", 2);
    put("write_calls", calls);
    put("bytes_per_write", joined(session.port.writeSizes(), sizesBefore));
    put("track_lengths", std::to_string(session.form.Text1[0].text().size()) + "/" +
                             std::to_string(session.form.Text1[1].text().size()) + "/" +
                             std::to_string(session.form.Text1[2].text().size()));
}

} // namespace dornal::bench
