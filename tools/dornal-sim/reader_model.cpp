#include "reader_model.h"

#include "answers.h"
#include "shared/protocol.h"

namespace dornal::sim {

using namespace protocol;

ReaderModel::ReaderModel(ReaderSettings settings) : settings_(std::move(settings)) {}

std::vector<Answer> ReaderModel::feed(std::span<const std::uint8_t> bytes) {
    std::vector<Answer> answers;
    for (std::uint8_t byte : bytes) {
        parser_.take(byte, parsed_);
        for (const ParsedCommand& command : parsed_) {
            answer(command, answers);
        }
        parsed_.clear();
    }
    return answers;
}

std::vector<Answer> ReaderModel::feed(std::string_view bytes) {
    return feed(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
}

void ReaderModel::answer(const ParsedCommand& command, std::vector<Answer>& out) {
    switch (command.kind) {
    case ParsedCommand::Kind::Escape:
        escape(command.escape, out);
        break;
    case ParsedCommand::Kind::WriteFrame:
        write(command.frameBody, out);
        break;
    case ParsedCommand::Kind::FirmwareQuery:
        out.push_back({Answer::Kind::Firmware, firmwareAnswer(settings_.versionText)});
        break;
    }
}

void ReaderModel::escape(std::string_view command, std::vector<Answer>& out) {
    if (auto tracks = tracksToRead(command)) {
        out.push_back({Answer::Kind::Read, readAnswer(card_, *tracks)});
    } else if (command == kReadyCheck) {
        out.push_back({Answer::Kind::Ready, std::string(1, static_cast<char>(kReady))});
    }
    // Abandon and ResetReader find nothing to undo: every request is served at once. The
    // character sets and the Itrip level change nothing in what the simulated card holds.
}

void ReaderModel::write(std::string_view body, std::vector<Answer>& out) {
    ++writes_;
    const bool ok =
        settings_.failEvery <= 0 || writes_ % static_cast<std::uint64_t>(settings_.failEvery) != 0;
    const WriteRequest request = splitFrameBody(body);
    const TrackSet written = tracksWritten(request.tracks);
    if (ok) {
        for (int number = 1; number <= 3; ++number) {
            if (written & (1u << (number - 1))) {
                card_.track(number) = request.data.track(number);
            }
        }
    }
    out.push_back({Answer::Kind::Write, writeAnswer(written, ok)});
}

} // namespace dornal::sim
