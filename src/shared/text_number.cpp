#include "text_number.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace dornal {
namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

std::size_t skipBlanks(std::string_view text, std::size_t i) {
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    return i;
}

std::size_t skipDigits(std::string_view text, std::size_t i) {
    while (i < text.size() && isDigit(text[i]))
        ++i;
    return i;
}

// Length of the number that starts at `start`, 0 when none does.
std::size_t numberLength(std::string_view text, std::size_t start) {
    std::size_t i = start;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        ++i;
    const std::size_t intStart = i;
    i = skipDigits(text, i);
    bool digits = i > intStart;
    if (i < text.size() && text[i] == '.') {
        const std::size_t fracStart = i + 1;
        const std::size_t fracEnd = skipDigits(text, fracStart);
        if (digits || fracEnd > fracStart) {
            digits = true;
            i = fracEnd;
        }
    }
    if (!digits)
        return 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E' || text[i] == 'd' || text[i] == 'D')) {
        std::size_t e = i + 1;
        if (e < text.size() && (text[e] == '+' || text[e] == '-'))
            ++e;
        const std::size_t expEnd = skipDigits(text, e);
        if (expEnd > e)
            i = expEnd;
    }
    return i - start;
}

// Whether a well-formed number (digits, fraction, "e" exponent) lies beyond 1 in size, judged
// by the place of its first significant digit and its exponent, so that neither a long run of
// zeros nor a large exponent can mislead.
bool beyondOne(std::string_view number) {
    const std::size_t exponentAt = number.find_first_of("eE");
    const std::string_view mantissa = number.substr(0, exponentAt);
    const std::size_t point = std::min(mantissa.find('.'), mantissa.size());
    const std::size_t first = mantissa.find_first_of("123456789");
    if (first == std::string_view::npos)
        return false;
    // The power of ten of the first significant digit, held well inside the range of long long.
    constexpr long long kFar = 1'000'000'000'000LL;
    long long order = first < point ? static_cast<long long>(point - first - 1)
                                    : -static_cast<long long>(first - point);
    if (exponentAt != std::string_view::npos) {
        std::size_t i = exponentAt + 1;
        const bool negative = i < number.size() && number[i] == '-';
        if (i < number.size() && (number[i] == '-' || number[i] == '+'))
            ++i;
        long long exponent = 0;
        for (; i < number.size() && exponent < kFar; ++i)
            exponent = exponent * 10 + (number[i] - '0');
        order += negative ? -exponent : exponent;
    }
    return order >= 0;
}

} // namespace

double leadingNumber(std::string_view text) {
    const std::size_t start = skipBlanks(text, 0);
    const std::size_t length = numberLength(text, start);
    if (length == 0)
        return 0.0;
    std::string number(text.substr(start, length));
    for (char& c : number)
        if (c == 'd' || c == 'D')
            c = 'e';
    const char* first = number.c_str();
    if (*first == '+')
        ++first;
    double value = 0.0;
    const auto [end, error] = std::from_chars(first, number.c_str() + number.size(), value);
    (void)end;
    if (error == std::errc::result_out_of_range) {
        // Too large or too small for a double: keep its sign, let callers see the size.
        if (!beyondOne(number))
            return 0.0;
        return number[0] == '-' ? -std::numeric_limits<double>::infinity()
                                : std::numeric_limits<double>::infinity();
    }
    return value;
}

Count16 count16FromText(std::string_view text) {
    const double rounded = std::nearbyint(leadingNumber(text)); // ties to even
    if (rounded > 32767.0)
        return {32767, true};
    if (rounded < -32768.0)
        return {-32768, true};
    return {static_cast<std::int16_t>(rounded), false};
}

std::int16_t decrementCount16(std::int16_t value) {
    return value == std::numeric_limits<std::int16_t>::min() ? value
                                                             : static_cast<std::int16_t>(value - 1);
}

} // namespace dornal
