#include "reader_test_support.h"

#include <gtest/gtest.h>

namespace dornal {
namespace {

using testing::ConnectedBench;
using testing::kDel;
using testing::kEscText;
using testing::readBackBoxes;
using testing::SegmentLog;

using Segments = std::vector<std::pair<int, bool>>;

struct ReadAnswerCase {
    std::string bytes;                // after the ESC
    std::array<const char*, 3> boxes; // tracks 1, 2, 3 afterwards
    Segments segments;                // as reported, in order
    int beeps;
};

const ReadAnswerCase kReadCases[] = {
    {"s12" + kDel + "A" + kDel + "~AB" + kDel + "?",
     {"AB", "12", ""},
     {{2, true}, {3, false}, {1, true}},
     0},
    {"s?", {"", "", ""}, {{2, true}}, 0},
    {"s" + kDel + "?", {"", "", ""}, {{2, false}}, 0},
    {"sA12?", {"", "", "12"}, {{3, true}}, 0},
    {"s~%A?", {"A", "", ""}, {{1, true}}, 1}, // "%" is refused on track 1 as it comes
    {"s12A34~AB?", {"AB", "12", "34"}, {{2, true}, {3, true}, {1, true}}, 0},
    {"s12~1A2?", {"1A2", "12", ""}, {{2, true}, {1, true}}, 0}, // track 1 data may hold "A"
    {"sA3~4?", {"4", "", "3"}, {{3, true}, {1, true}}, 0},      // track 3 data ends at "~"
    {"s~A" + kDel + "99?", {"A", "", ""}, {{1, true}}, 0},      // whatever follows is ignored
    {"s~" + kDel + "?", {"", "", ""}, {{1, false}}, 0},
    {"sx~A?", {"", "", ""}, {}, 0}, // no segment recognised
};

TEST(ReadAnswer, FillsTheTrackBoxesAndReportsEachSegment) {
    for (const auto& c : kReadCases) {
        ConnectedBench b(3); // "Sin&gal Read"
        for (auto& box : b.form.Text1)
            box.setText("0");
        b.shared.LastCmdRead = kTrue;
        b.form.Label5.setCaption("before");
        b.port.feed(kEscText + c.bytes);
        SegmentLog log;

        const Answer answer = ReceiveAnswer(b.context(), log.counter(b.form.Text1));

        EXPECT_EQ(answer.kind, AnswerKind::Read) << c.bytes;
        EXPECT_EQ(answer.outcome, WaitOutcome::Complete) << c.bytes;
        for (std::size_t i = 0; i < 3; ++i)
            EXPECT_EQ(b.form.Text1[i].text(), c.boxes[i]) << c.bytes << " track " << i + 1;
        EXPECT_EQ(log.segments, c.segments) << c.bytes;
        for (const auto& text : log.boxTextAtCount)
            EXPECT_EQ(text, "") << c.bytes << ": counted before its data was copied";
        EXPECT_EQ(b.alerts.beeps, c.beeps) << c.bytes;
        EXPECT_EQ(b.form.Label5.caption(), "before") << c.bytes;
        EXPECT_EQ(b.form.Label3[0].caption(), std::to_string(b.form.Text1[0].text().size()));
    }
}

TEST(ReadAnswer, OtherKindLeavesTheBoxesAlone) {
    ConnectedBench b(1);
    b.form.Text1[0].setText("AB");
    b.form.Text1[1].setText("12");
    b.shared.LastCmdRead = kTrue;
    b.port.feed(kEscText + "t12~AB?");
    SegmentLog log;
    const Answer answer = ReceiveAnswer(b.context(), log.counter(b.form.Text1));
    EXPECT_EQ(answer.kind, AnswerKind::Read);
    EXPECT_EQ(b.form.Text1[0].text(), "AB");
    EXPECT_EQ(b.form.Text1[1].text(), "12");
    EXPECT_TRUE(log.segments.empty());
}

TEST(ReadAnswer, InWriteReadLoopFillsTheReadBackBoxes) {
    ConnectedBench b(4);
    b.form.Text1[0].setText("WRITTEN");
    b.form.Text1[1].setText("123");
    b.form.Text2[2].setText("old");
    b.shared.LastCmdRead = kTrue;
    b.port.feed(kEscText + "s45~RE%AD" + kDel + "?");
    SegmentLog log;
    ReceiveAnswer(b.context(), log.counter(b.form.Text2));
    EXPECT_EQ(b.form.Text1[0].text(), "WRITTEN");
    EXPECT_EQ(b.form.Text1[1].text(), "123");
    EXPECT_EQ(b.form.Text2[0].text(), "RE%AD"); // the read-back boxes have no entry rule
    EXPECT_EQ(b.form.Text2[1].text(), "45");
    EXPECT_EQ(b.form.Text2[2].text(), "");
    EXPECT_EQ(b.alerts.beeps, 0);
    EXPECT_EQ(log.segments, (Segments{{2, true}, {1, true}}));
}

TEST(ReadAnswer, ABoxCutsDataBeyondItsMaximumLength) {
    ConnectedBench b(3);
    b.shared.LastCmdRead = kTrue;
    b.port.feed(kEscText + "s" + std::string(40, '5') + "?");
    ReceiveAnswer(b.context(), {});
    EXPECT_EQ(b.form.Text1[1].text(), std::string(37, '5'));
    EXPECT_EQ(b.form.Label3[1].caption(), "37");
}

TEST(ReadAnswer, OverlongAnswerKeepsWhatFitsAndDropsTheRest) {
    ConnectedBench b(4);
    b.shared.LastCmdRead = kTrue;
    b.port.feed(kEscText + "s" + std::string(1100, '5') + "?" + kEscText);
    const Answer answer = ReceiveAnswer(b.context(), {});
    EXPECT_EQ(answer.outcome, WaitOutcome::Complete);
    // The buffer holds the "s" and 1024 data bytes; the rest up to the "?" is dropped.
    EXPECT_EQ(b.form.Text2[1].text(), std::string(AnswerBuffer::kSize - 1, '5'));
    EXPECT_EQ(b.port.waiting(), 1u);
}

} // namespace
} // namespace dornal
