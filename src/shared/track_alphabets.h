#pragma once

#include <string_view>

namespace dornal {

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
