#include "reader_test_support.h"

#include <gtest/gtest.h>

namespace dornal {
namespace {

using testing::ConnectedBench;
using testing::kDel;
using testing::SegmentLog;

using Segments = std::vector<std::pair<int, bool>>;

TEST(ReadAnswer, FillsTheTrackBoxesAndReportsEachSegmentBeforeItsData) {
    const struct {
        std::string bytes;                // after the ESC
        std::array<std::string, 3> boxes; // tracks 1, 2, 3 afterwards
        Segments segments;                // as reported, in order
        int beeps;
    } cases[] = {
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
        {"sx~A?", {"", "", ""}, {}, 0},                             // no segment recognised
        {"t12~AB?", {"0", "0", "0"}, {}, 0},                        // not a read answer: untouched
        {"s" + std::string(40, '5') + "?", {"", std::string(37, '5'), ""}, {{2, true}}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bytes);
        ConnectedBench b(3); // "Sin&gal Read"
        for (auto& box : b.form.Text1)
            box.setText("0");
        b.form.Label5.setCaption("before");
        SegmentLog log;

        const Answer answer = b.receive(kTrue, c.bytes, log.counter(b.form.Text1));

        EXPECT_EQ(answer.kind, AnswerKind::Read);
        EXPECT_EQ(answer.outcome, WaitOutcome::Complete);
        for (std::size_t i = 0; i < 3; ++i) {
            EXPECT_EQ(b.form.Text1[i].text(), c.boxes[i]) << "track " << i + 1;
            EXPECT_EQ(b.form.Label3[i].caption(), std::to_string(c.boxes[i].size()));
        }
        EXPECT_EQ(log.segments, c.segments);
        EXPECT_EQ(log.boxTextAtCount, std::vector<std::string>(c.segments.size(), ""));
        EXPECT_EQ(b.alerts.beeps, c.beeps);
        EXPECT_EQ(b.form.Label5.caption(), "before");
    }
}

TEST(ReadAnswer, InWriteReadLoopFillsTheReadBackBoxes) {
    ConnectedBench b(4);
    b.form.Text1[0].setText("WRITTEN");
    b.form.Text2[2].setText("old");
    SegmentLog log;
    b.receive(kTrue, "s45~RE%AD" + kDel + "?", log.counter(b.form.Text2));
    EXPECT_EQ(b.form.Text1[0].text(), "WRITTEN");
    EXPECT_EQ(b.form.Text2[0].text(), "RE%AD"); // the read-back boxes have no entry rule
    EXPECT_EQ(b.form.Text2[1].text(), "45");
    EXPECT_EQ(b.form.Text2[2].text(), "");
    EXPECT_EQ(b.alerts.beeps, 0);
    EXPECT_EQ(log.segments, (Segments{{2, true}, {1, true}}));
}

TEST(ReadAnswer, OverlongAnswerKeepsWhatFitsAndDropsTheRest) {
    ConnectedBench b(4);
    const Answer answer = b.receive(kTrue, "s" + std::string(1100, '5') + "?" + testing::kEscText);
    EXPECT_EQ(answer.outcome, WaitOutcome::Complete);
    // The buffer holds the "s" and 1024 data bytes; the rest up to the "?" is dropped.
    EXPECT_EQ(b.form.Text2[1].text(), std::string(AnswerBuffer::kSize - 1, '5'));
    EXPECT_EQ(b.port.waiting(), 1u);
}

} // namespace
} // namespace dornal
