#include "run_recorder.h"

#include "record/record_format.h"
#include "record/record_text.h"

#include <algorithm>

namespace dornal {
namespace {

using record::Event;
using record::Importance;
namespace outcome = record::outcome;
namespace setting = record::setting;

// Past its size bound a record still says every hour where the run stands.
constexpr std::chrono::hours kSummaryEvery{1};

constexpr const char* kModeNames[] = {"Auto Write Loop", "Auto Read Loop", "Singal Write",
                                      "Singal Read", "Auto Write/Read Loop"};
constexpr const char* kWriteConfigNames[] = {"Not Chage Data", "Add Test Char", "Add Serie Number"};
constexpr const char* kCharSetNames[] = {"IBM Char Set1", "IBM Char Set2", "IBM Char Set3",
                                         "ISO Char Set"};
constexpr const char* kItripNames[] = {"1/3", "2/3", "3/3"};
constexpr const char* kProgramVersion = "Dornal Test 1.10";

template <typename Choice, std::size_t N>
std::string nameOf(const std::optional<Choice>& choice, const char* const (&names)[N]) {
    if (!choice)
        return "none";
    return names[static_cast<std::size_t>(*choice)];
}

std::string trackList(TrackSet tracks) {
    std::string text;
    for (int track = 1; track <= kTrackCount; ++track) {
        if (!holds(tracks, track))
            continue;
        if (!text.empty())
            text += ' ';
        text += std::to_string(track);
    }
    return text;
}

std::string_view glitchOutcome(Glitch glitch) {
    switch (glitch) {
    case Glitch::TimedOut:
        return outcome::kTimedOut;
    case Glitch::TooLong:
        return outcome::kTooLong;
    case Glitch::PortError:
        return outcome::kPortError;
    case Glitch::NotReady:
        return outcome::kNotReady;
    case Glitch::StrayBytes:
        break;
    }
    return outcome::kStrayBytes;
}

std::string_view endOutcome(RunEnd how) {
    switch (how) {
    case RunEnd::Abandoned:
        return outcome::kAbandoned;
    case RunEnd::SingleWriteDone:
        return outcome::kSingleWriteDone;
    case RunEnd::SingleReadDone:
        return outcome::kSingleReadDone;
    case RunEnd::Disconnected:
        return outcome::kDisconnected;
    case RunEnd::WindowClosed:
        break;
    }
    return outcome::kWindowClosed;
}

// A wait that ran out is an answer that timed out, or a reader that was not ready.
Glitch glitchOf(Outcome lost, Glitch timedOut = Glitch::TimedOut) {
    switch (lost) {
    case Outcome::TimedOut:
        return timedOut;
    case Outcome::TooLong:
        return Glitch::TooLong;
    default:
        return Glitch::PortError;
    }
}

} // namespace

std::string groupedNumber(std::uint64_t n) {
    const std::string digits = std::to_string(n);
    std::string grouped;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            grouped.push_back(',');
        grouped.push_back(digits[i]);
    }
    return grouped;
}

RunRecorder::RunRecorder(Clock clock, record::RecordLimits limits)
    : clock_(std::move(clock)), limits_(limits) {}

void RunRecorder::recordInto(std::optional<std::filesystem::path> directory,
                             record::RecordLimits limits) {
    directory_ = std::move(directory);
    limits_ = limits;
}

void RunRecorder::begin(const RunSettings& settings) {
    settings_ = settings;
    running_ = true;
    sent_ = {};
    card_ = {};
    checks_ = {};
    lastSummary_ = clock_();
    file_.reset();
    if (!directory_)
        return;
    file_ = std::make_unique<record::RecordFile>(limits_);
    file_->start(*directory_, lastSummary_, kModeNames[static_cast<int>(settings.mode)]);
    settingRows(settings);
}

void RunRecorder::settingRows(const RunSettings& s) {
    const std::pair<std::string_view, std::string> rows[] = {
        {setting::kPort, "COM " + std::to_string(s.port)},
        {setting::kDevice, s.device},
        {setting::kRate, std::to_string(s.rate)},
        {setting::kMode, kModeNames[static_cast<int>(s.mode)]},
        {setting::kWriteConfig, nameOf(s.writeConfig, kWriteConfigNames)},
        {setting::kCharSet, nameOf(s.charSet, kCharSetNames)},
        {setting::kWriteStrength, nameOf(s.itrip, kItripNames)},
        {setting::kTracks, trackList(s.tracks)},
        {setting::kWritesPerLoop, std::to_string(s.perLoop.writes)},
        {setting::kReadsPerLoop, std::to_string(s.perLoop.reads)},
        {setting::kVersion, kProgramVersion},
    };
    for (const auto& [name, value] : rows)
        add(0, Event::Setting, 0, value, {}, name, {}, Importance::Kept);
}

void RunRecorder::add(std::uint64_t loop, Event event, int track, std::string data,
                      std::string answer, std::string_view outcome, std::string detail,
                      Importance importance) {
    if (!file_)
        return;
    record::RecordRow row;
    row.time = clock_();
    row.loop = loop;
    row.event = event;
    row.track = track;
    row.data = std::move(data);
    row.answer = std::move(answer);
    row.outcome = std::string(outcome);
    row.detail = std::move(detail);
    file_->add(row, importance);
}

// Each track the frame carried was written or not, as the answer says; what the card holds is
// known only after a write the reader reported done.
void RunRecorder::writeAnswer(std::uint64_t loop, TrackSet written, const std::string& status) {
    for (int track = 1; track <= kTrackCount; ++track) {
        const std::optional<std::string>& data = sent_[trackIndex(track)];
        if (!data)
            continue;
        const bool done = holds(written, track);
        if (done)
            card_.writeDone(track, *data);
        else
            card_.writeFailed(track);
        const auto importance = done ? Importance::Routine : Importance::Kept;
        const std::string_view said = done ? outcome::kWritten : outcome::kFailed;
        add(loop, Event::Write, track, *data, status, said, {}, importance);
    }
}

// An answer that never came whole leaves every track it wrote unknown.
void RunRecorder::writeLost(std::uint64_t loop, Outcome lost) {
    for (int track = 1; track <= kTrackCount; ++track)
        if (sent_[trackIndex(track)])
            card_.writeFailed(track);
    glitch(loop, glitchOf(lost), "awaiting a write answer");
}

void RunRecorder::readLost(std::uint64_t loop, Outcome lost) {
    glitch(loop, glitchOf(lost), "awaiting a read answer");
}

void RunRecorder::readyLost(std::uint64_t loop, Outcome lost) {
    glitch(loop, glitchOf(lost, Glitch::NotReady), "awaiting the ready byte");
}

std::vector<TrackVerdict> RunRecorder::readAnswer(std::uint64_t loop, const ReadAnswer& answer) {
    std::vector<TrackVerdict> verdicts;
    const bool checking = settings_.mode == Mode::WriteReadLoop;
    for (int track = 1; track <= kTrackCount; ++track) {
        const auto segment =
            std::find_if(answer.segments.begin(), answer.segments.end(),
                         [track](const ReadSegment& s) { return s.track == track; });
        const std::string* data = segment == answer.segments.end() ? nullptr : &segment->data;
        if (!checking) {
            if (data)
                add(loop, Event::Read, track, *data, {}, outcome::kRead, {}, Importance::Routine);
            continue;
        }
        // A track read back that the run writes is checked, whether its segment came or not.
        if (!data && !holds(settings_.tracks, track))
            continue;
        TrackVerdict v{track, verdict(loop, track, data), {}};
        v.summary = checkSummary(track);
        verdicts.push_back(std::move(v));
    }
    return verdicts;
}

// The read data against the last write done: a segment missing or without data where data
// were written differs.
std::optional<record::ReadBackCheck> RunRecorder::verdict(std::uint64_t loop, int track,
                                                          const std::string* data) {
    const std::string read = data ? *data : std::string();
    const std::optional<std::string_view> expected = card_.expected(track);
    if (!expected) {
        add(loop, Event::Read, track, read, {}, outcome::kNoVerdict, {}, Importance::Routine);
        return std::nullopt;
    }
    record::ReadBackCheck check = record::checkReadBack(*expected, read);
    CheckCount& count = checks_[trackIndex(track)];
    ++count.checked;
    if (check.agrees()) {
        add(loop, Event::Read, track, read, {}, outcome::kSame, {}, Importance::Routine);
        return check;
    }
    ++count.differed;
    count.lastAt = clock_();
    count.lastLoop = loop;
    const std::string detail = "expected " + record::lineBytesText(*expected);
    add(loop, Event::Read, track, read, {}, outcome::kDiffers, detail, Importance::Kept);
    return check;
}

void RunRecorder::glitch(std::uint64_t loop, Glitch glitch, std::string detail) {
    add(loop, Event::Glitch, 0, {}, {}, glitchOutcome(glitch), std::move(detail), Importance::Kept);
}

void RunRecorder::reset(std::uint64_t loop) {
    add(loop, Event::Reset, 0, {}, {}, {}, "loop count and totals zeroed", Importance::Kept);
}

void RunRecorder::countRows(Event event, const Counters& counters, std::string_view said) {
    for (int track = 1; track <= kTrackCount; ++track) {
        const std::size_t i = trackIndex(track);
        const CheckCount& check = checks_[i];
        const std::string detail = "total=" + std::to_string(counters.totals[i]) +
                                   " write=" + std::to_string(counters.writes[i]) +
                                   " read=" + std::to_string(counters.reads[i]) +
                                   " checked=" + std::to_string(check.checked) +
                                   " differed=" + std::to_string(check.differed);
        add(counters.loops, event, track, {}, {}, said, detail, Importance::Kept);
    }
    add(counters.loops, event, 0, {}, {}, said, "loops=" + std::to_string(counters.loops),
        Importance::Kept);
}

void RunRecorder::hourly(const Counters& counters) {
    if (!file_ || !file_->limited())
        return;
    const auto now = clock_();
    if (now - lastSummary_ < kSummaryEvery)
        return;
    lastSummary_ = now;
    countRows(Event::Summary, counters, {});
}

void RunRecorder::end(RunEnd how, const Counters& counters) {
    if (!running_)
        return;
    countRows(Event::End, counters, endOutcome(how));
    running_ = false;
    if (file_)
        file_->finish();
}

std::string RunRecorder::recordState() const {
    if (!file_)
        return {};
    const std::string path = file_->path().string();
    const std::string problem = file_->problem();
    if (!problem.empty())
        return "Record stopped: " + problem;
    return "Record: " + path;
}

std::string RunRecorder::checkSummary(int track) const {
    const CheckCount& count = checks_[trackIndex(track)];
    std::string text = "Track " + std::to_string(track) +
                       " read back: " + groupedNumber(count.checked) + " checked, " +
                       groupedNumber(count.differed) + " differed";
    if (count.lastAt) {
        const std::string at = record::localTimeText(*count.lastAt);
        text += ", the last at " + at.substr(11, 8) + " in loop " + groupedNumber(count.lastLoop);
    }
    return text;
}

} // namespace dornal
