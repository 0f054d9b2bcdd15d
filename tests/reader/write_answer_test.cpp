#include "reader_test_support.h"

#include <gtest/gtest.h>

namespace dornal {
namespace {

using testing::ConnectedBench;
using testing::kEscText;

TEST(WriteAnswer, ReportsTheWrittenTracksAndShowsTheAnswerInHex) {
    const struct {
        std::string bytes; // after the ESC
        TrackSet tracks;
        const char* status;
    } cases[] = {
        {"rp", 0b010, "1B 72 70- 0"},
        {"rq", 0, "1B 72 71- 0"},
        {"T0p", 0b100, "1B 54 30 70- 0"}, // the byte at position 1 is not looked at
        {"Bp", 0, "1B 42 70- 0"},         // ends before its result position
        {"B0p", 0b110, "1B 42 30 70- 0"},
        {" 0p", 0b001, "1B 20 30 70- 0"},
        {"!0p", 0b011, "1B 21 30 70- 0"},
        {"!0q", 0, "1B 21 30 71- 0"},
        {"\"0p", 0b111, "1B 22 30 70- 0"},
        {"X0p", 0, "1B 58 30 70- 0"}, // not a code of the table
        {"r\xc8p", 0, "1B 72- 0"},    // the status stops before a byte above 127
        {"T\x7fp", 0b100, "1B 54 7F 70- 0"},
        {"\x01Tp", 0, "1B- 0"},
    };
    for (const auto& c : cases) {
        ConnectedBench b;
        const Answer answer = b.receive(kFalse, c.bytes);
        EXPECT_EQ(answer.kind, AnswerKind::Write) << c.status;
        EXPECT_EQ(answer.outcome, WaitOutcome::Complete) << c.status;
        EXPECT_EQ(answer.writtenTracks, c.tracks) << c.status;
        EXPECT_EQ(b.form.Label5.caption(), c.status);
        EXPECT_EQ(b.port.waiting(), 0u) << c.status;
        EXPECT_EQ(b.shared.LastCmdRead, kFalse);
    }
}

TEST(ReceiveAnswer, TakesAtMostOneFrameATickAndDropsOneStrayByteATick) {
    ConnectedBench b;
    b.form.Label5.setCaption("before");
    EXPECT_EQ(ReceiveAnswer(b.context(), {}).kind, AnswerKind::None);
    EXPECT_EQ(b.port.getchCalls, 0) << "an empty queue is not read";
    b.port.feed("xz" + kEscText + "rp" + kEscText + "Tq");
    EXPECT_EQ(ReceiveAnswer(b.context(), {}).kind, AnswerKind::None);
    EXPECT_EQ(b.port.waiting(), 7u);
    EXPECT_EQ(ReceiveAnswer(b.context(), {}).kind, AnswerKind::None);
    EXPECT_EQ(b.form.Label5.caption(), "before");
    EXPECT_EQ(ReceiveAnswer(b.context(), {}).writtenTracks, 0b010);
    EXPECT_EQ(b.port.waiting(), 3u);
    EXPECT_EQ(ReceiveAnswer(b.context(), {}).kind, AnswerKind::Write);
    EXPECT_EQ(b.form.Label5.caption(), "1B 54 71- 0");
    EXPECT_TRUE(b.port.sent.empty());
}

TEST(ReceiveAnswer, LastCmdReadPicksTheKindNotTheContent) {
    ConnectedBench b;
    b.form.Label5.setCaption("before");
    const Answer answer = b.receive(kTrue, "rp?");
    EXPECT_EQ(answer.kind, AnswerKind::Read);
    EXPECT_EQ(answer.writtenTracks, 0);
    EXPECT_EQ(b.form.Label5.caption(), "before"); // read answers leave the status alone
    EXPECT_EQ(b.port.waiting(), 0u);
    EXPECT_EQ(b.shared.LastCmdRead, kTrue);
}

} // namespace
} // namespace dornal
