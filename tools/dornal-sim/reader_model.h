#pragma once

#include "card.h"
#include "command_parser.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace dornal::sim {

struct ReaderSettings {
    // Every k-th write fails ("q") and leaves the card as it was; 0 never.
    int failEvery = 0;
    std::string versionText;
};

struct Answer {
    enum class Kind { Write, Read, Ready, Firmware };
    Kind kind;
    std::string bytes;
};

// The reader without a line: takes the bench's bytes in any chunking and gives the answers,
// keeping the card's three tracks.
class ReaderModel {
public:
    explicit ReaderModel(ReaderSettings settings);

    // The answers to the requests these bytes complete, in order.
    std::vector<Answer> feed(std::span<const std::uint8_t> bytes);
    std::vector<Answer> feed(std::string_view bytes);
    // The line was closed: a request begun is forgotten; the card stays.
    void lineClosed() { parser_.clear(); }

    const Card& card() const { return card_; }
    std::uint64_t writesTaken() const { return writes_; }

private:
    void answer(const ParsedCommand& command, std::vector<Answer>& out);
    void escape(std::string_view command, std::vector<Answer>& out);
    void write(std::string_view body, std::vector<Answer>& out);

    ReaderSettings settings_;
    CommandParser parser_;
    Card card_;
    std::uint64_t writes_ = 0;
    std::vector<ParsedCommand> parsed_;
};

} // namespace dornal::sim
