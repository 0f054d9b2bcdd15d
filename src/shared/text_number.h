#pragma once

#include <cstdint>
#include <string_view>

namespace dornal {

// The leading number of a text: optional blanks, sign, digits, fraction and exponent.
// A text that does not begin with a number reads as 0.
double leadingNumber(std::string_view text);

// A 16-bit count from a text: its leading number rounded half to even. A number outside
// -32768..32767 is held at the nearest end of that range and `outOfRange` says so.
struct Count16 {
    std::int16_t value = 0;
    bool outOfRange = false;
};
Count16 count16FromText(std::string_view text);

// Lowers a 16-bit count by one, holding it at -32768 instead of wrapping.
std::int16_t decrementCount16(std::int16_t value);

} // namespace dornal
