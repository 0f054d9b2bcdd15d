// The bench against the simulated reader's own model, in process and in virtual time: random
// operator actions, reader faults and ticks, each step checked against a reference that counts
// only the answers the bench took whole. The suite runs 10,000 steps: max_success test cases
// (100 unless RC_PARAMS says otherwise) of 10,000 / max_success steps each. A long run, from the
// build folder: DORNAL_ENDURANCE_STEPS=100000 RC_PARAMS="seed=1" tests/endurance_tests
// A failure prints the seed, the RC_PARAMS that reproduce it (with the same step count) and the
// shrunk steps; a failure that does not come again on reproducing reads "no exceptions thrown".
#include "answer_shaping.h"
#include "engine/test_data.h"
#include "reader_model.h"
#include "shared/protocol.h"
#include "shared/timing.h"
#include "window_fixture.h"

#include <gtest/gtest.h>
#include <rapidcheck/gtest.h>
#include <rapidcheck/state.h>

#include <chrono>
#include <deque>

#include <malloc.h>
#if defined(__SANITIZE_ADDRESS__) // GCC ships no header for it
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#endif

namespace dornal::endurance {
namespace {

using namespace protocol;
using sim::Answer;

// Set: the mode, write config, tracks and per-loop counts, each where its control is usable.
// Replug: Disconnect and Connect, after the line vanished when the step's number is odd.
enum class Act { Tick, Set, Start, Abandon, Reset, Replug, Fault };
// How the reader spoils its next answer; cutting a ready byte leaves it out.
enum class Fault { Cut, Stray, Late, Babble };

// No step may hold the line longer than a whole answer and a ready wait, each at most the
// overall answer bound, and the drains of the commands it sends.
// Heap in use, less the input waiting on the line, may differ between the warm-up (kWarmUp steps)
// and the end by what is pending (held answers, scheduled faults), never by something kept per
// step.
constexpr std::int64_t kStepMs = 2 * timing::kAnswerMaxMs + 8 * timing::kDrainMs, kWarmUp = 50,
                       kHeapSlack = 16 * 1024;
// The line keeps this much input for the bench, as a driver's buffer would; a reader that sends
// more while the bench does not read (a tick drops one stray byte) loses the rest.
constexpr std::size_t kLineBuffer = 16 * 1024;

// Heap in use, less the input waiting on the line.
std::int64_t heapInUse(const MemoryLine& line) {
#if defined(__SANITIZE_ADDRESS__) // its allocator is not the one mallinfo2 reports on
    return static_cast<std::int64_t>(__sanitizer_get_current_allocated_bytes() - line.pending());
#endif
    return static_cast<std::int64_t>(mallinfo2().uordblks + mallinfo2().hblkhd - line.pending());
}

// A fault step's number picks the fault (a babbling reader half as often as each other one)
// and its size: bytes kept of a cut answer, stray bytes, or ticks an answer is held back.
constexpr auto faultOf = [](int a) { return static_cast<Fault>(a % 7 / 2); };
constexpr int kSpans[] = {256, 20, 4, 1};
constexpr auto sizeOf = [](int a) { return std::size_t(a / 7 % kSpans[a % 7 / 2] + 1); };
// What a setting step types into track 1 when a / 1920 % 4 is 0: a tail of the test alphabet.
const auto typed = [](int a) { return std::string(kTrack1Alphabet.substr(a / 7680 % 62)); };

// The data of each track a write frame carries: track 2 first, "A" track 3, "~" track 1. Track 2
// data hold neither "A" nor "~", track 3 data no "~"; track 1 data may hold "A".
auto frameData(std::string_view frame) {
    std::string_view body = frame.substr(2, frame.size() - 2 - kWriteTrailer.size());
    std::array<std::optional<std::string>, 3> data;
    for (const auto& [marker, i] : {std::pair{kTrack1Marker, 0}, {kTrack3Marker, 2}})
        if (const std::size_t at = body.find(static_cast<char>(marker)); at != body.npos)
            data[i] = std::string(body.substr(at + 1)), body = body.substr(0, at);
    data[1] = body.empty() ? std::nullopt : std::optional<std::string>(body);
    return data;
}

// Where a reader answer lies in the incoming bytes, counted from the first byte ever fed, any
// stray bytes before it left out.
struct Placed {
    std::uint64_t begin, end;
    Answer answer;
};

// The text of a check is made only when it fails: the steps run at full speed. The first thing
// found wrong stays in the rig's `failure`.
#define CHECK_THAT(ok, text)                                                                       \
    ((ok) || !failure.empty() ? void()                                                             \
                              : void(failure = "step " + std::to_string(steps) + ": " + (text)))

// The window and the bench on an in-memory line, the simulated reader answering each request
// through the fault scheduled for it, and a reference of what the bench should count, show and
// send. The rig is the bench's line: it sees what the bench sends and each answer reception (an
// ESC taken by a tick and the bytes waited for right after it). The first thing found wrong
// stays in `failure`.
struct Rig : MemoryLine {
    WindowModel w;
    testing::RecordingAlerts alerts;
    WindowController controller{w, alerts, *this};
    sim::ReaderModel reader;
    std::deque<int> faults;
    std::deque<std::pair<std::uint64_t, Answer>> late; // each with the tick it comes before
    std::deque<Placed> placed;
    std::optional<std::pair<std::uint64_t, std::uint64_t>> reception;
    std::uint64_t fed = 0, ticks = 0, steps = 0;
    std::int64_t heapAtWarmUp = 0;
    std::string failure;
    // The reference.
    Counters expected;
    bool reading = false, running = false, itripFree = true, failed = false, first = false;
    Mode mode{};
    std::array<int, 2> perLoop{}, done{}; // writes and reads: per loop, and done in this loop
    std::array<std::string, 3> data;      // each track's data before its next write

    explicit Rig(int failEvery) : reader({failEvery, "ENDURANCE"}) {
        controller.load();
        onWrite = [this](std::string_view bytes) {
            std::ranges::for_each(reader.feed(bytes), [this](const Answer& a) { answer(a); });
        };
        w.connectButton.click();
    }

    bool write(std::span<const std::uint8_t> bytes) override {
        received(), sent({reinterpret_cast<const char*>(bytes.data()), bytes.size()});
        return MemoryLine::write(bytes);
    }
    // A reception begins at an ESC a tick takes, and goes on while bytes are taken one by one;
    // a drain takes them in larger pieces.
    int take(std::span<std::uint8_t> bytes) override {
        const int got = MemoryLine::take(bytes);
        if (bytes.size() != 1 || got != 1)
            return got;
        if (reception)
            reception->second = taken();
        else if (bytes[0] == kEsc)
            reception = {taken() - 1, taken()};
        return got;
    }
    std::uint64_t taken() const { return fed - pending(); }

    const std::string& run(Act act, int a) {
        const std::int64_t clock0 = clockMs;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(1);
        operate(act, a), received(), check();
        CHECK_THAT(clockMs - clock0 <= kStepMs && std::chrono::steady_clock::now() < deadline,
                   "held the line " + std::to_string(clockMs - clock0) + " ms, or took 1 s");
        std::erase_if(placed, [this](const Placed& p) { return p.end <= taken(); });
        clearRecord(), alerts = {};
        heapAtWarmUp = ++steps == kWarmUp ? heapInUse(*this) : heapAtWarmUp;
        return failure;
    }

    void operate(Act act, int a) {
        switch (act) {
        case Act::Tick:
            for (++ticks; !late.empty() && late.front().first <= ticks; late.pop_front())
                place(late.front().second, late.front().second.bytes, 0);
            return w.cycleTimer.tick();
        case Act::Set: // the mode first: a read mode locks the write configs
            for (OptionButton* option : {&w.modeOptions[a % 5], &w.writeConfigOptions[a / 5 % 3]})
                option->enabled() ? option->select() : void();
            for (int track = 1; track <= 3; ++track)
                if (w.trackCheck(track).enabled())
                    w.trackCheck(track).setValue(a / 15 >> (track - 1) & 1);
            if (w.writesPerLoopBox.enabled()) // both boxes lock together
                w.writesPerLoopBox.setText(std::to_string(a / 120 % 4)),
                    w.readsPerLoopBox.setText(std::to_string(a / 480 % 4));
            if (a / 1920 % 4 == 0) // the track boxes stay editable during a run
                w.trackBox(1).setText(typed(a)), data[0] = w.trackBox(1).text();
            return;
        case Act::Abandon:
            return running ? abandoned() : void(), w.abandonButton.click();
        case Act::Reset:
            return expected.loops = 0, expected.totals = {}, w.resetButton.click();
        case Act::Replug: // a run ends with its port, its counters kept
            a % 2 == 1 ? failPort(), w.cycleTimer.tick() : void();
            itripFree |= running;
            running = false;
            w.disconnectButton.click();
            CHECK_THAT(controls() == allowed(false), "after Disconnect " + controls());
            return w.connectButton.click(), void(expected = {});
        case Act::Fault: // at most eight wait for their answers
            return faults.size() < 8 ? faults.push_back(a) : void();
        case Act::Start:
            if (running) // Start is locked
                return w.startButton.click();
            bool ticked = false;
            for (int track = 1; track <= 3; ++track)
                data[trackIndex(track)] = w.trackBox(track).text(),
                ticked |= w.trackCheck(track).ticked();
            first = true, done = {}, mode = static_cast<Mode>(w.modeOptions.selectedIndex());
            perLoop = {std::stoi(w.writesPerLoopBox.text()), std::stoi(w.readsPerLoopBox.text())};
            // Counters cleared at the end of Start: its first write was prepared from the old.
            w.startButton.click(), expected = {}, running = ticked, itripFree &= !ticked;
            return CHECK_THAT(ticked || alerts.messages.size() == 1, "Start without a track");
        }
    }

    void abandoned() { running = false, itripFree = true, expected.loops -= expected.loops > 0; }

    // The reader's side: the card holds what a write it reports done sent; the answer goes out
    // shaped by the next fault scheduled.
    void answer(const Answer& a) {
        for (int t = 1; t <= 3; ++t) // what the frame just sent carried (see sent())
            CHECK_THAT(a.bytes.back() != kWriteOk || !w.trackCheck(t).ticked() ||
                           reader.card().track(t) == data[t - 1],
                       "the card holds other data on track " + std::to_string(t));
        if (faults.empty())
            return place(a, a.bytes, 0);
        const int f = faults.front();
        faults.pop_front();
        sim::Faults shaping;
        if (faultOf(f) == Fault::Cut) // never the whole answer
            shaping.cut = std::min(sizeOf(f), a.bytes.size() - 1);
        shaping.stray = faultOf(f) == Fault::Stray ? sizeOf(f) : 0;
        const std::string babble(timing::kAnswerMaxBytes + 8, 'x'); // begun, never ended
        if (faultOf(f) == Fault::Late)                              // held answers keep their order
            late.emplace_back(std::max(ticks + sizeOf(f), late.empty() ? 0 : late.back().first), a);
        else if (faultOf(f) == Fault::Babble)
            place(a, a.bytes.substr(0, a.kind == Answer::Kind::Ready ? 0 : 1) + babble, 0);
        else
            place(a, *sim::shapeAnswer(a, shaping), shaping.stray);
    }

    void place(const Answer& a, const std::string& bytes, std::size_t stray) {
        if (pending() + bytes.size() > kLineBuffer)
            return;
        if (bytes.compare(stray, bytes.npos, a.bytes) == 0) // only an answer that goes out whole
            placed.push_back({fed + stray, fed + bytes.size(), a});
        feed(bytes), fed += bytes.size();
    }

    // The bench's side: a read command makes it expect a read answer, a write frame a write
    // answer; each frame carries the ticked tracks, their data following the write config.
    void sent(std::string_view bytes) {
        if (bytes.size() < 2 || bytes[0] != static_cast<char>(kEsc))
            return;
        for (std::string_view read : {kReadT1, kReadT2, kReadT12, kReadT3, kReadT123, kReadT23})
            reading |= bytes.substr(1) == read;
        if (bytes[1] != static_cast<char>(kWriteFrameStart))
            return;
        reading = false;
        const auto sentData = frameData(bytes);
        const int config = w.writeConfigOptions.selectedIndex();
        const auto set = mode == Mode::SingleWrite ? PatternSet::Single : PatternSet::Loop;
        // The write/read loop advances its data once a loop: after its last read, or before its
        // last write when it has no reads; never with no writes, or one write and no reads.
        const int write = done[0] + 1, writes = perLoop[0], reads = perLoop[1];
        const bool advances = first || mode != Mode::WriteReadLoop ||
                              (write == 1 ? writes >= 1 && reads >= 1 : !reads && write == writes);
        for (int track = 1; track <= 3; ++track) {
            const std::size_t i = trackIndex(track);
            CHECK_THAT(sentData[i].has_value() == w.trackCheck(track).ticked(),
                       "a frame does not carry the ticked tracks");
            std::string before = data[i];
            if (first && before.empty()) // the pattern, and room for a serial number
                before = (std::string(defaultPattern(track, set)) + (config == 2 ? "0000" : ""))
                             .substr(0, static_cast<std::size_t>(kTrackMaxLength[i]));
            const std::string next = advances ? advanced(track, before, config) : before;
            data[i] = sentData[i].value_or(next);
            CHECK_THAT(data[i] == next, "sent \"" + data[i] + "\", not \"" + next + '"');
        }
        first = false;
    }

    // One more test character (not after a failed write), or the serial from the total.
    std::string advanced(int track, const std::string& before, int config) const {
        const std::uint64_t total = expected.totals[trackIndex(track)];
        const auto max = static_cast<std::size_t>(kTrackMaxLength[trackIndex(track)]);
        const std::string grown = before + testCharacter(track, true, total);
        if (config == 1 && !failed) // a full box keeps its first character
            return grown.size() <= max ? grown : grown[0] + grown.substr(grown.size() + 1 - max);
        if (config == 2)
            return before.substr(0, std::max(before.size(), 4ul) - 4) + serialNumber(total);
        return before;
    }

    // An answer is taken whole when a reception ended at its terminator having taken all of it
    // from its ESC on, while the bench expected its kind: only such an answer may count. What
    // the reception took before that ESC was an answer that broke off.
    void received() {
        const auto r = std::exchange(reception, std::nullopt);
        if (!r)
            return;
        CHECK_THAT(r->second - r->first <= 1 + timing::kAnswerMaxBytes, "an answer too long");
        const auto at = std::find_if(placed.begin(), placed.end(), [&](const Placed& p) {
            return p.end == r->second && p.begin >= r->first && p.begin < r->second;
        });
        // (Answer::Kind lists Write, then Read.)
        const bool whole = at != placed.end() && at->answer.kind == Answer::Kind(reading);
        const std::string b = whole ? at->answer.bytes : "";
        const bool wrote = whole && !reading && b.back() == kWriteOk;
        failed = reading ? failed : !wrote;
        if (mode == Mode::WriteLoop && !reading)
            ++expected.loops;
        else if (mode == (reading ? Mode::SingleRead : Mode::SingleWrite))
            running = false;
        else if (mode == Mode::WriteReadLoop && ++done[reading] >= std::max(perLoop[1], 1) &&
                 reading) // a write only counts in done[0]
            ++expected.loops, done = {};
        for (const WriteCode& code : kWriteCodes)
            for (int t = 1; t <= 3 && wrote && code.code == b[1]; ++t)
                for (std::uint64_t* n : {&expected.writes[t - 1], &expected.totals[t - 1]})
                    *n += holds(code.tracks, t);
        // Segments: track 2 unmarked, "A" track 3, "~" track 1, each closed by an end mark; the
        // bench shows the data of each.
        for (std::size_t i = 2, mark = 0; whole && reading && b[i] != kReadAnswerEnd;
             i = mark + 1) {
            const int track = b[i] == 'A' ? 3 : b[i] == '~' ? 1 : 2; // only track 2 has no marker
            mark = b.find(static_cast<char>(kTrackEnd), i += track != 2);
            expected.reads[trackIndex(track)] += track != 2 || mark > i ? 1 : 0;
            expected.totals[trackIndex(track)] += mark > i && mode != Mode::WriteReadLoop ? 1 : 0;
            auto& box = mode == Mode::WriteReadLoop ? w.readBackBox(track) : w.trackBox(track);
            CHECK_THAT(box.text() == b.substr(i, mark - i), "shows \"" + box.text() + "\" as read");
        }
    }

    // The counters shown, and the controls usable.
    void check() {
        const std::array labels{&w.totalLabels, &w.writeCountLabels, &w.readCountLabels};
        const std::array counts{&expected.totals, &expected.writes, &expected.reads};
        std::string shown = w.loopCountLabel.caption(), want = std::to_string(expected.loops);
        for (std::size_t i = 0; i < 9; ++i) // each track's total/write/read
            shown += (i % 3 ? "/" : " ") + labels[i % 3]->at(i / 3).caption(),
                want += (i % 3 ? "/" : " ") + std::to_string(counts[i % 3]->at(i / 3));
        shown += ", controls " + controls(), want += ", controls " + allowed(true);
        CHECK_THAT(shown == want, "loops, total/write/read " + shown + ", not " + want);
    }

    // As 1s and 0s: the timer, Start, Abandon, the modes, the track checks, the per-loop counts,
    // the character sets, the write strengths, Connect, Disconnect, Reset Counter, the port list.
    std::string controls() const {
        const auto on = [](const auto&... c) { return std::string{(c.enabled() ? '1' : '0')...}; };
        return on(w.cycleTimer, w.startButton, w.abandonButton, w.modeOptions[0], w.trackChecks[0],
                  w.writesPerLoopBox, w.charSetOptions[0], w.itripOptions[0], w.connectButton,
                  w.disconnectButton, w.resetButton, w.portList);
    }
    std::string allowed(bool connected) const {
        const char* head = !connected ? "0000000" : running ? "1010000" : "0101111";
        // The write strengths: locked by a run, and freed only by Abandon.
        return head + std::string(itripFree ? "1" : "0") + (connected ? "0110" : "1001");
    }
};

// What a step shows when it fails: the act, and the number that operate() decodes.
const char* const kActs[] = {"Tick", "Set", "Start", "Abandon", "Reset", "Replug", "Fault"};

struct Model {};
struct Step : rc::state::Command<Model, Rig> {
    Step(Act act, int a) : act(act), a(a) {}
    void run(const Model&, Rig& rig) const override { RC_ASSERT(rig.run(act, a) == ""); }
    void show(std::ostream& os) const override { os << kActs[static_cast<int>(act)] << ' ' << a; }
    Act act;
    int a;
};
using Steps = rc::state::Commands<Step::CommandType>;

// Each act's share of a hundred steps, summed in the order of Act (60 ticks, 8 settings, 10
// Starts, 3 each of Abandon, Reset and Replug, 13 faults): the majority are ticks.
constexpr int kUpTo[] = {60, 68, 78, 81, 84, 87, 100};

// A fixed number of steps; shrinking drops steps.
rc::Gen<Steps> stepsOf(std::size_t count) {
    return [count](rc::Random r, int) {
        const auto number = rc::gen::inRange(0, 1 << 20);
        Steps steps;
        for (std::size_t i = 0; i < count; ++i) {
            const int n = number(r.split()).value() % 100;
            const auto act = Act(std::upper_bound(std::begin(kUpTo), std::end(kUpTo), n) - kUpTo);
            steps.push_back(std::make_shared<const Step>(act, number(r.split()).value()));
        }
        return rc::shrinkable::shrinkRecur(
            steps, [](const Steps& s) { return rc::shrink::removeChunks(s); });
    };
}

RC_GTEST_PROP(Endurance, TheBenchCountsExactlyTheAnswersItTookWhole, ()) {
    const char* total = std::getenv("DORNAL_ENDURANCE_STEPS");
    const long perCase =
        (total ? std::atol(total) : 10000) / rc::detail::configuration().testParams.maxSuccess;
    const int failEvery = *rc::gen::inRange(0, 6); // every k-th write fails, 0 none
    Rig rig(failEvery);
    rc::state::runAll(*stepsOf(static_cast<std::size_t>(std::max(1L, perCase))), Model{}, rig);
    RC_ASSERT(rig.failure == "");
    if (rig.steps > kWarmUp) // the heap in use has not grown with the steps
        RC_ASSERT(heapInUse(rig) - rig.heapAtWarmUp <= kHeapSlack);
}

} // namespace
} // namespace dornal::endurance
