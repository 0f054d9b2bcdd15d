// The bench against the simulated reader's own model, in process and in virtual time: random
// operator actions, reader faults and misreads, and ticks, each checked against a reference that
// counts only the answers the bench took whole, knows the test data by heart and judges each
// read back against what the card should hold. A case is either many short
// runs (steps of every kind) or one long run (one loop mode started once, then thousands of
// ticks with faults and Reset Counter between them). The suite runs 10,000 steps: max_success
// cases (100 unless RC_PARAMS says otherwise) of 10,000 / max_success steps each, a long run
// taking 15 times as many ticks. A deeper run, from the build folder:
//   DORNAL_ENDURANCE_STEPS=100000 RC_PARAMS="seed=1" tests/endurance_tests
// A failure prints the seed, the RC_PARAMS that reproduce it (with the same step count) and the
// shrunk steps; a failure that does not come again on reproducing reads "no exceptions thrown".
#include "answer_shaping.h"
#include "reader_model.h"
#include "shared/protocol.h"
#include "shared/timing.h"
#include "window_fixture.h"

#include <gtest/gtest.h>
#include <rapidcheck/gtest.h>

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

// The test data, written out here as the operator's manual gives them, so that a fault in the
// bench's own tables shows rather than cancels out.
constexpr std::array<std::size_t, 3> kMaxLength{76, 37, 107};
constexpr std::array<std::string_view, 3> kLoopPatterns{
    "1111111111000000000011111111110000000000111111111100000000001111111111000000",
    "2222222222000000000022222222220000000",
    "33333333330000000000333333333300000000003333333333000000000033333333330000000000"
    "33333333330000000000"
    "3333333"};
constexpr std::array<std::string_view, 3> kSinglePatterns{"1123456789", "2123456789", "3123456789"};
constexpr std::string_view kAlphabet1 =
    " !#$&\"'()*+,-./0123456789:;<=>@ABCDEFGHIJKLMNOPQRSTUVWXYZ[\\]^_";
constexpr std::string_view kAlphabetIbm = "0123456789'=";
constexpr std::string_view kAlphabetIso = "0123456789=>";
// The tracks (bit t - 1 for track t) that a write answer's code byte reports.
constexpr std::pair<char, int> kCodes[] = {{'r', 0b010}, {'T', 0b100}, {'B', 0b110},
                                           {' ', 0b001}, {'!', 0b011}, {'"', 0b111}};

// The tracks named by a write answer's code byte; none for another byte.
int tracksOf(char code) {
    for (const auto& [byte, tracks] : kCodes) {
        if (byte == code)
            return tracks;
    }
    return 0;
}

// "4,812": a count as a read-back box's tool tip gives it.
std::string grouped(std::uint64_t n) {
    const std::string digits = std::to_string(n);
    std::string text;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            text += ',';
        text += digits[i];
    }
    return text;
}

// Four digits of the total; "0000" from 10000 on.
std::string serialOf(std::uint64_t total) {
    if (total >= 10000)
        return "0000";
    const std::string digits = "000" + std::to_string(total);
    return digits.substr(digits.size() - 4);
}

// Set: the mode, write config, character set, tracks and per-loop counts, each where its
// control is usable, and text typed into track 1's box (editable during a run too).
// Replug: Disconnect and Connect, perhaps after the line vanished.
enum class Act { Tick, Set, Start, Abandon, Reset, Replug, Fault };
// How the reader spoils its next answer; cutting a ready byte leaves it out. A blank read answer
// lacks one track's data, or its whole segment, as from a worn card.
enum class Fault { Cut, Stray, Late, Babble, Blank };

struct Step {
    Act act = Act::Tick;
    int ticks = 1;
    int mode = 0;
    int config = 0;
    int charSet = 3;
    int tracks = 0; // bit t - 1 ticks track t
    int writesPerLoop = 1;
    int readsPerLoop = 1;
    std::optional<std::string> track1Text{};
    Fault fault = Fault::Cut;
    // Bytes kept of a cut answer, stray bytes, ticks an answer is late, what a blank one lacks.
    std::size_t size = 0;
    bool vanished = false;
};

void showValue(const Step& s, std::ostream& os) {
    static const char* const acts[] = {"Tick", "Set", "Start", "Abandon", "Reset", "Replug"};
    static const char* const faults[] = {"Cut", "Stray", "Late", "Babble", "Blank"};
    if (s.act == Act::Fault)
        os << "Fault " << faults[static_cast<int>(s.fault)] << ' ' << s.size;
    else
        os << acts[static_cast<int>(s.act)];
    if (s.act == Act::Tick && s.ticks > 1)
        os << " x" << s.ticks;
    if (s.act == Act::Replug && s.vanished)
        os << " after the line vanished";
    if (s.act != Act::Set)
        return;
    os << " mode " << s.mode << " config " << s.config << " charset " << s.charSet << " tracks "
       << s.tracks << " per loop " << s.writesPerLoop << '/' << s.readsPerLoop;
    if (s.track1Text)
        os << " track 1 \"" << *s.track1Text << '"';
}

// A setting; in a long run a loop mode, more often one that writes, and a track.
rc::Gen<Step> setting(bool forLongRun) {
    return rc::gen::exec([forLongRun] {
        Step s;
        s.act = Act::Set;
        s.mode = forLongRun ? *rc::gen::weightedElement<int>({{2, 0}, {1, 1}, {2, 4}})
                            : *rc::gen::inRange(0, 5);
        s.config = *rc::gen::inRange(0, 3);
        s.charSet = *rc::gen::inRange(0, 4);
        s.tracks = *rc::gen::inRange(forLongRun ? 1 : 0, 8);
        s.writesPerLoop = *rc::gen::inRange(0, 4);
        s.readsPerLoop = *rc::gen::inRange(0, 4);
        if (*rc::gen::weightedElement<bool>({{3, false}, {1, true}}))
            s.track1Text = std::string(kAlphabet1.substr(*rc::gen::inRange(0, 62)));
        return s;
    });
}

// A babbling reader half as often as each other fault.
rc::Gen<Step> fault() {
    return rc::gen::exec([] {
        Step s;
        s.act = Act::Fault;
        s.fault = *rc::gen::weightedElement<Fault>({{2, Fault::Cut},
                                                    {2, Fault::Stray},
                                                    {2, Fault::Late},
                                                    {1, Fault::Babble},
                                                    {2, Fault::Blank}});
        const int spans[] = {256, 20, 4, 1, 6};
        s.size = *rc::gen::inRange<std::size_t>(1, spans[static_cast<int>(s.fault)] + 1);
        return s;
    });
}

rc::Gen<Step> just(Step s) {
    return rc::gen::just(s);
}

// Of a hundred short-run steps, 60 ticks, 8 settings, 10 Starts, 3 each of Abandon, Reset and
// Replug, 13 faults.
rc::Gen<Step> shortRunStep() {
    return rc::gen::weightedOneOf<Step>({{60, just({.act = Act::Tick})},
                                         {8, setting(false)},
                                         {10, just({.act = Act::Start})},
                                         {3, just({.act = Act::Abandon})},
                                         {3, just({.act = Act::Reset})},
                                         {2, just({.act = Act::Replug})},
                                         {1, just({.act = Act::Replug, .vanished = true})},
                                         {13, fault()}});
}

// Within a long run: blocks of up to 200 ticks (100 on average), faults between them, now and
// then Reset Counter or an edit of a track box; the other settings are locked.
rc::Gen<Step> longRunStep() {
    const auto ticks = rc::gen::exec([] { return Step{.ticks = *rc::gen::inRange(1, 201)}; });
    return rc::gen::weightedOneOf<Step>(
        {{80, ticks}, {16, fault()}, {1, just({.act = Act::Reset})}, {3, setting(true)}});
}

// `count` steps of `step` after `head`, each at full size from the first case on; shrinking
// drops steps.
rc::Gen<std::vector<Step>> stepsOf(std::vector<Step> head, std::size_t count, rc::Gen<Step> step) {
    return [=](rc::Random r, int) {
        std::vector<Step> steps = head;
        for (std::size_t i = 0; i < count; ++i)
            steps.push_back(step(r.split()).value());
        return rc::shrinkable::shrinkRecur(
            steps, [](const std::vector<Step>& s) { return rc::shrink::removeChunks(s); });
    };
}

// No move (an act, or one tick) may hold the line longer than a whole answer and a ready wait,
// each at most the overall answer bound, and the drains of the commands it sends.
constexpr std::int64_t kMoveMs = 2 * timing::kAnswerMaxMs + 8 * timing::kDrainMs;
// Heap in use, less the input waiting on the line, may differ between the warm-up (kWarmUp
// moves) and the end by what is pending (held answers, scheduled faults), never by something
// kept per move.
constexpr std::uint64_t kWarmUp = 50;
constexpr std::int64_t kHeapSlack = 16 * 1024;
// The line keeps this much input for the bench, as a driver's buffer would; a reader that sends
// more while the bench does not read (a tick drops one stray byte) loses the rest.
constexpr std::size_t kLineBuffer = 16 * 1024;

std::int64_t heapInUse(const MemoryLine& line) {
#if defined(__SANITIZE_ADDRESS__) // its allocator is not the one mallinfo2 reports on
    return static_cast<std::int64_t>(__sanitizer_get_current_allocated_bytes() - line.pending());
#endif
    return static_cast<std::int64_t>(mallinfo2().uordblks + mallinfo2().hblkhd - line.pending());
}

// The data of each track a write frame carries: track 2 first, "A" track 3, "~" track 1. Track 2
// data hold neither "A" nor "~", track 3 data no "~"; track 1 data may hold "A".
std::array<std::optional<std::string>, 3> frameData(std::string_view frame) {
    std::string_view body = frame.substr(2, frame.size() - 2 - kWriteTrailer.size());
    std::array<std::optional<std::string>, 3> data;
    for (const auto& [marker, i] : {std::pair{'~', 0}, {'A', 2}}) {
        const std::size_t at = body.find(marker);
        if (at == body.npos)
            continue;
        data[i] = std::string(body.substr(at + 1));
        body = body.substr(0, at);
    }
    if (!body.empty())
        data[1] = std::string(body);
    return data;
}

// A read answer without the data (`which` odd) or the whole of its `which / 2`-th segment,
// counted round; still whole and well formed.
std::string blanked(std::string b, std::size_t which) {
    std::vector<std::array<std::size_t, 3>> segments; // marker, data, end mark
    std::size_t i = 2;
    while (b[i] != kReadAnswerEnd) {
        std::size_t data = i;
        if (b[i] == 'A' || b[i] == '~')
            ++data;
        const std::size_t mark = b.find(static_cast<char>(kTrackEnd), data);
        segments.push_back({i, data, mark});
        i = mark + 1;
    }
    if (segments.empty())
        return b;
    const auto [marker, data, mark] = segments[which / 2 % segments.size()];
    if (which % 2 == 1)
        return b.erase(data, mark - data);
    return b.erase(marker, mark + 1 - marker);
}

// Where a reader answer lies in the incoming bytes, counted from the first byte ever fed, any
// stray bytes before it left out.
struct Placed {
    std::uint64_t begin;
    std::uint64_t end;
    Answer answer;
};

// The text of a check is made only when it fails. The first thing found wrong stays in the
// rig's `failure`.
#define CHECK_THAT(ok, text)                                                                       \
    do {                                                                                           \
        if (!(ok) && failure.empty())                                                              \
            failure = where() + (text);                                                            \
    } while (false)

// The window and the bench on an in-memory line, the simulated reader answering each request
// through the fault scheduled for it, and a reference of what the bench should count, show and
// send. The rig is the bench's line: it sees what the bench sends and each answer reception (an
// ESC taken by a tick and the bytes waited for right after it).
struct Rig : MemoryLine {
    WindowModel w;
    testing::RecordingAlerts alerts;
    WindowController controller{w, alerts, *this};
    sim::ReaderModel reader;
    std::deque<Step> faults;
    std::deque<std::size_t> blanks;                    // what each of the next read answers lacks
    std::deque<std::pair<std::uint64_t, Answer>> late; // each with the tick it comes before
    std::deque<Placed> placed;
    std::optional<std::pair<std::uint64_t, std::uint64_t>> reception;
    std::uint64_t fed = 0;
    std::uint64_t ticks = 0;
    std::uint64_t moves = 0;
    std::size_t step = 0;
    int tickOfStep = 0;
    std::int64_t heapAtWarmUp = 0;
    std::string failure;
    // The reference.
    Counters expected;
    bool reading = false;
    bool running = false;
    bool itripFree = true;
    bool failed = false;
    bool first = false;
    Mode mode{};
    std::array<int, 2> perLoop{};    // writes and reads per loop
    std::array<int, 2> done{};       // write and read answers taken in this loop
    std::array<std::string, 3> data; // each track's data before its next write
    // The read-back check: the data of the last write frame, what the card holds as far as the
    // bench can know (none: unknown), each track's checks in this run and whether its read-back
    // box shows a difference.
    struct Checks {
        bool shown = false; // a read of the track was checked, or got no verdict
        std::uint64_t checked = 0;
        std::uint64_t differed = 0;
        std::optional<std::uint64_t> lastLoop;
    };
    std::array<std::optional<std::string>, 3> frame;
    std::array<std::optional<std::string>, 3> card;
    std::array<Checks, 3> checks;
    std::array<bool, 3> marked{};

    Rig(int failEvery, int corruptEvery) : reader({failEvery, "ENDURANCE", corruptEvery}) {
        controller.load();
        onWrite = [this](std::string_view bytes) {
            for (const Answer& a : reader.feed(bytes))
                answer(a);
        };
        w.connectButton.click();
    }

    std::string where() const {
        return "step " + std::to_string(step) + ", tick " + std::to_string(tickOfStep) + ": ";
    }

    bool write(std::span<const std::uint8_t> bytes) override {
        received();
        sent({reinterpret_cast<const char*>(bytes.data()), bytes.size()});
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

    const std::string& run(const Step& s) {
        ++step;
        tickOfStep = 0;
        if (s.act != Act::Tick)
            move([&] { operate(s); });
        for (int i = 0; s.act == Act::Tick && i < s.ticks && failure.empty(); ++i) {
            ++tickOfStep;
            move([this] { tick(); });
        }
        return failure;
    }

    template <typename Action> void move(Action action) {
        const std::int64_t clock0 = clockMs;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(1);
        action();
        received();
        check();
        CHECK_THAT(clockMs - clock0 <= kMoveMs && std::chrono::steady_clock::now() < deadline,
                   "held the line " + std::to_string(clockMs - clock0) + " ms, or took 1 s");
        std::erase_if(placed, [this](const Placed& p) { return p.end <= taken(); });
        clearRecord();
        alerts = {};
        if (++moves == kWarmUp)
            heapAtWarmUp = heapInUse(*this);
    }

    void tick() {
        ++ticks;
        while (!late.empty() && late.front().first <= ticks) {
            place(late.front().second, late.front().second.bytes, 0);
            late.pop_front();
        }
        w.cycleTimer.tick();
    }

    void operate(const Step& s) {
        switch (s.act) {
        case Act::Tick:
            return tick();
        case Act::Set:
            return set(s);
        case Act::Abandon:
            if (running)
                abandoned();
            return w.abandonButton.click();
        case Act::Reset:
            expected.loops = 0;
            expected.totals = {};
            return w.resetButton.click();
        case Act::Replug:
            return replug(s.vanished);
        case Act::Fault: // at most eight of each wait for their answers
            if (s.fault == Fault::Blank && blanks.size() < 8)
                blanks.push_back(s.size);
            if (s.fault != Fault::Blank && faults.size() < 8)
                faults.push_back(s);
            return;
        case Act::Start:
            return start();
        }
    }

    static void select(OptionButton& option) {
        if (option.enabled())
            option.select();
    }

    void set(const Step& s) {
        select(w.modeOptions[s.mode]); // the mode first: a read mode locks the write configs
        select(w.writeConfigOptions[s.config]);
        select(w.charSetOptions[s.charSet]);
        for (int track = 1; track <= 3; ++track) {
            if (w.trackCheck(track).enabled())
                w.trackCheck(track).setValue(s.tracks >> (track - 1) & 1);
        }
        if (w.writesPerLoopBox.enabled()) { // both boxes lock together
            w.writesPerLoopBox.setText(std::to_string(s.writesPerLoop));
            w.readsPerLoopBox.setText(std::to_string(s.readsPerLoop));
        }
        if (s.track1Text) {
            w.trackBox(1).setText(*s.track1Text);
            data[0] = w.trackBox(1).text();
        }
    }

    // A run ends with its port, its counters kept.
    void replug(bool vanished) {
        if (vanished) {
            failPort();
            w.cycleTimer.tick();
        }
        itripFree = itripFree || running;
        running = false;
        w.disconnectButton.click();
        CHECK_THAT(controls() == allowed(false), "after Disconnect " + controls());
        w.connectButton.click();
        expected = {};
    }

    void start() {
        if (running) // Start is locked
            return w.startButton.click();
        bool ticked = false;
        for (int track = 1; track <= 3; ++track) {
            data[track - 1] = w.trackBox(track).text();
            ticked = ticked || w.trackCheck(track).ticked();
        }
        first = true;
        done = {};
        mode = static_cast<Mode>(w.modeOptions.selectedIndex());
        perLoop = {std::stoi(w.writesPerLoopBox.text()), std::stoi(w.readsPerLoopBox.text())};
        w.startButton.click();
        // Counters cleared at the end of Start: its first write was prepared from the old.
        expected = {};
        if (ticked) { // a run that begins knows nothing of the card
            card = {};
            checks = {};
        }
        running = ticked;
        itripFree = itripFree && !ticked;
        CHECK_THAT(ticked || alerts.messages.size() == 1, "Start without a track");
    }

    void abandoned() {
        running = false;
        itripFree = true;
        if (expected.loops > 0)
            --expected.loops;
    }

    // The reader's side: the card holds what a write it reports done sent; a read answer lacks
    // what the next blank says, and the answer goes out shaped by the next fault scheduled.
    void answer(Answer a) {
        for (int t = 1; t <= 3 && a.bytes.back() == kWriteOk; ++t) {
            CHECK_THAT(!w.trackCheck(t).ticked() || reader.card().track(t) == data[t - 1],
                       "the card holds other data on track " + std::to_string(t));
        }
        if (a.kind == Answer::Kind::Read && !blanks.empty()) {
            a.bytes = blanked(a.bytes, blanks.front());
            blanks.pop_front();
        }
        if (faults.empty())
            return place(a, a.bytes, 0);
        const Step f = faults.front();
        faults.pop_front();
        sim::Faults shaping;
        switch (f.fault) {
        case Fault::Cut: // never the whole answer
            shaping.cut = std::min(f.size, a.bytes.size() - 1);
            return place(a, *sim::shapeAnswer(a, shaping), 0);
        case Fault::Stray:
            shaping.stray = f.size;
            return place(a, *sim::shapeAnswer(a, shaping), f.size);
        case Fault::Late: { // held answers keep their order
            std::uint64_t due = ticks + f.size;
            if (!late.empty())
                due = std::max(due, late.back().first);
            late.emplace_back(due, a);
            return;
        }
        case Fault::Babble: { // begun, never ended
            const std::string head = a.kind == Answer::Kind::Ready ? "" : a.bytes.substr(0, 1);
            return place(a, head + std::string(timing::kAnswerMaxBytes + 8, 'x'), 0);
        }
        case Fault::Blank: // waits for a read answer among the blanks, never here
            return place(a, a.bytes, 0);
        }
    }

    void place(const Answer& a, const std::string& bytes, std::size_t stray) {
        if (pending() + bytes.size() > kLineBuffer)
            return;
        if (bytes.compare(stray, bytes.npos, a.bytes) == 0) // only an answer that goes out whole
            placed.push_back({fed + stray, fed + bytes.size(), a});
        feed(bytes);
        fed += bytes.size();
    }

    // The bench's side: a read command makes it expect a read answer, a write frame a write
    // answer.
    void sent(std::string_view bytes) {
        if (bytes.size() < 2 || bytes[0] != static_cast<char>(kEsc))
            return;
        for (std::string_view read : {kReadT1, kReadT2, kReadT12, kReadT3, kReadT123, kReadT23}) {
            if (bytes.substr(1) == read)
                reading = true;
        }
        if (bytes[1] != static_cast<char>(kWriteFrameStart))
            return;
        reading = false;
        frame = frameData(bytes);
        checkFrame(frame);
        first = false;
    }

    // Each frame carries the ticked tracks, their data following the write config.
    void checkFrame(const std::array<std::optional<std::string>, 3>& sentData) {
        const bool advancing = advances();
        for (std::size_t i = 0; i < 3; ++i) {
            const bool ticked = w.trackCheck(static_cast<int>(i) + 1).ticked();
            CHECK_THAT(sentData[i].has_value() == ticked,
                       "a frame does not carry the ticked tracks");
            if (!sentData[i])
                continue;
            std::string next = data[i];
            if (first && next.empty())
                next = pattern(i);
            if (advancing)
                next = advanced(i, next);
            data[i] = *sentData[i];
            CHECK_THAT(data[i] == next, "sent \"" + data[i] + "\", not \"" + next + '"');
        }
    }

    // Start advances the first write, and the write loop every write. The write/read loop
    // advances once a loop: its first write after the last read, or its last write when it has
    // no reads; never with no writes, or one write and no reads.
    bool advances() const {
        if (first || mode != Mode::WriteReadLoop)
            return true;
        const int write = done[0] + 1;
        if (write == 1)
            return perLoop[0] >= 1 && perLoop[1] >= 1;
        return perLoop[1] == 0 && write == perLoop[0];
    }

    // What an empty box is filled with: the pattern, and room for a serial number.
    std::string pattern(std::size_t i) const {
        std::string text(mode == Mode::SingleWrite ? kSinglePatterns[i] : kLoopPatterns[i]);
        if (w.writeConfigOptions.selectedIndex() == 2)
            text += "0000";
        return text.substr(0, kMaxLength[i]);
    }

    // One more test character (not after a failed write), or the serial from the total.
    std::string advanced(std::size_t i, const std::string& before) const {
        const std::uint64_t total = expected.totals[i];
        const int config = w.writeConfigOptions.selectedIndex();
        if (config == 1 && !failed) {
            std::string_view alphabet = kAlphabet1;
            if (i > 0)
                alphabet = w.charSetOptions.selectedIndex() == 3 ? kAlphabetIso : kAlphabetIbm;
            const std::string grown = before + alphabet[total % alphabet.size()];
            if (grown.size() <= kMaxLength[i])
                return grown;
            // A full box keeps its first character.
            return grown[0] + grown.substr(grown.size() + 1 - kMaxLength[i]);
        }
        if (config == 2)
            return before.substr(0, std::max<std::size_t>(before.size(), 4) - 4) + serialOf(total);
        return before;
    }

    // An answer is taken whole when a reception ended at its terminator having taken all of it
    // from its ESC on, while the bench expected its kind: only such an answer may count. What
    // the reception took before that ESC was an answer that broke off. Every reception moves
    // the run on.
    void received() {
        const auto r = std::exchange(reception, std::nullopt);
        if (!r)
            return;
        CHECK_THAT(r->second - r->first <= 1 + timing::kAnswerMaxBytes, "an answer too long");
        const auto at = std::find_if(placed.begin(), placed.end(), [&](const Placed& p) {
            return p.end == r->second && p.begin >= r->first && p.begin < r->second;
        });
        const auto kind = reading ? Answer::Kind::Read : Answer::Kind::Write;
        const bool whole = at != placed.end() && at->answer.kind == kind;
        const std::uint64_t loop = expected.loops; // a read is checked before it ends its loop
        if (!reading)
            failed = !whole || at->answer.bytes.back() != kWriteOk;
        moveRunOn();
        if (whole && reading)
            countRead(at->answer.bytes, loop);
        if (!reading)
            countWrite(failed ? 0 : tracksOf(at->answer.bytes[1]));
    }

    void moveRunOn() {
        switch (mode) {
        case Mode::WriteLoop:
            if (!reading)
                ++expected.loops;
            return;
        case Mode::ReadLoop:
            return;
        case Mode::SingleWrite:
        case Mode::SingleRead:
            if (reading == (mode == Mode::SingleRead))
                running = false;
            return;
        case Mode::WriteReadLoop:
            ++done[reading];
            if (reading && done[1] >= std::max(perLoop[1], 1)) {
                ++expected.loops;
                done = {};
            }
            return;
        }
    }

    // A track the frame carried holds its data once a write answer names it; any other write
    // answer leaves it unknown.
    void countWrite(int tracks) {
        for (std::size_t i = 0; i < 3; ++i) {
            expected.writes[i] += tracks >> i & 1;
            expected.totals[i] += tracks >> i & 1;
            if (frame[i] && (tracks >> i & 1))
                card[i] = frame[i];
            else if (frame[i])
                card[i].reset();
        }
    }

    // Segments: track 2 unmarked, "A" track 3, "~" track 1, each closed by an end mark; the
    // bench shows the data of each. An end mark alone is no read of track 2.
    void countRead(const std::string& b, std::uint64_t loop) {
        std::array<std::optional<std::string>, 3> read;
        // No segment at all: "?" lies in the range that begins track 2, which counts as read
        // with data, and none shown.
        if (b[2] == kReadAnswerEnd) {
            ++expected.reads[1];
            expected.totals[1] += mode != Mode::WriteReadLoop ? 1 : 0;
            read[1] = "";
        }
        std::size_t i = 2;
        while (b[i] != kReadAnswerEnd) {
            int track = 2;
            if (b[i] == 'A' || b[i] == '~') {
                track = b[i] == 'A' ? 3 : 1;
                ++i;
            }
            const std::size_t mark = b.find(static_cast<char>(kTrackEnd), i);
            const std::size_t t = static_cast<std::size_t>(track) - 1;
            expected.reads[t] += track != 2 || mark > i ? 1 : 0;
            expected.totals[t] += mark > i && mode != Mode::WriteReadLoop ? 1 : 0;
            auto& box = mode == Mode::WriteReadLoop ? w.readBackBox(track) : w.trackBox(track);
            read[t] = b.substr(i, mark - i);
            CHECK_THAT(box.text() == *read[t], "shows \"" + box.text() + "\" as read");
            i = mark + 1;
        }
        if (mode == Mode::WriteReadLoop)
            checkReadBack(read, loop);
    }

    // A ticked track, or one whose segment came, is checked against the card byte for byte, a
    // missing segment as no data; none while the card is unknown. Every box is refilled, so
    // only a difference marks, and only where the box shows characters.
    void checkReadBack(const std::array<std::optional<std::string>, 3>& read, std::uint64_t loop) {
        for (std::size_t i = 0; i < 3; ++i) {
            marked[i] = false;
            if (!read[i] && !w.trackCheck(static_cast<int>(i) + 1).ticked())
                continue;
            checks[i].shown = true;
            if (!card[i])
                continue;
            ++checks[i].checked;
            const std::string got = read[i].value_or("");
            if (got == *card[i])
                continue;
            ++checks[i].differed;
            checks[i].lastLoop = loop;
            marked[i] = !got.empty();
        }
    }

    // The counters shown, and the controls usable.
    void check() {
        std::string shown = w.loopCountLabel.caption();
        std::string want = std::to_string(expected.loops);
        for (std::size_t i = 0; i < 3; ++i) { // each track's total/write/read
            shown += ' ' + w.totalLabels[i].caption() + '/' + w.writeCountLabels[i].caption() +
                     '/' + w.readCountLabels[i].caption();
            want += ' ' + std::to_string(expected.totals[i]) + '/' +
                    std::to_string(expected.writes[i]) + '/' + std::to_string(expected.reads[i]);
        }
        CHECK_THAT(shown == want, "loops, total/write/read " + shown + ", not " + want);
        for (std::size_t i = 0; i < 3; ++i)
            checkSummary(i);
        CHECK_THAT(controls() == allowed(true),
                   "controls " + controls() + ", not " + allowed(true));
    }

    // A read-back box's tool tip and marks; the time of the last difference is the clock's.
    void checkSummary(std::size_t i) {
        const TextBox& box = w.readBackBoxes[i];
        const std::string& tip = box.toolTip();
        const Checks& c = checks[i];
        std::string want;
        if (c.shown)
            want = "Track " + std::to_string(i + 1) + " read back: " + grouped(c.checked) +
                   " checked, " + grouped(c.differed) + " differed";
        if (c.lastLoop) {
            const std::string at = ", the last at ";
            const std::string time = tip.substr(std::min(want.size() + at.size(), tip.size()), 8);
            want += at + time + " in loop " + grouped(*c.lastLoop);
        }
        CHECK_THAT(tip == want, "tool tip \"" + tip + "\", not \"" + want + '"');
        CHECK_THAT(box.marks().empty() != marked[i],
                   "track " + std::to_string(i + 1) + (marked[i] ? " unmarked" : " marked"));
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
        // The write strengths: locked by a run, and freed only by Abandon.
        const std::string itrip = itripFree ? "1" : "0";
        if (!connected)
            return "0000000" + itrip + "1001";
        if (running)
            return "1010000" + itrip + "0110";
        return "0101111" + itrip + "0110";
    }
};

RC_GTEST_PROP(Endurance, TheBenchCountsExactlyTheAnswersItTookWhole, ()) {
    const char* total = std::getenv("DORNAL_ENDURANCE_STEPS");
    const long perCase =
        (total ? std::atol(total) : 10000) / rc::detail::configuration().testParams.maxSuccess;
    const auto count = static_cast<std::size_t>(std::max(1L, perCase));
    const int failEvery = *rc::gen::inRange(0, 6);    // every k-th write fails, 0 none
    const int corruptEvery = *rc::gen::inRange(0, 8); // every k-th read misreads, 0 none
    RC_LOG() << "reader: fail every " << failEvery << ", corrupt every " << corruptEvery << '\n';
    const bool longRun = *rc::gen::weightedElement<bool>({{2, false}, {1, true}});
    std::vector<Step> steps;
    if (longRun) {
        // Its steps hold 80 ticks on average: 15 times `count` ticks in all.
        const std::size_t stepCount = 15 * count / 80;
        steps = *stepsOf({*setting(true), {.act = Act::Start}}, stepCount, longRunStep());
    } else {
        steps = *stepsOf({}, count, shortRunStep());
    }
    Rig rig(failEvery, corruptEvery);
    for (const Step& s : steps)
        RC_ASSERT(rig.run(s) == "");
    if (rig.moves > kWarmUp) // the heap in use has not grown with the moves
        RC_ASSERT(heapInUse(rig) - rig.heapAtWarmUp <= kHeapSlack);
}

} // namespace
} // namespace dornal::endurance
