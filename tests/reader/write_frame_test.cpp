#include "reader/write_frame.h"
#include "reader_test_support.h"

#include <gtest/gtest.h>

namespace dornal {
namespace {

using testing::ConnectedBench;

const std::string kTrailer = "\x1d\x1b\\\x1bj";

struct FrameCase {
    const char* name;
    std::array<int, 3> checks;       // Check1(0..2)
    std::array<const char*, 3> data; // Text1(0..2), set after the checks
    int itrip;                       // Option4 index, -1 for none selected
    std::string itripCommand;
    std::string frame;
};

TEST(WriteTracks, SendsTheItripCommandThenTheFrameInOneWrite) {
    const FrameCase cases[] = {
        {"all three", {1, 1, 1}, {"AB", "12", "34"}, 1, "\x1b+", "\x1bt12A34~AB" + kTrailer},
        {"none selected", {0, 0, 0}, {"AB", "12", "34"}, 0, "\x1b*", "\x1bt" + kTrailer},
        {"only track 3", {0, 0, 1}, {"", "", "="}, 2, "\x1b,", "\x1btA=" + kTrailer},
        {"track 1 empty", {1, 0, 0}, {"", "", ""}, 0, "\x1b*", "\x1bt~" + kTrailer},
        {"track 2 empty", {0, 1, 1}, {"", "", "34"}, 0, "\x1b*", "\x1btA34" + kTrailer},
        {"no itrip", {0, 1, 0}, {"", "12", ""}, -1, "", "\x1bt12" + kTrailer},
        {"grayed box", {2, 1, 2}, {"AB", "12", "34"}, 0, "\x1b*", "\x1bt12" + kTrailer},
        {"byte above 127",
         {1, 0, 0},
         {"\xe9"
          "A",
          "", ""},
         0,
         "\x1b*",
         "\x1bt~\xe9"
         "A" +
             kTrailer},
    };
    for (const auto& c : cases) {
        ConnectedBench b(2);
        for (std::size_t i = 0; i < 3; ++i)
            b.form.Check1[i].setValue(c.checks[i]);
        for (std::size_t i = 0; i < 3; ++i)
            b.form.Text1[i].setText(c.data[i]);
        if (c.itrip >= 0)
            b.form.Option4[c.itrip].select();
        else
            b.form.Option4[0].setValue(false);
        b.shared.LastCmdRead = kTrue;
        b.port.clearRecord();

        WriteTracks(b.context());

        std::vector<std::string> expectedWrites;
        if (!c.itripCommand.empty())
            expectedWrites.push_back(c.itripCommand);
        expectedWrites.push_back(c.frame);
        std::vector<std::string> writes;
        for (const auto& w : b.port.writes)
            writes.emplace_back(w.begin(), w.end());
        EXPECT_EQ(writes, expectedWrites) << c.name;
        // Each command and the frame are preceded by their own input drain.
        EXPECT_EQ(b.port.calls, std::vector<std::string>(expectedWrites.size(), "read 16"))
            << c.name;
        EXPECT_EQ(b.shared.LastCmdRead, kFalse) << c.name;
    }
}

TEST(WriteTracks, ChangesNothingInTheWindow) {
    ConnectedBench b(4);
    b.form.Text1[0].setText("AB");
    b.form.Text1[1].setText("12");
    b.form.Label5.setCaption("status");
    WriteTracks(b.context());
    EXPECT_EQ(b.form.Text1[0].text(), "AB");
    EXPECT_EQ(b.form.Text1[1].text(), "12");
    EXPECT_EQ(b.form.Label3[0].caption(), "2");
    EXPECT_EQ(b.form.Label5.caption(), "status");
    EXPECT_EQ(b.alerts.beeps, 0);
}

TEST(WriteTracks, FullTracksStillLeaveInOneWrite) {
    ConnectedBench b(2);
    b.form.Text1[0].setText(std::string(76, 'A'));
    b.form.Text1[1].setText(std::string(37, '1'));
    b.form.Text1[2].setText(std::string(107, '3'));
    b.port.clearRecord();
    WriteTracks(b.context());
    ASSERT_EQ(b.port.writes.size(), 2u);
    EXPECT_EQ(b.port.writes[0].size(), 2u);                             // the Itrip command
    EXPECT_EQ(b.port.writes[1].size(), 2u + 37 + 1 + 107 + 1 + 76 + 5); // the whole frame
}

} // namespace
} // namespace dornal
