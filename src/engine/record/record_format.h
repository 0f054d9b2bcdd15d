#pragma once

#include "record_row.h"

#include <chrono>
#include <string>
#include <string_view>

// The record's file name and its lines.
namespace dornal::record {

// The header row, without its line end.
inline constexpr std::string_view kRecordHeader =
    "time,loop,event,track,data,answer,outcome,detail";
// Every row ends so (RFC 4180).
inline constexpr std::string_view kLineEnd = "\r\n";

// One row as a CSV line with its line end. The data of write and read rows are line bytes
// (lineBytesText); every other field is the program's text (plainText).
std::string formatRow(const RecordRow& row);

// "2026-12-07_03-12-44_auto-write-read-loop" for a run started then in "Auto Write/Read
// Loop": the local start time, then the mode in lower case with a "-" for every run of other
// characters than letters and digits ("&", a caption's shortcut mark, left out). No extension.
std::string recordBaseName(std::chrono::system_clock::time_point start, std::string_view modeName);

} // namespace dornal::record
