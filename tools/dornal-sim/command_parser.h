#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace dornal::sim {

// One complete request taken from the line.
struct ParsedCommand {
    enum class Kind { Escape, WriteFrame, FirmwareQuery };
    Kind kind;
    // Escape: the bytes after ESC, one of the command constants of protocol.h.
    std::string_view escape;
    // WriteFrame: everything between ESC "t" and the trailer.
    std::string frameBody;
};

// Splits the byte stream from the bench into requests. Takes bytes in any chunking, skips
// bytes that start no known request, and holds at most one write frame body of bounded size,
// so no input can make it grow without end.
class CommandParser {
public:
    // A longer frame is dropped: three tracks hold far fewer characters.
    static constexpr std::size_t kMaxFrameBody = 1024;

    // Takes one byte and appends each request it completes to `out`.
    void take(std::uint8_t byte, std::vector<ParsedCommand>& out);
    // Forgets any request begun: the line was closed.
    void clear();

private:
    enum class State { Idle, Escape, Frame, Firmware };

    void step(std::uint8_t byte, std::vector<ParsedCommand>& out);
    void idle(std::uint8_t byte);
    void escape(std::uint8_t byte, std::vector<ParsedCommand>& out);
    void frame(std::uint8_t byte, std::vector<ParsedCommand>& out);
    void firmware(std::uint8_t byte, std::vector<ParsedCommand>& out);
    // Starts over in Idle with `bytes`: a request that broke off may hide the start of another.
    void restartWith(std::string_view bytes, std::vector<ParsedCommand>& out);

    State state_ = State::Idle;
    std::string escapeBytes_;
    std::string body_;
    std::size_t trailerMatched_ = 0;
    std::size_t queryMatched_ = 0;
};

} // namespace dornal::sim
