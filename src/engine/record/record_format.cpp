#include "record_format.h"

#include "record_text.h"

#include <cctype>
#include <ctime>

namespace dornal::record {

namespace {

std::string slug(std::string_view name) {
    std::string out;
    bool gap = false;
    for (char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '&') {
            continue; // a caption's shortcut mark
        }
        if (byte < 128 && std::isalnum(byte)) {
            if (gap && !out.empty()) {
                out += '-';
            }
            gap = false;
            out += static_cast<char>(std::tolower(byte));
        } else {
            gap = true;
        }
    }
    return out;
}

// Write and read rows carry the bytes of the line; the other rows the program's own text.
std::string dataText(const RecordRow& row) {
    if (row.event == Event::Write || row.event == Event::Read) {
        return lineBytesText(row.data);
    }
    return plainText(row.data);
}

} // namespace

std::string formatRow(const RecordRow& row) {
    const std::string data = dataText(row);
    std::string line = localTimeText(row.time);
    line += ',';
    line += std::to_string(row.loop);
    line += ',';
    line += eventName(row.event);
    line += ',';
    if (row.track >= 1 && row.track <= 3) {
        line += std::to_string(row.track);
    }
    line += ',';
    line += csvField(data);
    for (const std::string* text : {&row.answer, &row.outcome, &row.detail}) {
        line += ',';
        line += csvField(plainText(*text));
    }
    line += kLineEnd;
    return line;
}

std::string recordBaseName(std::chrono::system_clock::time_point start, std::string_view modeName) {
    const std::time_t whole = std::chrono::system_clock::to_time_t(start);
    std::tm local{};
    localtime_r(&whole, &local);
    char text[32];
    const std::size_t length = std::strftime(text, sizeof text, "%Y-%m-%d_%H-%M-%S", &local);
    std::string name(text, length);
    const std::string mode = slug(modeName);
    if (!mode.empty()) {
        name += '_' + mode;
    }
    return name;
}

} // namespace dornal::record
