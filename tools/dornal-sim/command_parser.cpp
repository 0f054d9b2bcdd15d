#include "command_parser.h"

#include "shared/protocol.h"

#include <algorithm>
#include <array>

namespace dornal::sim {

namespace {

using namespace protocol;

constexpr std::array<std::string_view, 16> kEscapeCommands{
    kReadT1,        kReadT2,     kReadT12,     kReadT3,         kReadT123,       kReadT23,
    kAbandon,       kReadyCheck, kResetReader, kSetCharSetIbm1, kSetCharSetIbm2, kSetCharSetIbm3,
    kSetCharSetIso, kSetItrip13, kSetItrip23,  kSetItrip33,
};

const std::string_view* exactCommand(std::string_view bytes) {
    auto it = std::find(kEscapeCommands.begin(), kEscapeCommands.end(), bytes);
    return it == kEscapeCommands.end() ? nullptr : &*it;
}

bool startsSomeCommand(std::string_view bytes) {
    return std::any_of(kEscapeCommands.begin(), kEscapeCommands.end(),
                       [bytes](std::string_view c) { return c.starts_with(bytes); });
}

std::string_view asText(const std::uint8_t* bytes, std::size_t count) {
    return {reinterpret_cast<const char*>(bytes), count};
}

} // namespace

void CommandParser::take(std::uint8_t byte, std::vector<ParsedCommand>& out) {
    step(byte, out);
}

void CommandParser::clear() {
    state_ = State::Idle;
    escapeBytes_.clear();
    body_.clear();
    trailerMatched_ = 0;
    queryMatched_ = 0;
}

void CommandParser::step(std::uint8_t byte, std::vector<ParsedCommand>& out) {
    switch (state_) {
    case State::Idle:
        idle(byte);
        break;
    case State::Escape:
        escape(byte, out);
        break;
    case State::Frame:
        frame(byte, out);
        break;
    case State::Firmware:
        firmware(byte, out);
        break;
    }
}

void CommandParser::idle(std::uint8_t byte) {
    if (byte == kEsc) {
        state_ = State::Escape;
        escapeBytes_.clear();
    } else if (byte == kFirmwareQuery[0]) {
        state_ = State::Firmware;
        queryMatched_ = 1;
    }
}

void CommandParser::escape(std::uint8_t byte, std::vector<ParsedCommand>& out) {
    if (escapeBytes_.empty() && byte == kWriteFrameStart) {
        state_ = State::Frame;
        body_.clear();
        trailerMatched_ = 0;
        return;
    }
    escapeBytes_.push_back(static_cast<char>(byte));
    if (const std::string_view* command = exactCommand(escapeBytes_)) {
        out.push_back({ParsedCommand::Kind::Escape, *command, {}});
        state_ = State::Idle;
    } else if (!startsSomeCommand(escapeBytes_)) {
        std::string again = std::move(escapeBytes_);
        restartWith(again, out);
    }
}

void CommandParser::frame(std::uint8_t byte, std::vector<ParsedCommand>& out) {
    if (byte == kWriteTrailer[trailerMatched_]) {
        if (++trailerMatched_ == kWriteTrailer.size()) {
            out.push_back({ParsedCommand::Kind::WriteFrame, {}, std::move(body_)});
            clear();
        }
        return;
    }
    const std::string_view matched = asText(kWriteTrailer.data(), trailerMatched_);
    const std::size_t lastEsc = matched.rfind(static_cast<char>(kEsc));
    if (lastEsc != std::string_view::npos || byte == kEsc) {
        // Track data never hold ESC: another request broke into this frame, which is dropped.
        std::string again(lastEsc == std::string_view::npos ? "" : matched.substr(lastEsc));
        again.push_back(static_cast<char>(byte));
        restartWith(again, out);
        return;
    }
    body_.append(matched);
    trailerMatched_ = 0;
    if (byte == kWriteTrailer[0]) {
        trailerMatched_ = 1;
        return;
    }
    body_.push_back(static_cast<char>(byte));
    if (body_.size() > kMaxFrameBody) {
        clear();
    }
}

void CommandParser::firmware(std::uint8_t byte, std::vector<ParsedCommand>& out) {
    if (byte == kFirmwareQuery[queryMatched_]) {
        if (++queryMatched_ == kFirmwareQuery.size()) {
            out.push_back({ParsedCommand::Kind::FirmwareQuery, {}, {}});
            clear();
        }
        return;
    }
    std::string again(asText(kFirmwareQuery.data() + 1, queryMatched_ - 1));
    again.push_back(static_cast<char>(byte));
    restartWith(again, out);
}

void CommandParser::restartWith(std::string_view bytes, std::vector<ParsedCommand>& out) {
    clear();
    for (char c : bytes) {
        step(static_cast<std::uint8_t>(c), out);
    }
}

} // namespace dornal::sim
