#include "benchmarks.h"
#include "report.h"
#include "sim_session.h"
#include "tick_driver.h"

#include "engine/counting.h"
#include "shared/protocol.h"
#include "shared/timing.h"

#include <unistd.h>

#include <algorithm>
#include <array>

#include <filesystem>
#include <fstream>
#include <regex>
#include <stdexcept>
#include <thread>

namespace dornal::bench {
namespace {

// The stretch at each end of the run over which tick times are averaged.
constexpr double kWindowMs = 60000;
// Every 5th write fails; one stray byte comes before every answer.
const std::vector<std::string> kFaults{"--fail-every", "5", "--stray", "1"};

long residentKb() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return resident * sysconf(_SC_PAGESIZE) / 1024;
}

long openDescriptors() {
    long count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd"))
        ++count;
    return count;
}

// Mean time of the ticks that took an answer (those that return at once say nothing).
struct TickTimes {
    double busyMs = 0;
    int busy = 0;
    void add(double tickMs) {
        if (tickMs >= 1) {
            busyMs += tickMs;
            ++busy;
        }
    }
    double mean() const { return busy > 0 ? busyMs / busy : 0; }
};

// "writes-done 1=N 2=N 3=N" -> N of track `track`.
std::uint64_t tallied(const std::string& tally, const std::string& field, int track) {
    const std::regex pattern(field + " 1=(\\d+) 2=(\\d+) 3=(\\d+)");
    std::smatch match;
    if (!std::regex_search(tally, match, pattern))
        throw std::runtime_error("no " + field + " in the tally: " + tally);
    return std::stoull(match[static_cast<std::size_t>(track)].str());
}

// The answer waiting on the line, counted into `counters` as a whole answer taken by the
// bench (reads with data outside the write/read loop's totals); its kind, for the report.
std::string addAnswerInFlight(Line& line, Counters& counters) {
    std::array<std::uint8_t, AnswerBuffer::kSize> bytes{};
    const int got = line.take(bytes);
    const auto* esc = std::find(bytes.begin(), bytes.begin() + std::max(got, 0), protocol::kEsc);
    AnswerBuffer answer;
    for (auto* b = esc + 1; b < bytes.begin() + std::max(got, 0); ++b)
        answer.append(*b);
    if (esc == bytes.begin() + std::max(got, 0) || answer.length == 0)
        return "none";
    if (answer.at(0) == protocol::kReadAnswerKind) {
        for (const ReadSegment& segment : decodeReadAnswer(answer).segments)
            countReadSegment(counters, segment.track, segment.hasData, false);
        return "read";
    }
    countWrite(counters, decodeWriteAnswer(answer).written);
    return "write";
}

} // namespace

void soak(std::chrono::seconds runFor, const std::string& recordDir) {
    SimSession session(kFaults, 115200);
    if (!recordDir.empty())
        session.controller.bench().recorder().recordInto(recordDir);
    session.start(Mode::WriteReadLoop);
    const long rssStart = residentKb();
    const long fdsStart = openDescriptors();
    const double endMs = std::chrono::duration<double, std::milli>(runFor).count();
    TickTimes first, last;
    long rssAfterWarmUp = 0;
    // Resident memory every five minutes, to tell a steady level from a slow climb.
    constexpr double kSampleMs = 300000;
    std::string rssSamples;
    double nextSampleMs = kSampleMs;
    const TickRun run = driveTicks(session.window.cycleTimer, session.controller, runFor, 1e9,
                                   [&](double atMs, double tickMs) {
                                       if (atMs < kWindowMs)
                                           first.add(tickMs);
                                       else if (rssAfterWarmUp == 0)
                                           rssAfterWarmUp = residentKb();
                                       if (atMs > endMs - kWindowMs)
                                           last.add(tickMs);
                                       if (atMs >= nextSampleMs) {
                                           rssSamples += std::to_string(residentKb()) + " ";
                                           nextSampleMs += kSampleMs;
                                       }
                                   });
    const long rssEnd = residentKb();
    const long fdsEnd = openDescriptors();

    // The reader answers the last command the run sent; that answer is taken off the line
    // here and added as the bench would count it, then the reader stops and tells its tally.
    std::this_thread::sleep_for(std::chrono::seconds(1));
    Counters counters = session.controller.bench().counters();
    const std::string inFlight = addAnswerInFlight(session.line, counters);
    const std::string tally = session.stopReader();

    put("minutes", run.wallSeconds / 60);
    put("loops", static_cast<double>(counters.loops));
    put("rss_kb_start", static_cast<double>(rssStart));
    put("rss_kb_after_first_minute", static_cast<double>(rssAfterWarmUp));
    put("rss_kb_end", static_cast<double>(rssEnd));
    put("rss_kb_every_5_min", rssSamples);
    put("fds_start", static_cast<double>(fdsStart));
    put("fds_end", static_cast<double>(fdsEnd));
    put("busy_tick_ms_first_minute", first.mean());
    put("busy_tick_ms_last_minute", last.mean());
    put("cpu_s_per_min", run.cpuSeconds * 60 / run.wallSeconds);
    put("answer_in_flight", inFlight);
    put("tally", tally.substr(0, tally.find('\n')));
    bool equal = true;
    for (int track = 1; track <= 3; ++track) {
        const auto i = trackIndex(track);
        const std::string t = std::to_string(track);
        put(("bench_writes_" + t).c_str(), static_cast<double>(counters.writes[i]));
        put(("bench_reads_" + t).c_str(), static_cast<double>(counters.reads[i]));
        equal = equal && counters.writes[i] == tallied(tally, "writes-done", track) &&
                counters.reads[i] == tallied(tally, "reads-with-data", track);
    }
    put("counters_equal_tally", equal ? "yes" : "no");
    session.window.abandonButton.click();
    session.settle();
    put("record", session.window.statusLabel.toolTip());
}

} // namespace dornal::bench
