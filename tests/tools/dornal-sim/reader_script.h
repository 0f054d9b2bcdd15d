#pragma once

#include "reader_model.h"

#include <algorithm>
#include <string>

// What the simulator's tests send the reader model, written readably.
namespace dornal::sim::testing {

// "^" stands for ESC and "|" for DEL.
inline std::string b(std::string text) {
    std::ranges::replace(text, '^', '\x1b');
    std::ranges::replace(text, '|', '\x7f');
    return text;
}

// A write frame around its body.
inline std::string frame(const std::string& body) {
    return b("^t") + body + "\x1d\x1b\\\x1bj";
}

// All the model answers to the bytes, one after the other.
inline std::string answerTo(ReaderModel& reader, const std::string& bytes) {
    std::string all;
    for (const Answer& a : reader.feed(bytes))
        all += a.bytes;
    return all;
}

} // namespace dornal::sim::testing
