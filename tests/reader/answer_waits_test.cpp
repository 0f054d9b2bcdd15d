#include "reader/timing.h"
#include "reader_test_support.h"
#include "ui/form1_events.h"

#include <gtest/gtest.h>

namespace dornal {
namespace {

using testing::ConnectedBench;
using testing::kEscText;
using testing::RecordingAlerts;
using testing::SegmentLog;

struct CutCase {
    Flag16 lastCmdRead;
    std::string bytes; // after the ESC; the reader then falls silent
    AnswerKind kind;
};

TEST(AnswerWait, SilentReaderEndsTheAnswerAfterTheBoundAndDecodesNothing) {
    const CutCase cases[] = {
        {kFalse, "", AnswerKind::Write},   {kFalse, "r", AnswerKind::Write},
        {kFalse, "T0", AnswerKind::Write}, {kTrue, "", AnswerKind::Read},
        {kTrue, "s12A", AnswerKind::Read},
    };
    for (const auto& c : cases) {
        ConnectedBench b(3);
        b.form.Text1[1].setText("99");
        b.shared.LastCmdRead = c.lastCmdRead;
        b.port.feed(kEscText + c.bytes);
        SegmentLog log;

        const Answer answer = ReceiveAnswer(b.context(), log.counter(b.form.Text1));

        EXPECT_EQ(answer.kind, c.kind) << c.bytes;
        EXPECT_EQ(answer.outcome, WaitOutcome::TimedOut) << c.bytes;
        EXPECT_EQ(answer.writtenTracks, 0) << c.bytes;
        EXPECT_EQ(b.form.Label5.caption(), kAnswerTimeoutText) << c.bytes;
        EXPECT_EQ(b.port.elapsedMs, timing::kAnswerTimeoutMs) << c.bytes;
        EXPECT_EQ(b.form.Text1[1].text(), "99") << c.bytes;
        EXPECT_TRUE(log.segments.empty()) << c.bytes;
        EXPECT_EQ(b.shared.LastCmdRead, c.lastCmdRead);
    }
}

TEST(AnswerWait, PausesShorterThanTheBoundDoNotCutTheAnswer) {
    ConnectedBench b(3);
    b.shared.LastCmdRead = kTrue;
    b.port.feed(kEscText);
    for (const char* chunk : {"s", "1", "2A", "3~", "AB", "?"})
        b.port.feedLater(chunk);
    const Answer answer = ReceiveAnswer(b.context(), {});
    EXPECT_EQ(answer.outcome, WaitOutcome::Complete);
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

struct VanishingBench {
    Form1 form;
    RecordingAlerts alerts;
    VanishingPort port;
    SharedValues shared;
    Form1Events events{form, alerts, port, shared};
    VanishingBench() {
        events.load();
        form.Option1[3].select();
        form.Command1[0].click();
        port.clearRecord();
    }
};

TEST(AnswerWait, PortFailingMidAnswerIsReportedAtOnce) {
    for (Flag16 lastCmdRead : {kFalse, kTrue}) {
        VanishingBench b;
        b.form.Text1[0].setText("AB");
        b.shared.LastCmdRead = lastCmdRead;
        b.port.feed(kEscText + "s1T2~AB?rp");
        b.port.bytesBeforeFailure = 2;
        SegmentLog log;

        const Answer answer = ReceiveAnswer(b.events.context(), log.counter(b.form.Text1));

        EXPECT_EQ(answer.kind, lastCmdRead ? AnswerKind::Read : AnswerKind::Write);
        EXPECT_EQ(answer.outcome, WaitOutcome::PortError);
        EXPECT_EQ(b.form.Label5.caption(), kPortErrorText);
        EXPECT_EQ(b.port.elapsedMs, 0);
        EXPECT_EQ(b.form.Text1[0].text(), "AB");
        EXPECT_TRUE(log.segments.empty());
    }
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

TEST(WaitReady, GivesUpAfterTheBoundFromTheLastByte) {
    for (const char* before : {"", "xz"}) {
        ConnectedBench b;
        b.port.feed(before);
        EXPECT_EQ(WaitReady(b.context()), WaitOutcome::TimedOut);
        EXPECT_EQ(b.form.Label5.caption(), kNotReadyText);
        EXPECT_EQ(b.port.elapsedMs, timing::kAnswerTimeoutMs);
        EXPECT_LE(b.port.getchCalls, 2) << "no polling";
    }
}

TEST(WaitReady, PortErrorEndsTheWaitAtOnce) {
    ConnectedBench b;
    b.port.feed("x");
    b.port.failPort();
    EXPECT_EQ(WaitReady(b.context()), WaitOutcome::PortError);
    EXPECT_EQ(b.form.Label5.caption(), kPortErrorText);
    EXPECT_EQ(b.port.elapsedMs, 0);
}

// A reader that keeps sending without ever ending its answer is given up after a bounded number
// of bytes; no box or counter changes and the rest of what it sent stays for the next drain.
TEST(AnswerWait, ABabblingReaderIsGivenUpAfterTheByteBound) {
    const std::string babble(timing::kAnswerMaxBytes + 100, 'x');
    for (Flag16 lastCmdRead : {kFalse, kTrue}) {
        ConnectedBench b;
        b.shared.LastCmdRead = lastCmdRead;
        b.port.feed(kEscText + babble);
        SegmentLog log;
        const Answer answer = ReceiveAnswer(b.context(), log.counter(b.form.Text1));
        EXPECT_EQ(answer.outcome, WaitOutcome::TooLong);
        EXPECT_EQ(b.form.Label5.caption(), kAnswerTooLongText);
        EXPECT_TRUE(log.segments.empty());
        EXPECT_EQ(b.port.waiting(), 100u);
    }
    ConnectedBench b;
    b.port.feed(babble);
    EXPECT_EQ(WaitReady(b.context()), WaitOutcome::TooLong);
    EXPECT_EQ(b.form.Label5.caption(), kAnswerTooLongText);
}

} // namespace
} // namespace dornal
