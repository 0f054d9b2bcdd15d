#include "reader_model.h"

#include "answers.h"
#include "corruption.h"
#include "shared/protocol.h"

namespace dornal::sim {

using namespace protocol;

namespace {

std::string perTrack(const char* name, const std::array<std::uint64_t, 3>& counts) {
    std::string text = name;
    for (int number = 1; number <= 3; ++number) {
        text += ' ';
        text += std::to_string(number);
        text += '=';
        text += std::to_string(counts[static_cast<std::size_t>(number - 1)]);
    }
    return text;
}

} // namespace

std::string tallyLine(const Tally& tally) {
    std::string line = "tally: " + perTrack("writes-done", tally.writesDone) + " " +
                       perTrack("reads-with-data", tally.readsWithData);
    const std::pair<const char*, std::uint64_t> counts[] = {
        {"write-answers", tally.writeAnswers},
        {"failed-writes", tally.failedWrites},
        {"read-answers", tally.readAnswers},
        {"ready", tally.readyAnswers},
        {"firmware", tally.firmwareAnswers},
        {"spoiled", tally.spoiled},
        {"unsent", tally.unsent},
        {"corrupted", tally.corrupted},
    };
    for (const auto& [name, count] : counts) {
        line += ' ';
        line += name;
        line += ' ';
        line += std::to_string(count);
    }
    return line;
}

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
        ++tally_.firmwareAnswers;
        out.push_back({Answer::Kind::Firmware, firmwareAnswer(settings_.versionText)});
        break;
    }
}

void ReaderModel::escape(std::string_view command, std::vector<Answer>& out) {
    if (auto tracks = tracksToRead(command)) {
        ++tally_.readAnswers;
        for (int number = 1; number <= 3; ++number) {
            if (holds(*tracks, number) && !card_.track(number).empty()) {
                ++tally_.readsWithData[static_cast<std::size_t>(number - 1)];
            }
        }
        out.push_back({Answer::Kind::Read, readAnswer(cardAsRead(*tracks), *tracks)});
    } else if (command == kReadyCheck) {
        ++tally_.readyAnswers;
        out.push_back({Answer::Kind::Ready, std::string(1, static_cast<char>(kReady))});
    }
    // Abandon and ResetReader find nothing to undo: every request is served at once. The
    // character sets and the Itrip level change nothing in what the simulated card holds.
}

Card ReaderModel::cardAsRead(TrackSet tracks) {
    Card read = card_;
    const auto every = static_cast<std::uint64_t>(settings_.corruptEvery);
    if (every > 0 && tally_.readAnswers % every == 0 &&
        changeOneCharacter(read, tracks, tally_.corrupted)) {
        ++tally_.corrupted;
    }
    return read;
}

void ReaderModel::write(std::string_view body, std::vector<Answer>& out) {
    const std::uint64_t count = ++tally_.writeAnswers;
    const bool ok =
        settings_.failEvery <= 0 || count % static_cast<std::uint64_t>(settings_.failEvery) != 0;
    const WriteRequest request = splitFrameBody(body);
    const TrackSet written = tracksWritten(request.tracks);
    tally_.failedWrites += ok ? 0 : 1;
    for (int number = 1; ok && number <= 3; ++number) {
        if (holds(written, number)) {
            card_.track(number) = request.data.track(number);
            ++tally_.writesDone[static_cast<std::size_t>(number - 1)];
        }
    }
    out.push_back({Answer::Kind::Write, writeAnswer(written, ok)});
}

} // namespace dornal::sim
