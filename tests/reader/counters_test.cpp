#include "engine/counters.h"
#include "reader_test_support.h"

#include <gtest/gtest.h>

namespace dornal {
namespace {

using testing::ConnectedBench;
using testing::kDel;
using testing::kEscText;

using Names = std::vector<std::string>;

// Logs the name of every counter label as it changes.
struct CounterLog {
    explicit CounterLog(Form1& form) {
        for (std::size_t i = 1; i <= 3; ++i)
            watch(form.Label1[i]);
        for (int track = 1; track <= 3; ++track) {
            watch(form.writeCounter(track));
            watch(form.readCounter(track));
        }
    }
    void watch(Label& label) {
        label.addListener([this, &label] { changes.push_back(label.name()); });
    }
    Names changes;
};

TEST(AddToCounter, CountsExactlyFromTheLeadingNumber) {
    const std::tuple<const char*, int, const char*> cases[] = {
        {"0", 1, "1"},         {"99", 1, "100"},
        {"", 1, "1"},          {"abc", 1, "1"},
        {" 7 apples", 1, "8"}, {"999999999999999999999", 1, "1000000000000000000000"},
        {"5", -1, "4"},
    };
    for (const auto& [before, delta, after] : cases) {
        Label label("counter", before);
        addToCounter(label, delta);
        EXPECT_EQ(label.caption(), after) << before;
    }
}

TEST(CountWriteAnswer, TotalsFirstThenWriteCountersInTrackOrder) {
    const std::pair<std::uint8_t, Names> cases[] = {
        {0b111,
         {"Label1(1)", "Label1(2)", "Label1(3)", "lb_T1WriteCounter", "lb_T2WriteCounter",
          "lb_T3WriteCounter"}},
        {0b110, {"Label1(2)", "Label1(3)", "lb_T2WriteCounter", "lb_T3WriteCounter"}},
        {0b001, {"Label1(1)", "lb_T1WriteCounter"}},
        {0, {}},
    };
    for (int mode : {2, 4}) {
        for (const auto& [tracks, expected] : cases) {
            ConnectedBench b(mode);
            CounterLog log(b.form);
            CountWriteAnswer(b.form, tracks);
            EXPECT_EQ(log.changes, expected) << int(tracks);
            for (int track = 1; track <= 3; ++track) {
                const char* count = (tracks >> (track - 1)) & 1 ? "1" : "0";
                EXPECT_EQ(b.form.Label1[static_cast<std::size_t>(track)].caption(), count);
                EXPECT_EQ(b.form.writeCounter(track).caption(), count);
            }
        }
    }
}

struct ReadCountCase {
    int track;
    bool hasData;
    Names outsideLoop;     // changes in the other modes
    Names inWriteReadLoop; // changes in "Auto Write/Read Loop"
};

TEST(CountReadSegment, FollowsTheTableAndSparesTheTotalsInTheWriteReadLoop) {
    const ReadCountCase cases[] = {
        {2, true, {"lb_T2ReadCounter", "Label1(2)"}, {"lb_T2ReadCounter"}},
        {2, false, {}, {}},
        {3, true, {"Label1(3)", "lb_T3ReadCounter"}, {"lb_T3ReadCounter"}},
        {3, false, {"lb_T3ReadCounter"}, {"lb_T3ReadCounter"}},
        {1, true, {"Label1(1)", "lb_T1ReadCounter"}, {"lb_T1ReadCounter"}},
        {1, false, {"lb_T1ReadCounter"}, {"lb_T1ReadCounter"}},
        {0, true, {}, {}},
        {4, true, {}, {}},
    };
    for (const auto& c : cases) {
        for (int mode : {1, 3, 4}) {
            ConnectedBench b(mode);
            CounterLog log(b.form);
            CountReadSegment(b.form, c.track, c.hasData);
            EXPECT_EQ(log.changes, mode == 4 ? c.inWriteReadLoop : c.outsideLoop)
                << "track " << c.track << " data " << c.hasData << " mode " << mode;
        }
    }
}

struct AnswerCountCase {
    int mode;
    Flag16 lastCmdRead;
    std::string bytes; // after the ESC
    std::array<const char*, 3> totals, writes, reads;
};

TEST(Counters, CountWhatTheReaderAnswers) {
    const std::string readAnswer = "s12" + kDel + "A" + kDel + "~A" + kDel + "?";
    const AnswerCountCase cases[] = {
        {2, kFalse, "\"0p", {"1", "1", "1"}, {"1", "1", "1"}, {"0", "0", "0"}},
        {2, kFalse, "B0q", {"0", "0", "0"}, {"0", "0", "0"}, {"0", "0", "0"}},
        {3, kTrue, readAnswer, {"1", "1", "0"}, {"0", "0", "0"}, {"1", "1", "1"}},
        {4, kTrue, readAnswer, {"0", "0", "0"}, {"0", "0", "0"}, {"1", "1", "1"}},
        {3, kTrue, "s" + kDel + "?", {"0", "0", "0"}, {"0", "0", "0"}, {"0", "0", "0"}},
        {3, kTrue, "s?", {"0", "1", "0"}, {"0", "0", "0"}, {"0", "1", "0"}},
        {4, kTrue, "s?", {"0", "0", "0"}, {"0", "0", "0"}, {"0", "1", "0"}},
    };
    for (const auto& c : cases) {
        ConnectedBench b(c.mode);
        b.shared.LastCmdRead = c.lastCmdRead;
        b.port.feed(kEscText + c.bytes);
        Form1& form = b.form;
        const Answer answer = ReceiveAnswer(b.context(), [&form](int track, bool hasData) {
            CountReadSegment(form, track, hasData);
        });
        if (answer.kind == AnswerKind::Write)
            CountWriteAnswer(form, answer.writtenTracks);
        for (int track = 1; track <= 3; ++track) {
            const auto i = static_cast<std::size_t>(track - 1);
            EXPECT_EQ(form.Label1[i + 1].caption(), c.totals[i]) << c.bytes << " track " << track;
            EXPECT_EQ(form.writeCounter(track).caption(), c.writes[i])
                << c.bytes << " track " << track;
            EXPECT_EQ(form.readCounter(track).caption(), c.reads[i])
                << c.bytes << " track " << track;
        }
    }
}

} // namespace
} // namespace dornal
