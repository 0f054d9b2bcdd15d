#pragma once

#include <chrono>
#include <cstdio>
#include <string>
#include <string_view>

namespace dornal::sim {

// "1B 74 31": each byte as two upper-case hex digits, separated by spaces.
std::string hexBytes(std::string_view bytes);

// The log of every byte in and out with its time, when asked for.
class Trace {
public:
    Trace() = default;
    ~Trace();
    Trace(const Trace&) = delete;
    Trace& operator=(const Trace&) = delete;

    // Logs to `file`, or to standard error when empty. Throws SimError.
    void open(const std::string& file);
    // "   1.234567 in  1B 74 ..." (direction "in" or "out").
    void bytes(std::string_view direction, std::string_view data);
    // "   1.234567 -- text"
    void note(std::string_view text);

private:
    void line(std::string_view tag, std::string_view text);

    std::FILE* out_ = nullptr;
    bool ownsFile_ = false;
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

} // namespace dornal::sim
