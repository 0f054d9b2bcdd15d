#include "reader/write_frame.h"
#include "reader_test_support.h"

#include <gtest/gtest.h>

namespace dornal {
namespace {

using testing::ConnectedBench;

TEST(WriteTracks, SendsTheItripCommandThenTheFrameEachInOneWriteAfterItsDrain) {
    const std::string trailer = "\x1d\x1b\\\x1bj";
    const struct {
        std::array<int, 3> checks;       // Check1(0..2)
        std::array<const char*, 3> data; // Text1(0..2), set after the checks
        int itrip;                       // Option4 index, -1 for none selected
        std::string itripCommand, frame;
    } cases[] = {
        {{1, 1, 1}, {"AB", "12", "34"}, 1, "\x1b+", "\x1bt12A34~AB" + trailer},
        {{0, 0, 0}, {"AB", "12", "34"}, 0, "\x1b*", "\x1bt" + trailer},
        {{0, 0, 1}, {"", "", "="}, 2, "\x1b,", "\x1btA=" + trailer},
        {{1, 0, 0}, {"", "", ""}, 0, "\x1b*", "\x1bt~" + trailer},
        {{0, 1, 1}, {"", "", "34"}, 0, "\x1b*", "\x1btA34" + trailer},
        {{0, 1, 0}, {"", "12", ""}, -1, "", "\x1bt12" + trailer},
        {{2, 1, 2}, {"AB", "12", "34"}, 0, "\x1b*", "\x1bt12" + trailer}, // grayed: not ticked
        {{1, 0, 0},
         {"\xe9"
          "A",
          "", ""},
         0,
         "\x1b*",
         "\x1bt~\xe9"
         "A" +
             trailer},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.frame);
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

        std::vector<std::string> expected{c.frame}, writes;
        if (!c.itripCommand.empty())
            expected.insert(expected.begin(), c.itripCommand);
        for (const auto& w : b.port.writes)
            writes.emplace_back(w.begin(), w.end());
        EXPECT_EQ(writes, expected);
        EXPECT_EQ(b.port.calls, std::vector<std::string>(expected.size(), "read 16"));
        EXPECT_EQ(b.shared.LastCmdRead, kFalse);
    }
}

} // namespace
} // namespace dornal
