#include "bench_fixture.h"
#include "reader/connection.h"
#include "reader/write_frame.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace dornal {
namespace {

using testing::Bench;

constexpr int kWriteReadLoop = 4;
constexpr int kSingleWrite = 2;
const std::string kEsc = "\x1b";

// A reader behind the fake port that answers at once: a write frame with all three tracks
// written, a read command with data on all three tracks, ReadyCheck with "y".
void answerLikeAReader(FakeSerialPort& port) {
    port.onWrite = [&port](const std::vector<std::uint8_t>& bytes) {
        if (bytes.size() < 2 || bytes[0] != 0x1b)
            return;
        switch (bytes[1]) {
        case 't':
            port.feed(kEsc + "\"0p");
            break;
        case 'e':
            port.feed("y");
            break;
        case '"':
            port.feed(kEsc + "s12\x7f"
                             "A34\x7f~AB\x7f?");
            break;
        default:
            break;
        }
    };
}

// The commands sent, by kind: "Write", "Itrip", "Abandon", "Ready", "Read" (others as "?").
std::string commandSequence(const FakeSerialPort& port) {
    std::string sequence;
    for (const std::string& command : port.commandTexts()) {
        const char code = command.size() > 1 ? command[1] : '\0';
        const char* name = code == 't'                                   ? "Write"
                           : code == '0'                                 ? "Abandon"
                           : code == 'e'                                 ? "Ready"
                           : code == '"'                                 ? "Read"
                           : (code == '*' || code == '+' || code == ',') ? "Itrip"
                                                                         : "?";
        sequence += sequence.empty() ? name : std::string(" ") + name;
    }
    return sequence;
}

struct LoopCountCase {
    const char* name;
    bool writes; // which box gets the text; the other holds "1"
    std::string typed;
    const char* shown;    // the box after Start
    const char* sequence; // Start, then three ticks
};

const char* const kWritesOnly = "Itrip Write Abandon Ready Itrip Write Abandon Ready Itrip Write "
                                "Abandon Ready Itrip Write";
const char* const kOneWriteOneRead =
    "Itrip Write Abandon Read Ready Abandon Itrip Write Abandon Read";
const char* const kReadsOnly = "Itrip Write Abandon Read Ready Abandon Read Ready Abandon Read";

class LoopCountTyped : public ::testing::TestWithParam<LoopCountCase> {};

// Whatever the operator typed as a count per loop, the loop runs with a sensible count and
// the box shows the count in use when it had to be clamped.
TEST_P(LoopCountTyped, RunsTheClampedCountAndShowsIt) {
    const LoopCountCase& c = GetParam();
    Bench bench;
    answerLikeAReader(bench.port);
    bench.connect();
    TextBox& box = c.writes ? bench.form.tx_WriteTimesPerLoop : bench.form.tx_ReadTimesPerLoop;
    TextBox& other = c.writes ? bench.form.tx_ReadTimesPerLoop : bench.form.tx_WriteTimesPerLoop;
    box.edit(c.typed, static_cast<int>(c.typed.size()));
    other.edit("1", 1);
    bench.form.Option1[kWriteReadLoop].select();
    bench.port.clearRecord();
    bench.form.Command2[0].click();
    EXPECT_EQ(box.text(), c.shown);
    for (int tick = 0; tick < 3; ++tick)
        bench.form.Timer1.tick();
    EXPECT_EQ(commandSequence(bench.port), c.sequence);
    EXPECT_EQ(box.text(), c.shown);
    EXPECT_TRUE(bench.form.Timer1.enabled());
    EXPECT_TRUE(bench.alerts.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(
    WriteReadLoop, LoopCountTyped,
    ::testing::Values(LoopCountCase{"writes99999", true, "99999", "32767", kWritesOnly},
                      LoopCountCase{"writesTenThousandNines", true, std::string(10000, '9'),
                                    "32767", kWritesOnly},
                      LoopCountCase{"writesMinus5", true, "-5", "-5", kOneWriteOneRead},
                      LoopCountCase{"writesMinus99999", true, "-99999", "-32768", kOneWriteOneRead},
                      LoopCountCase{"writesAbc", true, "abc", "abc", kOneWriteOneRead},
                      LoopCountCase{"reads99999", false, "99999", "32767", kReadsOnly},
                      LoopCountCase{"readsMinus5", false, "-5", "-5", kOneWriteOneRead},
                      LoopCountCase{"readsAbc", false, "abc", "abc", kOneWriteOneRead}),
    [](const auto& info) { return std::string(info.param.name); });

struct PasteCase {
    int box;
    std::string pattern; // repeated to 10,000 characters
    std::size_t kept;
    int beeps;
};

class LongPaste : public ::testing::TestWithParam<PasteCase> {};

// A paste far beyond a track's length is cut to the box's maximum; a refused character that
// the cut leaves last is then stripped like a typed one.
TEST_P(LongPaste, IsCutToTheTrackLengthAndCounted) {
    const PasteCase& c = GetParam();
    Bench bench;
    bench.connect();
    std::string paste;
    while (paste.size() < 10000)
        paste += c.pattern;
    paste.resize(10000);
    TextBox& box = bench.form.Text1[static_cast<std::size_t>(c.box)];
    box.edit(paste, 10000);
    EXPECT_EQ(box.text(), paste.substr(0, c.kept));
    EXPECT_EQ(bench.form.Label3[static_cast<std::size_t>(c.box)].caption(), std::to_string(c.kept));
    EXPECT_EQ(bench.alerts.beeps, c.beeps);
}

INSTANTIATE_TEST_SUITE_P(TrackBoxes, LongPaste,
                         ::testing::Values(PasteCase{0, "A", 76, 0}, PasteCase{1, "1", 37, 0},
                                           PasteCase{2, "1", 107, 0}, PasteCase{0, "A%", 75, 1},
                                           PasteCase{1, "A1", 36, 1}, PasteCase{2, "1;;", 106, 1},
                                           PasteCase{1, "x", 0, 37}),
                         [](const auto& info) {
                             return "Box" + std::to_string(info.param.box) + "Keeps" +
                                    std::to_string(info.param.kept);
                         });

// Control characters, DEL and the bytes 128..255.
std::vector<char> unusualCharacters() {
    std::vector<char> all{'\0', '\r', '\n', '\t', '\x1b', '\x7f'};
    for (int code = 128; code <= 255; ++code)
        all.push_back(static_cast<char>(code));
    return all;
}

TEST(UnusualCharacters, TypedLastInATrackBoxAreStrippedWithABeep) {
    Bench bench;
    bench.connect();
    const std::vector<std::string> kept{"AB", "12", "34"};
    for (std::size_t box = 0; box < 3; ++box) {
        for (char c : unusualCharacters()) {
            bench.alerts.beeps = 0;
            bench.form.Text1[box].edit(kept[box] + c, 3);
            EXPECT_EQ(bench.form.Text1[box].text(), kept[box]) << box << " " << int(c);
            EXPECT_EQ(bench.form.Label3[box].caption(), "2");
            EXPECT_EQ(bench.alerts.beeps, 1);
        }
    }
}

// Every box of the window takes any byte without harm. A refused byte inside a track's data is
// left as typed, and the write frame carries it unchanged: nothing lost, nothing added.
TEST(UnusualCharacters, PastedIntoEveryBoxLeaveTheWindowWorking) {
    Bench bench;
    bench.connect();
    std::string all;
    for (char c : unusualCharacters())
        all += c;
    Form1& f = bench.form;
    for (TextBox* box : {&f.Text2[0], &f.Text2[1], &f.Text2[2], &f.Text3, &f.tx_WriteTimesPerLoop,
                         &f.tx_ReadTimesPerLoop}) {
        box->edit(all, static_cast<int>(all.size()));
        EXPECT_EQ(box->text(), all) << box->name();
    }
    const std::string inner = std::string("1\0\r\n\t\x1b\x7f\x80\xff", 9) + "2";
    f.Text1[1].edit(inner, static_cast<int>(inner.size()));
    EXPECT_EQ(f.Text1[1].text(), inner); // only the last character is examined
    EXPECT_EQ(f.Label3[1].caption(), "10");
    f.Text1[0].setText("");
    f.Text1[2].setText("");
    bench.port.clearRecord();
    WriteTracks(bench.context());
    const auto commands = bench.port.commandTexts();
    ASSERT_EQ(commands.size(), 2u); // Itrip, then the frame
    EXPECT_EQ(commands[1], kEsc + "t" + inner + "A~\x1d\x1b\\\x1bj");
}

// The per-loop counts with control characters run as 0 (no leading number).
TEST(UnusualCharacters, InTheLoopCountsReadAsNoNumber) {
    Bench bench;
    answerLikeAReader(bench.port);
    bench.connect();
    std::string all;
    for (char c : unusualCharacters())
        all += c;
    bench.form.tx_WriteTimesPerLoop.edit(all, 0);
    bench.form.tx_ReadTimesPerLoop.edit("\t 2\x1b", 0);
    bench.form.Option1[kWriteReadLoop].select();
    bench.port.clearRecord();
    bench.form.Command2[0].click();
    for (int tick = 0; tick < 3; ++tick)
        bench.form.Timer1.tick();
    EXPECT_EQ(commandSequence(bench.port), "Itrip Write Abandon Read Ready Abandon Read Ready "
                                           "Abandon Itrip Write");
    EXPECT_EQ(bench.shared.WritesLeft, -1);
    EXPECT_EQ(bench.shared.ReadsLeft, 2);
}

struct TypedPort {
    std::string port;
    std::string baud;
};

class TypedPortText : public ::testing::TestWithParam<TypedPort> {};

// A port text that is no entry of the list selects none: port 0, which cannot be opened.
TEST_P(TypedPortText, NotInTheListFailsToOpen) {
    Bench bench;
    bench.form.Combo1.edit(GetParam().port);
    bench.form.Combo2.edit(GetParam().baud);
    EXPECT_EQ(bench.form.Combo1.listIndex(), -1);
    bench.form.Command1[0].click();
    EXPECT_EQ(bench.shared.PortNumber, 0);
    EXPECT_FALSE(bench.port.isOpen());
    EXPECT_TRUE(bench.port.sent.empty());
    EXPECT_EQ(bench.alerts.beeps, 3);
    EXPECT_EQ(bench.alerts.messages, (std::vector<std::string>{kOpenFailMessage}));
    EXPECT_TRUE(bench.form.Command1[0].enabled());
    EXPECT_FALSE(bench.form.Command2[0].enabled());
    // Choosing a port from the list then works.
    bench.form.Combo1.setListIndex(0);
    bench.form.Command1[0].click();
    EXPECT_TRUE(bench.port.isOpen());
    EXPECT_EQ(bench.alerts.messages.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Combo1, TypedPortText,
                         ::testing::Values(TypedPort{"COM 99", "9600"}, TypedPort{"COM 1 ", "9600"},
                                           TypedPort{"", ""},
                                           TypedPort{std::string("COM\0 1", 6), "\x1b"},
                                           TypedPort{"COM 1\r\n", "\xff\xfe"}),
                         [](const auto& info) { return "Typed" + std::to_string(info.index); });

} // namespace
} // namespace dornal
