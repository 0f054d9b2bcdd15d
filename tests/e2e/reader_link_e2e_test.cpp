#include "e2e_bench.h"
#include "pty_peer.h"
#include "reader/answer_reception.h"
#include "reader/firmware_query.h"
#include "reader/timing.h"
#include "reader/write_frame.h"
#include "sim_process.h"

#include <gtest/gtest.h>

#include <thread>

namespace dornal {
namespace {

using namespace std::chrono_literals;
using testing::PortLinkHome;
using testing::PtyPeer;
using testing::RealBench;
using testing::SimProcess;

const std::string kEsc = "\x1b";

TEST(ReaderLinkOnALine, ConnectSendsResetThenTheCharacterSetAtTheChosenRate) {
    PortLinkHome home;
    PtyPeer peer(home, 2);
    RealBench bench;
    bench.connect(1, 7); // "COM 2", "115200"
    EXPECT_EQ(bench.port.sio_iqueue(2), 0);
    EXPECT_EQ(peer.receive(4), kEsc + "a" + kEsc + "=");
    EXPECT_EQ(peer.lineSpeed(), B115200);
    EXPECT_FALSE(bench.form.Command1[0].enabled());
    EXPECT_TRUE(bench.alerts.messages.empty());
}

TEST(ReaderLinkOnALine, AMissingPortFailsWithTheMessage) {
    PortLinkHome home;
    std::filesystem::create_symlink("/dev/nonexistent-dornal-port", home.link(5));
    RealBench bench;
    bench.connect(4, 3);
    EXPECT_EQ(bench.alerts.beeps, 3);
    EXPECT_EQ(bench.alerts.messages, (std::vector<std::string>{"Open COM Port Fail!"}));
    EXPECT_TRUE(bench.form.Command1[0].enabled());
}

TEST(ReaderLinkOnALine, AWriteOfThreeTracksSendsTheItripCommandThenTheFrame) {
    PortLinkHome home;
    PtyPeer peer(home, 1);
    RealBench bench;
    bench.connect(0, 3);
    peer.receive(4);
    bench.form.Option4[1].select();
    peer.receive(2);
    bench.form.Text1[0].setText("AB");
    bench.form.Text1[1].setText("12");
    bench.form.Text1[2].setText("34");
    WriteTracks(bench.context());
    const std::string frame = kEsc + "+" + kEsc + "t12A34~AB\x1d\x1b\\\x1bj";
    EXPECT_EQ(peer.receive(frame.size()), frame);
    EXPECT_EQ(bench.shared.LastCmdRead, kFalse);
}

TEST(ReaderLinkOnALine, ARefusedCharacterOfAReadAnswerDisappearsWithABeep) {
    PortLinkHome home;
    PtyPeer peer(home, 1);
    RealBench bench;
    bench.connect(0, 3);
    peer.receive(4);
    bench.form.Option1[3].select(); // "Sin&gal Read": read data go to Text1
    bench.shared.LastCmdRead = kTrue;
    bench.alerts.beeps = 0;
    peer.send(kEsc + "s12\x7f"
                     "A\x7f~%A\x7f?");
    int counted = 0;
    const Answer answer = ReceiveAnswer(bench.context(), [&](int, bool) { ++counted; });
    EXPECT_EQ(answer.kind, AnswerKind::Read);
    EXPECT_EQ(answer.outcome, WaitOutcome::Complete);
    EXPECT_EQ(bench.form.Text1[1].text(), "12");
    EXPECT_EQ(bench.form.Text1[0].text(), "A");
    EXPECT_EQ(bench.alerts.beeps, 1);
    EXPECT_EQ(counted, 3);
}

TEST(ReaderLinkOnALine, TheFirmwareTextOfTheSimulatedReaderAppearsInText3) {
    PortLinkHome home;
    SimProcess sim(home, 1, {"--version-text", "V9.99 SIM"});
    RealBench bench;
    bench.connect(0, 3);
    QueryFirmwareVersion(bench.context());
    EXPECT_EQ(bench.form.Text3.text(), "V9.99 SIM");
}

TEST(ReaderLinkOnALine, ASilentReaderEndsTheWaitAfterTheTimeOutUsingLittleCpu) {
    PortLinkHome home;
    PtyPeer peer(home, 1);
    RealBench bench;
    bench.connect(0, 3);
    peer.receive(4);
    bench.shared.LastCmdRead = kFalse;
    peer.send(kEsc + "r"); // the answer begins, then nothing more comes
    Answer answer;
    const auto cpu = testing::measureCpu([&] { answer = ReceiveAnswer(bench.context(), {}); });
    EXPECT_EQ(answer.outcome, WaitOutcome::TimedOut);
    EXPECT_EQ(bench.form.Label5.caption(), kAnswerTimeoutText);
    EXPECT_NEAR(cpu.wallSeconds, timing::kAnswerTimeoutMs / 1000.0, 0.5);
    EXPECT_LT(cpu.share, 0.05);
    RecordProperty("cpu_share_percent", std::to_string(cpu.share * 100));
    EXPECT_EQ(bench.form.lb_T2WriteCounter.caption(), "0");
}

TEST(ReaderLinkOnALine, AReaderThatHangsUpMidAnswerGivesAPortErrorAtOnce) {
    PortLinkHome home;
    auto peer = std::make_unique<PtyPeer>(home, 1);
    RealBench bench;
    bench.connect(0, 3);
    peer->receive(4);
    bench.shared.LastCmdRead = kTrue;
    peer->send(kEsc + "s12");
    std::thread unplug([&] {
        std::this_thread::sleep_for(200ms);
        peer->hangUp();
    });
    Answer answer;
    const auto cpu = testing::measureCpu([&] { answer = ReceiveAnswer(bench.context(), {}); });
    unplug.join();
    EXPECT_EQ(answer.outcome, WaitOutcome::PortError);
    EXPECT_EQ(bench.form.Label5.caption(), kPortErrorText);
    EXPECT_LT(cpu.wallSeconds, 1.5);
    // The window stays usable: Disconnect and a new Connect still work.
    bench.form.Command1[1].click();
    peer.reset();
    PtyPeer again(home, 1);
    bench.form.Command1[0].click();
    EXPECT_EQ(again.receive(4), kEsc + "a" + kEsc + "=");
}

} // namespace
} // namespace dornal
