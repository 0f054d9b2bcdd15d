#include "line_rate.h"

#include <array>
#include <utility>

namespace dornal::sim {

namespace {

constexpr std::array<std::pair<int, speed_t>, 12> kRates{{
    {110, B110},
    {300, B300},
    {600, B600},
    {1200, B1200},
    {1800, B1800},
    {2400, B2400},
    {4800, B4800},
    {9600, B9600},
    {19200, B19200},
    {38400, B38400},
    {57600, B57600},
    {115200, B115200},
}};

constexpr int kBitsPerByte = 10;

} // namespace

std::optional<speed_t> speedCode(int baud) {
    for (const auto& [rate, code] : kRates) {
        if (rate == baud) {
            return code;
        }
    }
    return std::nullopt;
}

int baudOf(speed_t code) {
    for (const auto& [rate, c] : kRates) {
        if (c == code) {
            return rate;
        }
    }
    return 0;
}

std::chrono::nanoseconds byteTime(int baud) {
    return std::chrono::nanoseconds(std::chrono::seconds(kBitsPerByte)) / baud;
}

} // namespace dornal::sim
