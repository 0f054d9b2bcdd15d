#pragma once

#include <cstdint>
#include <string>
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

// Counters are decimal texts that count exactly, however large they grow.
// The leading whole number of the text (0 if there is none) plus `delta`, as plain decimal text.
std::string addToCounterText(std::string_view text, int delta);

// The leading whole number of a counter text as plain decimal digits with an optional "-"
// and the fraction rounded half to even (so "2.5" gives "2"); "0" when there is none.
std::string counterDigits(std::string_view text);

// The remainder of a non-negative decimal number (given as digits) divided by m.
unsigned decimalMod(std::string_view digits, unsigned m);

} // namespace dornal
