#pragma once

#include "shared/protocol.h"

#include <cstdint>
#include <string_view>

// What the simulated reader sends where the bench neither sends nor examines anything: the
// simulator's own choices, kept apart from the protocol bytes both sides rely on.
namespace dornal::sim::choice {

// The byte between the code byte and the result byte of a write answer. Never "p" or "q":
// those would end the answer early at the bench.
inline constexpr char kWriteFiller = '0';

// The two payload bytes after the version text, which the bench does not show.
inline constexpr std::string_view kVersionTrailer = "\r\n";
static_assert(kVersionTrailer.size() == protocol::kFirmwareTrailingPayload);

inline constexpr std::string_view kDefaultVersionText = "DORNAL SIM 1.0";
// One length byte gives a payload of at most 255 bytes; the bench's 259-byte buffer holds that
// with the two header bytes, the length byte and the closing byte.
inline constexpr std::size_t kMaxVersionText = 255 - kVersionTrailer.size();

// The payload of the first firmware frame: the two command bytes of the query it answers.
inline constexpr std::size_t kFirmwareCommandOffset = 3;
inline constexpr std::size_t kFirmwareCommandBytes = 2;

// Stray bytes are taken in turn from this text; none of them is ESC or the ready byte.
inline constexpr std::string_view kStrayBytes = "xz";

// Noise on a line whose rate does not match: bytes 128..255, so that no noise byte reads as
// ESC, the ready byte or an answer terminator.
inline constexpr int kNoiseFirst = 128;

} // namespace dornal::sim::choice
