#include "options.h"

#include "line_rate.h"
#include "sim_choices.h"

#include <charconv>
#include <cmath>
#include <functional>
#include <limits>

namespace dornal::sim {

namespace {

std::optional<long long> wholeNumber(std::string_view text, long long lowest, long long highest) {
    long long value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || value < lowest ||
        value > highest) {
        return std::nullopt;
    }
    return value;
}

std::optional<double> seconds(std::string_view text) {
    double value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(value) ||
        value <= 0 || value > 1e6) {
        return std::nullopt;
    }
    return value;
}

// Walks the arguments, splitting "--name=value" and handing out values on request.
class ArgReader {
public:
    explicit ArgReader(std::span<const std::string_view> args) : args_(args) {}

    bool next() {
        if (index_ >= args_.size()) {
            return false;
        }
        std::string_view arg = args_[index_++];
        const std::size_t eq = arg.find('=');
        if (arg.starts_with("--") && eq != std::string_view::npos) {
            name_ = arg.substr(0, eq);
            inlineValue_ = arg.substr(eq + 1);
        } else {
            name_ = arg;
            inlineValue_.reset();
        }
        return true;
    }
    std::string_view name() const { return name_; }
    bool hasInlineValue() const { return inlineValue_.has_value(); }
    // The value of the current option: inline, or the next argument.
    std::optional<std::string_view> value() {
        if (inlineValue_) {
            return inlineValue_;
        }
        if (index_ < args_.size()) {
            return args_[index_++];
        }
        return std::nullopt;
    }
    // The next argument when it can only be this option's value (it is no option itself).
    std::optional<std::string_view> optionalValue() {
        if (inlineValue_) {
            return inlineValue_;
        }
        if (index_ < args_.size() && !args_[index_].starts_with("-")) {
            return args_[index_++];
        }
        return std::nullopt;
    }

private:
    std::span<const std::string_view> args_;
    std::size_t index_ = 0;
    std::string_view name_;
    std::optional<std::string_view> inlineValue_;
};

constexpr long long kMaxInt = std::numeric_limits<int>::max();

} // namespace

ParsedOptions parseOptions(std::span<const std::string_view> args) {
    Options options;
    options.versionText = choice::kDefaultVersionText;
    ArgReader reader(args);
    auto fail = [&](std::string message) {
        return ParsedOptions{std::nullopt, std::move(message)};
    };
    auto number = [&](long long lowest, long long highest) -> std::optional<long long> {
        auto text = reader.value();
        return text ? wholeNumber(*text, lowest, highest) : std::nullopt;
    };
    const auto range = [](long long lowest, long long highest) {
        return " needs a whole number from " + std::to_string(lowest) + " to " +
               std::to_string(highest);
    };

    while (reader.next()) {
        const std::string_view name = reader.name();
        const std::string option(name);
        if (name == "--help" || name == "-h") {
            options.help = true;
        } else if (name == "--port") {
            auto v = number(1, 99);
            if (!v) {
                return fail(option + range(1, 99));
            }
            options.port = static_cast<int>(*v);
        } else if (name == "--baud") {
            auto v = number(1, kMaxInt);
            if (!v || !speedCode(static_cast<int>(*v))) {
                return fail(option + " needs a line rate: 110, 300, 600, 1200, 1800, 2400, "
                                     "4800, 9600, 19200, 38400, 57600 or 115200");
            }
            options.baud = static_cast<int>(*v);
        } else if (name == "--fail-every") {
            auto v = number(0, kMaxInt);
            if (!v) {
                return fail(option + range(0, kMaxInt));
            }
            options.failEvery = static_cast<int>(*v);
        } else if (name == "--corrupt-every") {
            auto v = number(0, kMaxInt);
            if (!v) {
                return fail(option + range(0, kMaxInt));
            }
            options.corruptEvery = static_cast<int>(*v);
        } else if (name == "--delay") {
            auto v = number(0, 60000);
            if (!v) {
                return fail(option + range(0, 60000) + " (milliseconds)");
            }
            options.delayMs = static_cast<int>(*v);
        } else if (name == "--dribble") {
            auto v = number(0, kMaxDribbleMs);
            if (!v) {
                return fail(option + range(0, kMaxDribbleMs) + " (milliseconds)");
            }
            options.dribbleMs = static_cast<int>(*v);
        } else if (name == "--stray") {
            auto v = number(0, 1000);
            if (!v) {
                return fail(option + range(0, 1000));
            }
            options.faults.stray = static_cast<std::size_t>(*v);
        } else if (name == "--cut") {
            auto v = number(0, kMaxInt);
            if (!v) {
                return fail(option + range(0, kMaxInt));
            }
            options.faults.cut = static_cast<std::size_t>(*v);
        } else if (name == "--silent" && !reader.hasInlineValue()) {
            options.faults.silent = true;
        } else if (name == "--never-ready" && !reader.hasInlineValue()) {
            options.faults.neverReady = true;
        } else if (name == "--hangup-after") {
            auto text = reader.value();
            auto v = text ? seconds(*text) : std::nullopt;
            if (!v) {
                return fail(option + " needs a number of seconds above 0, such as 5 or 0.5");
            }
            options.hangupAfterSeconds = v;
        } else if (name == "--trace") {
            options.trace = true;
            options.traceFile = std::string(reader.optionalValue().value_or(""));
        } else if (name == "--version-text") {
            auto text = reader.value();
            if (!text || text->size() > choice::kMaxVersionText) {
                return fail(option + " needs a text of at most " +
                            std::to_string(choice::kMaxVersionText) + " bytes");
            }
            options.versionText = std::string(*text);
        } else {
            return fail("unknown argument " + option + " (see --help)");
        }
    }
    return {options, {}};
}

std::string helpText() {
    return R"(Usage: dornal-sim [OPTION]...
A simulated Dornal card reader/writer on a pseudo-terminal, for trying the bench without
hardware. The line is published as the link com<N> in $XDG_CONFIG_HOME/dornal/ports/
(~/.config/dornal/ports/ when XDG_CONFIG_HOME is not set or empty); the bench opens port N through
it. The link is removed when the simulator ends. Programs may open and close the line as
often as they like while the simulator runs; answers a program leaves unread when it closes
the line are dropped, as on a real line. Stop the simulator with Ctrl+C or SIGTERM.

The reader holds one card with three empty tracks at start.
  Write frame ESC "t" [track 2] ["A" track 3] ["~" track 1] GS ESC "\" ESC "j":
      the carried tracks are written and the answer is ESC, the code of the tracks, and "p"
      ("q" when the write fails, and then nothing is stored):
        track 2: ESC "r" "p"          tracks 2+3:   ESC "B" "0" "p"
        track 3: ESC "T" "0" "p"      tracks 1+2:   ESC "!" "0" "p"
        track 1: ESC " " "0" "p"      tracks 1+2+3: ESC '"' "0" "p"
      Track 2 has no marker, so an empty track 2 cannot be told from none. Tracks 1 and 3
      alone have no answer code: the reader writes an empty track 2 with them and answers as
      for all three tracks. A frame without any track data writes an empty track 2 and is
      answered as a track 2 write.
  Read commands ESC " " (1), "]" (2), "#" (1,2), "T]" (3), '"' (1,2,3), "B]" (2,3):
      ESC "s", then track 2 data and DEL, "A" track 3 data and DEL, "~" track 1 data and DEL
      for the tracks asked for (in that order), then "?".
  ESC "e" (ready check): "y".
  Firmware query 66 0 6 26 34 0 0 0 128 252: two frames of the query's own layout (2 header
      bytes, length, payload, a closing byte that brings the frame's byte sum to 0 mod 256):
      first an acknowledgement (payload 26 34), then the version text followed by CR LF.
  ESC "0" (abandon), "a" (reset), "'", "O", "N", "=" (character sets), "*", "+", ","
      (Itrip): taken without an answer. Unknown bytes are ignored; a write frame broken off
      by another request, or longer than 1024 bytes, is dropped without an answer.

Options:
  --port N            publish the line as com<N>, N from 1 to 99 (default 1)
  --baud RATE         the reader's line rate (default 9600). Requests are heard and
                      answers leave at 10 bits per byte at this rate, as on a real line
                      (a pseudo-terminal itself has no rate). When the program set another rate,
                      every answer byte arrives as noise (bytes 128..255), as on a real
                      line.
  --fail-every K      every K-th write fails: answered with "q" and not stored
  --corrupt-every K   every K-th read answer comes back with one character of one track
                      changed, as a reader that misreads: the tracks that hold data take
                      turns (in the order 2, 3, 1) and the position moves on each round; a
                      digit of track 2 or 3 becomes the next digit, a track 1 character the
                      next of its test alphabet (never "A"), so the answer stays well formed.
                      The card keeps its data. A read answer with no data to change is sent
                      as it is.
  --delay MS          wait MS milliseconds before each answer
  --dribble MS        send each answer a byte at a time, MS milliseconds apart (at most
                      1999, so that no pause runs out the bench's wait for the next byte)
  --stray N           send N stray bytes ("x", "z", ...) before each answer
  --silent            never answer anything
  --never-ready       never answer the ready check with "y"
  --cut N             send only the first N bytes of each answer (after any stray bytes)
  --hangup-after S    after S seconds (fractions allowed) close the line like an unplugged
                      reader: the line vanishes, the link is removed and the simulator ends
  --trace [FILE]      log every byte in and out in hex, with the time in seconds since
                      start, to FILE or to standard error
  --version-text TEXT the firmware version text (default "DORNAL SIM 1.0"; at most 253
                      bytes)
  --help              show this text

When it ends by a signal or after --hangup-after, it prints one line to standard output
(nothing else goes there) with what the reader did, for checking a bench's counters:
  tally: writes-done 1=N 2=N 3=N reads-with-data 1=N 2=N 3=N write-answers N
  failed-writes N read-answers N ready N firmware N spoiled N unsent N corrupted N
  writes-done       per track, the writes answered "p" whose answer code names the track
                    (tracks 1 and 3 alone count track 2 as well)
  reads-with-data   per track, the read answers whose segment of the track holds data
  write-answers     all write answers; failed-writes: those answered "q"
  read-answers, ready, firmware
                    the read answers, the "y" answers and the firmware answers
  spoiled           answers that --silent or --never-ready kept back, that --cut or --stray
                    changed, or that left as noise because the line was set to another rate
  unsent            answers that had not wholly left when the program closed the line, that
                    were dropped because it did not read, or that were due when the
                    simulator ended
  corrupted         read answers sent with one character changed (--corrupt-every)
The answers are counted as the reader makes them, whether or not they reach the program.

Exit status: 0 when stopped by a signal or after --hangup-after, 1 when the line or its
link cannot be set up (for example a link directory that cannot be written), 2 for a
wrong command line.
)";
}

} // namespace dornal::sim
