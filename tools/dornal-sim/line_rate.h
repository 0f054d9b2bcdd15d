#pragma once

#include <chrono>
#include <optional>
#include <termios.h>

namespace dornal::sim {

// The termios speed code of a line rate in baud; nullopt for a rate a serial line cannot take.
std::optional<speed_t> speedCode(int baud);
// The rate in baud of a speed code; 0 when unknown.
int baudOf(speed_t code);

// How long one byte takes on the line: a start bit, 8 data bits and a stop bit.
std::chrono::nanoseconds byteTime(int baud);

} // namespace dornal::sim
