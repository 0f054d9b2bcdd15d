#include "bench_fixture.h"
#include "ui/entry_rules.h"

#include <gtest/gtest.h>

namespace dornal {
namespace {

using testing::Bench;

TEST(TrackCharacters, EachTrackAcceptsExactlyItsSet) {
    for (int code = 0; code < 256; ++code) {
        const char c = static_cast<char>(code);
        const bool track1 = code >= 32 && code <= 95 && code != '%' && code != '?';
        const bool track23 = (code >= '0' && code <= ':') || code == '<' || code == '=' ||
                             code == '>' || code == '\'';
        EXPECT_EQ(trackAccepts(0, c), track1) << code;
        EXPECT_EQ(trackAccepts(1, c), track23) << code;
        EXPECT_EQ(trackAccepts(2, c), track23) << code;
    }
}

TEST(TrackCharacters, EveryAlphabetCharacterPassesItsTrack) {
    Bench bench;
    for (char c : bench.shared.Track1Alphabet)
        EXPECT_TRUE(trackAccepts(0, c)) << c;
    for (char c : bench.shared.Track2Alphabet + bench.shared.Track3Alphabet) {
        EXPECT_TRUE(trackAccepts(1, c)) << c;
        EXPECT_TRUE(trackAccepts(2, c)) << c;
    }
}

struct TypingCase {
    int box;
    const char* before;
    const char* typed;
    const char* after;
    int beeps;
};

// Typing or pasting at the end of a box: only the last character is examined, and a run of
// refused characters at the end goes one by one, a beep each.
TEST(Text1Change, StripsRefusedCharactersFromTheEnd) {
    const TypingCase cases[] = {
        {0, "", "a", "", 1},        {0, "", "A", "A", 0},       {0, "AB", "%", "AB", 1},
        {0, "AB", "?", "AB", 1},    {0, "", "&", "&", 0},       {0, "", "@", "@", 0},
        {0, "", "_", "_", 0},       {1, "12", ";", "12", 1},    {2, "12", ";", "12", 1},
        {1, "", "=", "=", 0},       {1, "", ">", ">", 0},       {2, "", ":", ":", 0},
        {2, "", "<", "<", 0},       {1, "", "'", "'", 0},       {1, "", "12ab", "12", 2},
        {1, "", "ab12", "ab12", 0}, {0, "AB", "\r\n", "AB", 2}, {1, "1", "a2", "1a2", 0},
    };
    for (const auto& c : cases) {
        Bench bench;
        TextBox& box = bench.form.Text1[static_cast<std::size_t>(c.box)];
        box.setText(c.before);
        bench.alerts.beeps = 0;
        const std::string typed = std::string(c.before) + c.typed;
        box.edit(typed, static_cast<int>(typed.size()));
        EXPECT_EQ(box.text(), c.after) << c.box << " " << c.typed;
        EXPECT_EQ(bench.alerts.beeps, c.beeps) << c.box << " " << c.typed;
        EXPECT_EQ(box.caret(), static_cast<int>(box.text().size()));
        EXPECT_EQ(bench.form.Label3[static_cast<std::size_t>(c.box)].caption(),
                  std::to_string(box.text().size()));
    }
}

TEST(Text1Change, LengthLabelFollowsEveryChangeAndEmptyingSoundsNoBeep) {
    Bench bench;
    bench.form.Text1[1].setText(std::string(50, '7'));
    EXPECT_EQ(bench.form.Label3[1].caption(), "37");
    bench.form.Text1[1].setText("");
    EXPECT_EQ(bench.form.Label3[1].caption(), "0");
    EXPECT_EQ(bench.alerts.beeps, 0);
}

TEST(Check1Click, UntickingEmptiesTheTrackAndTickingDoesNotBringItBack) {
    Bench bench;
    bench.form.Text1[1].setText("123");
    bench.form.Text1[0].setText("AB");
    bench.form.Check1[1].setValue(0);
    EXPECT_EQ(bench.form.Text1[1].text(), "");
    EXPECT_EQ(bench.form.Label3[1].caption(), "0");
    EXPECT_EQ(bench.form.Text1[0].text(), "AB");
    bench.form.Check1[1].setValue(1);
    EXPECT_EQ(bench.form.Text1[1].text(), "");
    bench.form.Text1[2].setText("9");
    bench.form.Check1[2].setValue(2); // grayed is not unchecked
    EXPECT_EQ(bench.form.Text1[2].text(), "9");
}

} // namespace
} // namespace dornal
