#include "reader/timing.h"
#include "reader_test_support.h"
#include "ui/form1_events.h"

#include <gtest/gtest.h>

namespace dornal {
namespace {

using testing::ConnectedBench;
using testing::kEscText;
using testing::SegmentLog;

TEST(AnswerWait, SilentReaderEndsTheAnswerAfterTheBoundAndDecodesNothing) {
    const std::pair<Flag16, std::string> cases[] = {
        {kFalse, ""}, {kFalse, "r"}, {kFalse, "T0"}, {kTrue, ""}, {kTrue, "s12A"}};
    for (const auto& [lastCmdRead, bytes] : cases) {
        SCOPED_TRACE(bytes);
        ConnectedBench b(3);
        b.form.Text1[1].setText("99");
        SegmentLog log;
        const Answer answer = b.receive(lastCmdRead, bytes, log.counter(b.form.Text1));
        EXPECT_EQ(answer.kind, lastCmdRead ? AnswerKind::Read : AnswerKind::Write);
        EXPECT_EQ(answer.outcome, WaitOutcome::TimedOut);
        EXPECT_EQ(answer.writtenTracks, 0);
        EXPECT_EQ(b.form.Label5.caption(), kAnswerTimeoutText);
        EXPECT_EQ(b.port.elapsedMs, timing::kAnswerTimeoutMs);
        EXPECT_EQ(b.form.Text1[1].text(), "99");
        EXPECT_TRUE(log.segments.empty());
    }
}

TEST(AnswerWait, PausesShorterThanTheBoundDoNotCutTheAnswer) {
    ConnectedBench b(3);
    for (const char* chunk : {"s", "1", "2A", "3~", "AB", "?"})
        b.port.feedLater(chunk);
    EXPECT_EQ(b.receive(kTrue, "").outcome, WaitOutcome::Complete);
    EXPECT_EQ(b.form.Text1[1].text(), "12");
    EXPECT_EQ(b.form.Text1[2].text(), "3");
    EXPECT_EQ(b.form.Text1[0].text(), "AB");
    EXPECT_EQ(b.port.elapsedMs, 0);
}

// A serial layer whose device vanishes after it has delivered a given number of bytes.
struct VanishingPort : FakeSerialPort {
    int bytesBeforeFailure = 1 << 30;
    int waitByte(int port, int timeoutMs) override {
        if (bytesBeforeFailure-- == 0)
            failPort();
        return FakeSerialPort::waitByte(port, timeoutMs);
    }
};

TEST(AnswerWait, PortFailingMidAnswerIsReportedAtOnce) {
    for (Flag16 lastCmdRead : {kFalse, kTrue}) {
        Form1 form;
        testing::RecordingAlerts alerts;
        VanishingPort port;
        SharedValues shared;
        Form1Events events{form, alerts, port, shared};
        events.load();
        form.Command1[0].click();
        port.clearRecord();
        form.Text1[0].setText("AB");
        shared.LastCmdRead = lastCmdRead;
        port.feed(kEscText + "s1T2~AB?rp");
        port.bytesBeforeFailure = 2;
        SegmentLog log;

        const Answer answer = ReceiveAnswer(events.context(), log.counter(form.Text1));

        EXPECT_EQ(answer.outcome, WaitOutcome::PortError);
        EXPECT_EQ(form.Label5.caption(), kPortErrorText);
        EXPECT_EQ(port.elapsedMs, 0);
        EXPECT_EQ(form.Text1[0].text(), "AB");
        EXPECT_TRUE(log.segments.empty());
    }
}

// A reader that keeps sending without ever ending its answer is given up after a bounded number
// of bytes; the rest of what it sent stays for the next drain.
TEST(AnswerWait, ABabblingReaderIsGivenUpAfterTheByteBound) {
    const std::string babble(timing::kAnswerMaxBytes + 100, 'x');
    for (Flag16 lastCmdRead : {kFalse, kTrue}) {
        ConnectedBench b;
        SegmentLog log;
        EXPECT_EQ(b.receive(lastCmdRead, babble, log.counter(b.form.Text1)).outcome,
                  WaitOutcome::TooLong);
        EXPECT_EQ(b.form.Label5.caption(), kAnswerTooLongText);
        EXPECT_TRUE(log.segments.empty());
        EXPECT_EQ(b.port.waiting(), 100u);
    }
    ConnectedBench b;
    b.port.feed(babble);
    EXPECT_EQ(WaitReady(b.context()), WaitOutcome::TooLong);
    EXPECT_EQ(b.form.Label5.caption(), kAnswerTooLongText);
}

TEST(WaitReady, ReturnsAfterTheYAndDropsWhatCameBefore) {
    ConnectedBench b;
    b.form.Label5.setCaption("before");
    for (const char* chunk : {"x", "z", "y", "rest"})
        b.port.feedLater(chunk);
    EXPECT_EQ(WaitReady(b.context()), WaitOutcome::Complete);
    EXPECT_EQ(b.port.waiting(), 0u) << "the chunk behind the y has not arrived yet";
    EXPECT_EQ(b.port.elapsedMs, 0);
    EXPECT_EQ(b.form.Label5.caption(), "before");
    b.port.feed("zzy!");
    EXPECT_EQ(WaitReady(b.context()), WaitOutcome::Complete);
    EXPECT_EQ(b.port.waiting(), 1u);
}

TEST(WaitReady, GivesUpAfterTheBoundFromTheLastByteOrAtOnceOnAPortError) {
    for (const char* before : {"", "xz"}) {
        ConnectedBench b;
        b.port.feed(before);
        EXPECT_EQ(WaitReady(b.context()), WaitOutcome::TimedOut);
        EXPECT_EQ(b.form.Label5.caption(), kNotReadyText);
        EXPECT_EQ(b.port.elapsedMs, timing::kAnswerTimeoutMs);
        EXPECT_LE(b.port.getchCalls, 2) << "no polling";
    }
    ConnectedBench b;
    b.port.feed("x");
    b.port.failPort();
    EXPECT_EQ(WaitReady(b.context()), WaitOutcome::PortError);
    EXPECT_EQ(b.form.Label5.caption(), kPortErrorText);
    EXPECT_EQ(b.port.elapsedMs, 0);
}

} // namespace
} // namespace dornal
