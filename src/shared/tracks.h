#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace dornal {

// Tracks are numbered 1, 2, 3 everywhere; arrays indexed by track use track - 1.
inline constexpr int kTrackCount = 3;

constexpr std::size_t trackIndex(int track) {
    return static_cast<std::size_t>(track - 1);
}

// A set of tracks as bits: bit 0 track 1, bit 1 track 2, bit 2 track 3. The read commands
// are chosen by this value.
using TrackSet = std::uint8_t;
constexpr TrackSet trackBit(int track) {
    return static_cast<TrackSet>(1u << (track - 1));
}
constexpr bool holds(TrackSet tracks, int track) {
    return (tracks & trackBit(track)) != 0;
}

// Track 2 leads the write frame, track 3 follows, track 1 comes last; the data of the
// ticked tracks are prepared in the same order.
inline constexpr std::array<int, 3> kFrameTrackOrder{2, 3, 1};

// How many characters each track's box holds.
inline constexpr std::array<int, 3> kTrackMaxLength{76, 37, 107};

// Whether a track can carry the character: track 1 space to "_" but "%" and "?"; tracks 2
// and 3 the digits, ":", "<", "=", ">" and "'".
constexpr bool trackCarries(int track, char c) {
    const auto code = static_cast<unsigned char>(c);
    if (track == 1)
        return code >= 32 && code <= 95 && code != '%' && code != '?';
    return (code >= '0' && code <= ':') || code == '<' || code == '=' || code == '>' ||
           code == '\'';
}

// Test characters are taken from these by position. Track 1 has no "%" and no "?",
// and puts "&" before the double quote.
inline constexpr std::string_view kTrack1Alphabet =
    " !#$&\"'()*+,-./0123456789:;<=>@ABCDEFGHIJKLMNOPQRSTUVWXYZ[\\]^_";
inline constexpr std::string_view kTrack2Alphabet = "0123456789'="; // IBM character sets
inline constexpr std::string_view kTrack3Alphabet = "0123456789=>"; // ISO character set

static_assert(kTrack1Alphabet.size() == 62);
static_assert(kTrack2Alphabet.size() == 12);
static_assert(kTrack3Alphabet.size() == 12);

} // namespace dornal
