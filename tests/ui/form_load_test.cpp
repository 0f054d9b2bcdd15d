#include "bench_fixture.h"

#include <gtest/gtest.h>

namespace dornal {
namespace {

using testing::Bench;

TEST(FormLoad, FillsTheListsWithTheirDefaults) {
    Bench bench;
    const Form1& f = bench.form;
    EXPECT_EQ(f.Combo1.items(), (std::vector<std::string>{"COM 1", "COM 2", "COM 3", "COM 4",
                                                          "COM 5", "COM 6", "COM 7", "COM 8"}));
    EXPECT_EQ(f.Combo2.items(), (std::vector<std::string>{"1200", "2400", "4800", "9600", "19200",
                                                          "38400", "57600", "115200"}));
    EXPECT_EQ(f.Combo1.listIndex(), 0);
    EXPECT_EQ(f.Combo1.text(), "COM 1");
    EXPECT_EQ(f.Combo2.listIndex(), 3);
    EXPECT_EQ(f.Combo2.text(), "9600");
}

TEST(FormLoad, LeavesEveryControlInItsLoadedState) {
    Bench bench;
    const Form1& f = bench.form;
    struct Enabled {
        const Control& control;
        bool enabled;
    };
    const Enabled states[] = {
        {f.Combo1, true},
        {f.Combo2, true},
        {f.Command1[0], true},
        {f.Command1[1], false},
        {f.Command2[0], false},
        {f.Command2[1], false},
        {f.Command2[2], false},
        {f.tx_WriteTimesPerLoop, false},
        {f.tx_ReadTimesPerLoop, false},
        {f.chkGetFirmwareVersion, true},
    };
    for (const auto& s : states)
        EXPECT_EQ(s.control.enabled(), s.enabled) << s.control.name();
    for (int i = 0; i < 5; ++i)
        EXPECT_FALSE(f.Option1[i].enabled()) << i;
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(f.Option2[i].enabled()) << i; // enabled again by the mode handler
        EXPECT_TRUE(f.Option4[i].enabled()) << i;
    }
    for (int i = 0; i < 4; ++i)
        EXPECT_FALSE(f.Option3[i].enabled()) << i;
    EXPECT_EQ(f.Option1.selectedIndex(), 4);
    EXPECT_EQ(f.Option2.selectedIndex(), 1);
    EXPECT_EQ(f.Option3.selectedIndex(), 3);
    EXPECT_EQ(f.Option4.selectedIndex(), 0);
    EXPECT_EQ(f.chkGetFirmwareVersion.value(), 0);
    EXPECT_EQ(f.tx_WriteTimesPerLoop.text(), "1");
    EXPECT_EQ(f.tx_ReadTimesPerLoop.text(), "1");
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_FALSE(f.Check1[i].enabled());
        EXPECT_EQ(f.Check1[i].value(), 1);
        EXPECT_TRUE(f.Text1[i].enabled());
        EXPECT_EQ(f.Text1[i].text(), "");
        EXPECT_EQ(f.Text1[i].height(), 495);
        EXPECT_TRUE(f.Text2[i].enabled());
        EXPECT_TRUE(f.Text2[i].visible());
        EXPECT_EQ(f.Text2[i].text(), "");
        EXPECT_EQ(f.Label3[i].caption(), "0");
    }
    EXPECT_EQ(f.Text3.text(), "");
    EXPECT_EQ(f.Label5.caption(), "");
    for (const auto& label : f.Label1)
        EXPECT_EQ(label.caption(), "0");
    for (const Label* counter : {&f.lb_T1WriteCounter, &f.lb_T1ReadCounter, &f.lb_T2WriteCounter,
                                 &f.lb_T2ReadCounter, &f.lb_T3WriteCounter, &f.lb_T3ReadCounter})
        EXPECT_EQ(counter->caption(), "0") << counter->name();
    EXPECT_FALSE(f.Timer1.enabled());
    EXPECT_EQ(f.Timer1.interval(), 500);
    EXPECT_EQ(f.Text3.backColor(), kColorScrollBars);
}

TEST(FormLoad, StoresTheTrackAlphabets) {
    Bench bench;
    EXPECT_EQ(bench.shared.Track1Alphabet.size(), 62u);
    EXPECT_EQ(bench.shared.Track1Alphabet.substr(0, 7), " !#$&\"'");
    EXPECT_EQ(bench.shared.Track1Alphabet.find('%'), std::string::npos);
    EXPECT_EQ(bench.shared.Track1Alphabet.find('?'), std::string::npos);
    EXPECT_EQ(bench.shared.Track2Alphabet, "0123456789'=");
    EXPECT_EQ(bench.shared.Track3Alphabet, "0123456789=>");
}

TEST(FormLoad, TheTwoCommandsRaisedWhileLoadingReachNoPort) {
    Bench bench;
    EXPECT_TRUE(bench.port.sent.empty());
    EXPECT_TRUE(bench.port.writes.empty());
    EXPECT_FALSE(bench.port.isOpen());
    for (const auto& call : bench.port.calls)
        EXPECT_EQ(call.rfind("open", 0), std::string::npos) << call;
    EXPECT_EQ(bench.alerts.beeps, 0);
    EXPECT_TRUE(bench.alerts.messages.empty());
}

} // namespace
} // namespace dornal
