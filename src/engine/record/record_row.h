#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// One row of a run's record, and what the record's columns may say.
namespace dornal::record {

enum class Event { Setting, Write, Read, Glitch, Reset, Note, Summary, End };

// Past its size bound a record keeps only the rows that tell of trouble or of the run's shape.
enum class Importance { Routine, Kept };

struct RecordRow {
    std::chrono::system_clock::time_point time;
    std::uint64_t loop = 0;
    Event event = Event::Note;
    int track = 0; // 1..3; 0 for a row of no single track
    // Write and read rows: the bytes written or read, as they went over the line. Other rows:
    // text (a setting's value).
    std::string data;
    std::string answer; // a write answer as the status line shows it
    std::string outcome;
    std::string detail;
    bool operator==(const RecordRow&) const = default;
};

// The word in the "event" column, and back.
std::string_view eventName(Event event);
std::optional<Event> eventNamed(std::string_view name);

// The words of the "outcome" column.
namespace outcome {
// Answer rows.
inline constexpr std::string_view kWritten = "written";
inline constexpr std::string_view kFailed = "failed";
inline constexpr std::string_view kRead = "read";
inline constexpr std::string_view kSame = "same";
inline constexpr std::string_view kDiffers = "differs";
inline constexpr std::string_view kNoVerdict = "no verdict";
// Glitch rows.
inline constexpr std::string_view kTimedOut = "timed out";
inline constexpr std::string_view kTooLong = "too long";
inline constexpr std::string_view kPortError = "port error";
inline constexpr std::string_view kNotReady = "not ready";
inline constexpr std::string_view kStrayBytes = "stray bytes dropped";
// End rows: how the run ended.
inline constexpr std::string_view kAbandoned = "abandoned";
inline constexpr std::string_view kSingleWriteDone = "single write done";
inline constexpr std::string_view kSingleReadDone = "single read done";
inline constexpr std::string_view kDisconnected = "disconnected";
inline constexpr std::string_view kWindowClosed = "window closed";
} // namespace outcome

// The setting names in the "outcome" column of setting rows.
namespace setting {
inline constexpr std::string_view kPort = "port";
inline constexpr std::string_view kDevice = "device";
inline constexpr std::string_view kRate = "rate";
inline constexpr std::string_view kMode = "mode";
inline constexpr std::string_view kWriteConfig = "write config";
inline constexpr std::string_view kCharSet = "char set";
inline constexpr std::string_view kWriteStrength = "write strength";
inline constexpr std::string_view kTracks = "tracks";
inline constexpr std::string_view kWritesPerLoop = "writes per loop";
inline constexpr std::string_view kReadsPerLoop = "reads per loop";
inline constexpr std::string_view kVersion = "version";
} // namespace setting

} // namespace dornal::record
