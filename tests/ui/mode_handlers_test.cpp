#include "bench_fixture.h"

#include <gtest/gtest.h>

namespace dornal {
namespace {

using testing::Bench;

// Opens the fake port directly, so these tests do not depend on Connect.
void openPort(Bench& bench) {
    ASSERT_EQ(bench.port.sio_open(1), 0);
    bench.shared.PortNumber = 1;
    bench.port.clearRecord();
}

TEST(Option1Click, ModeSetsWriteConfigAndTrackBoxLayout) {
    struct Case {
        int mode;
        bool writeConfig;
        bool readBack;
    };
    const Case cases[] = {
        {0, true, false}, {1, false, false}, {2, true, false}, {3, false, false}, {4, true, true}};
    for (const auto& c : cases) {
        Bench bench;
        bench.form.Text2[0].setText("kept");
        bench.form.Option1[c.mode].select();
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(bench.form.Option2[i].enabled(), c.writeConfig) << c.mode;
            EXPECT_EQ(bench.form.Text1[static_cast<std::size_t>(i)].height(),
                      c.readBack ? 495 : 975)
                << c.mode;
            EXPECT_EQ(bench.form.Text2[static_cast<std::size_t>(i)].visible(), c.readBack)
                << c.mode;
        }
        EXPECT_EQ(bench.form.Text2[0].text(), "kept");
        EXPECT_EQ(bench.form.Option2.selectedIndex(), 1);
    }
}

TEST(Option3Click, SendsTheCharacterSetAfterTheDrainAndEmptiesTracks2And3) {
    const char* expected[] = {"\x1b'", "\x1bO", "\x1bN", "\x1b="};
    for (int index = 0; index < 4; ++index) {
        Bench bench;
        openPort(bench);
        bench.form.Text1[0].setText("AB");
        bench.form.Text1[1].setText("12");
        bench.form.Text1[2].setText("34");
        bench.form.Option3[index].select();
        EXPECT_EQ(bench.port.sentText(), expected[index]);
        EXPECT_EQ(bench.port.calls.front(), "read 16"); // the drain comes first
        EXPECT_EQ(bench.form.Text1[0].text(), "AB");
        EXPECT_EQ(bench.form.Text1[1].text(), "");
        EXPECT_EQ(bench.form.Text1[2].text(), "");
        EXPECT_EQ(bench.form.Label3[1].caption(), "0");
        EXPECT_EQ(bench.form.Label3[2].caption(), "0");
    }
}

TEST(Option4Click, SendsTheWriteStrengthAndChangesNothingElse) {
    const char* expected[] = {"\x1b*", "\x1b+", "\x1b,"};
    for (int index = 0; index < 3; ++index) {
        Bench bench;
        openPort(bench);
        bench.form.Text1[1].setText("12");
        bench.form.Option4[index].select();
        EXPECT_EQ(bench.port.sentText(), expected[index]);
        EXPECT_EQ(bench.port.writes.size(), 1u);
        EXPECT_EQ(bench.form.Text1[1].text(), "12");
    }
}

TEST(Option4Click, WithoutAnOpenPortSendsNothingAndShowsNoError) {
    Bench bench;
    bench.form.Option4[2].select();
    EXPECT_TRUE(bench.port.sent.empty());
    EXPECT_TRUE(bench.alerts.messages.empty());
    EXPECT_EQ(bench.form.Option4.selectedIndex(), 2);
}

} // namespace
} // namespace dornal
