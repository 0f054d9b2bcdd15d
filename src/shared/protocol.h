#pragma once

#include <array>
#include <cstdint>
#include <string_view>

// Every byte the program and the reader exchange.
namespace dornal::protocol {

inline constexpr std::uint8_t kEsc = 27;

// Escape commands: the bytes after ESC.
inline constexpr std::string_view kReadT1 = " ";
inline constexpr std::string_view kReadT2 = "]";
inline constexpr std::string_view kReadT12 = "#";
inline constexpr std::string_view kReadT3 = "T]";
inline constexpr std::string_view kReadT123 = "\"";
inline constexpr std::string_view kReadT23 = "B]";
inline constexpr std::string_view kAbandon = "0";
inline constexpr std::string_view kReadyCheck = "e";
inline constexpr std::string_view kResetReader = "a";
inline constexpr std::string_view kSetCharSetIbm1 = "'";
inline constexpr std::string_view kSetCharSetIbm2 = "O";
inline constexpr std::string_view kSetCharSetIbm3 = "N";
inline constexpr std::string_view kSetCharSetIso = "=";
inline constexpr std::string_view kSetItrip13 = "*";
inline constexpr std::string_view kSetItrip23 = "+";
inline constexpr std::string_view kSetItrip33 = ",";

// Write frame: ESC "t", track 2 data, "A" track 3 data, "~" track 1 data, trailer.
inline constexpr std::uint8_t kWriteFrameStart = 't';
inline constexpr std::uint8_t kTrack3Marker = 'A';
inline constexpr std::uint8_t kTrack1Marker = '~';
inline constexpr std::array<std::uint8_t, 5> kWriteTrailer{29, 27, 92, 27, 106};

// Firmware version query and the layout of each of its two answer frames.
inline constexpr std::array<std::uint8_t, 10> kFirmwareQuery{66, 0, 6, 26, 34, 0, 0, 0, 128, 252};
inline constexpr int kFirmwareHeaderBytes = 2;     // then the payload length, payload, closing byte
inline constexpr int kFirmwareTrailingPayload = 2; // payload bytes not shown as version text

// Answers.
inline constexpr std::uint8_t kWriteOk = 'p';
inline constexpr std::uint8_t kWriteFailed = 'q';
inline constexpr std::uint8_t kReadAnswerKind = 's';
inline constexpr std::uint8_t kReadAnswerEnd = '?';
inline constexpr std::uint8_t kTrackEnd = 127;
// A read answer carries a track 2 segment when the byte after "s" lies in this range
// (or is kTrackEnd); track 2 has no marker of its own.
inline constexpr std::uint8_t kTrack2SegmentFirst = '0';
inline constexpr std::uint8_t kTrack2SegmentLast = '?';
inline constexpr std::uint8_t kReady = 'y';

// Write answer code bytes: which tracks the write covered (bit 0 = track 1 ... bit 2 = track 3)
// and where the result byte stands in the answer (after the ESC).
struct WriteCode {
    std::uint8_t code;
    std::uint8_t tracks;
    int resultPosition;
};
inline constexpr std::array<WriteCode, 6> kWriteCodes{{
    {'r', 0b010, 1},
    {'T', 0b100, 2},
    {'B', 0b110, 2},
    {' ', 0b001, 2},
    {'!', 0b011, 2},
    {'"', 0b111, 2},
}};

// Line rates the reader works at, in the order the window offers them. The line runs with
// 8 data bits, no parity and 1 stop bit; a line opened before any rate was chosen runs at 9600.
inline constexpr std::array<int, 8> kBaudRates{1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200};
inline constexpr int kDefaultBaudRate = 9600;

} // namespace dornal::protocol
