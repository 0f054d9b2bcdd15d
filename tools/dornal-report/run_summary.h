#pragma once

#include "engine/record/record_row.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

// What a run's record says, counted from its rows.
namespace dornal::report {

using record::RecordRow;

struct Incident {
    std::chrono::system_clock::time_point time;
    std::uint64_t loop = 0;
    std::string what; // "failed write", "differs", or the glitch's kind
};

// The rows of one track, or (track 0) the glitches of no single track.
struct PartSummary {
    std::uint64_t writesDone = 0;
    std::uint64_t writesFailed = 0;
    std::uint64_t reads = 0;
    std::uint64_t same = 0;
    std::uint64_t differing = 0;
    std::uint64_t noVerdict = 0;
    std::map<std::string, std::uint64_t> glitches; // by kind
    std::optional<Incident> firstIncident;
    std::optional<Incident> lastIncident;
    std::string endCounts; // the detail of the track's end row
    bool seen = false;     // any row of this part
};

struct RunSummary {
    std::optional<std::chrono::system_clock::time_point> from;
    std::optional<std::chrono::system_clock::time_point> to;
    std::uint64_t lastLoop = 0;
    std::string ended;                // how the run ended; empty when the record has no end row
    std::array<PartSummary, 4> parts; // index 0: no single track; 1..3: the tracks
    std::vector<std::string> notes;
};

RunSummary summarize(const std::vector<RecordRow>& rows);

// The summary as the report prints it, the skipped rows named at the end.
std::string summaryText(const RunSummary& summary, const std::vector<std::string>& skipped);

} // namespace dornal::report
