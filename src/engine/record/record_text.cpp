#include "record_text.h"

#include <charconv>
#include <cstdint>
#include <cstdio>
#include <ctime>

namespace dornal::record {

namespace {

using std::chrono::system_clock;

void appendEscape(std::string& out, std::uint8_t byte) {
    constexpr std::string_view kHex = "0123456789ABCDEF";
    out += "\\x";
    out += kHex[byte >> 4];
    out += kHex[byte & 0x0F];
}

// Appends a byte that is no control byte and no backslash unchanged; returns whether it did.
bool appendEscaped(std::string& out, std::uint8_t byte) {
    if (byte == '\\') {
        out += "\\\\";
        return true;
    }
    if (byte < 32 || byte == 127) {
        appendEscape(out, byte);
        return true;
    }
    return false;
}

std::optional<int> digits(std::string_view text, std::size_t at, std::size_t count) {
    int value = 0;
    const char* first = text.data() + at;
    auto [end, ec] = std::from_chars(first, first + count, value);
    if (ec != std::errc() || end != first + count) {
        return std::nullopt;
    }
    return value;
}

// "0" in the shape stands for any digit; every other character for itself.
bool fitsShape(char shape, char c) {
    if (shape == '0') {
        return c >= '0' && c <= '9';
    }
    return c == shape;
}

} // namespace

std::string csvField(std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) {
        return std::string(text);
    }
    std::string out = "\"";
    for (char c : text) {
        if (c == '"') {
            out += '"';
        }
        out += c;
    }
    out += '"';
    return out;
}

std::string lineBytesText(std::string_view bytes) {
    std::string out;
    for (char c : bytes) {
        const auto byte = static_cast<std::uint8_t>(c);
        if (appendEscaped(out, byte)) {
            continue;
        }
        if (byte < 128) {
            out += c;
            continue;
        }
        // Latin-1 128..255 is U+0080..U+00FF: two bytes in UTF-8.
        out += static_cast<char>(0xC0 | (byte >> 6));
        out += static_cast<char>(0x80 | (byte & 0x3F));
    }
    return out;
}

std::string plainText(std::string_view text) {
    std::string out;
    for (char c : text) {
        if (!appendEscaped(out, static_cast<std::uint8_t>(c))) {
            out += c;
        }
    }
    return out;
}

std::string localTimeText(system_clock::time_point time) {
    const auto ms = std::chrono::floor<std::chrono::milliseconds>(time.time_since_epoch());
    const auto seconds = std::chrono::floor<std::chrono::seconds>(ms);
    const std::time_t whole = static_cast<std::time_t>(seconds.count());
    std::tm local{};
    localtime_r(&whole, &local);
    char text[32];
    const std::size_t length = std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &local);
    char millis[8];
    std::snprintf(millis, sizeof millis, ".%03d", static_cast<int>((ms - seconds).count()));
    return std::string(text, length) + millis;
}

std::optional<system_clock::time_point> parseLocalTime(std::string_view text) {
    // "YYYY-MM-DDTHH:MM:SS.mmm"
    constexpr std::string_view kShape = "0000-00-00T00:00:00.000";
    if (text.size() != kShape.size()) {
        return std::nullopt;
    }
    for (std::size_t i = 0; i < kShape.size(); ++i) {
        if (!fitsShape(kShape[i], text[i])) {
            return std::nullopt;
        }
    }
    const auto year = digits(text, 0, 4);
    const auto month = digits(text, 5, 2);
    const auto day = digits(text, 8, 2);
    const auto hour = digits(text, 11, 2);
    const auto minute = digits(text, 14, 2);
    const auto second = digits(text, 17, 2);
    const auto millis = digits(text, 20, 3);
    if (!year || !month || !day || !hour || !minute || !second || !millis) {
        return std::nullopt;
    }
    std::tm local{};
    local.tm_year = *year - 1900;
    local.tm_mon = *month - 1;
    local.tm_mday = *day;
    local.tm_hour = *hour;
    local.tm_min = *minute;
    local.tm_sec = *second;
    local.tm_isdst = -1;
    const std::time_t whole = std::mktime(&local);
    if (whole == static_cast<std::time_t>(-1)) {
        return std::nullopt;
    }
    return system_clock::from_time_t(whole) + std::chrono::milliseconds(*millis);
}

} // namespace dornal::record
