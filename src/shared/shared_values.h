#pragma once

#include <cstdint>
#include <string>

namespace dornal {

// Flags the program keeps itself are 16-bit integers: 0 is false, -1 (all bits) is true.
using Flag16 = std::int16_t;
inline constexpr Flag16 kFalse = 0;
inline constexpr Flag16 kTrue = -1;

// The values every part of the program shares for the life of the process.
struct SharedValues {
    std::int16_t PortNumber = 0; // 1..8 once Connect has run, 0 before
    std::int16_t BaudCode = 0;   // kept from the previous Connect when no baud entry is chosen
    std::int16_t LineMode = 0;
    Flag16 LastCmdRead = kFalse; // true: waiting bytes are a read answer
    Flag16 WriteFailed = kFalse; // true: "Add Test Char" writes the same data again
    std::int16_t WritesLeft = 0; // writes still to send in this write/read loop
    std::int16_t ReadsLeft = 0;  // reads still to send in this write/read loop
    std::string Track1Alphabet;  // stored when the window loads
    std::string Track2Alphabet;
    std::string Track3Alphabet;
};

// The one instance the program uses; tests make their own.
SharedValues& processShared();

} // namespace dornal
