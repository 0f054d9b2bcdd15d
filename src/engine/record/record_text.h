#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

// How the record writes its fields, times and bytes as text.
namespace dornal::record {

// One CSV field: quoted, with its quotes doubled, when it holds a comma, a quote, CR or LF.
std::string csvField(std::string_view text);

// Bytes from the line as UTF-8 text that says every byte: 32..126 as themselves, except "\"
// as "\\"; bytes below 32 and 127 as "\xHH" (upper-case hex); 128..255 as the Latin-1
// character they stand for.
std::string lineBytesText(std::string_view bytes);

// The program's own text (UTF-8) for a field: "\" as "\\" and control bytes (below 32, 127)
// as "\xHH", like lineBytesText; everything else as it is.
std::string plainText(std::string_view text);

// Local time to the millisecond: "2026-12-07T03:12:44.123".
std::string localTimeText(std::chrono::system_clock::time_point time);
// The time such a text stands for; nullopt when it is no such text.
std::optional<std::chrono::system_clock::time_point> parseLocalTime(std::string_view text);

} // namespace dornal::record
