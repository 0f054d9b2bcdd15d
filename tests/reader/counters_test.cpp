#include "engine/counters.h"
#include "reader_test_support.h"

#include <gtest/gtest.h>

namespace dornal {
namespace {

using testing::ConnectedBench;
using Names = std::vector<std::string>;

// Logs the name of every total, write and read counter label as it changes.
void logCounters(Form1& form, Names& changes) {
    std::vector<Label*> labels{&form.Label1[1], &form.Label1[2], &form.Label1[3]};
    for (int track = 1; track <= 3; ++track) {
        labels.push_back(&form.writeCounter(track));
        labels.push_back(&form.readCounter(track));
    }
    for (Label* label : labels)
        label->addListener([&changes, label] { changes.push_back(label->name()); });
}

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

TEST(CountWriteAnswer, TotalsFirstThenWriteCountersInTrackOrderInEveryMode) {
    const std::pair<TrackSet, Names> cases[] = {
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
            Names changes;
            logCounters(b.form, changes);
            CountWriteAnswer(b.form, tracks);
            EXPECT_EQ(changes, expected) << int(tracks);
            EXPECT_EQ(b.form.lb_T2WriteCounter.caption(), tracks & 2 ? "1" : "0");
        }
    }
}

TEST(CountReadSegment, FollowsTheTableAndSparesTheTotalsInTheWriteReadLoop) {
    const struct {
        int track;
        bool hasData;
        Names outsideLoop, inWriteReadLoop;
    } cases[] = {
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
            Names changes;
            logCounters(b.form, changes);
            CountReadSegment(b.form, c.track, c.hasData);
            EXPECT_EQ(changes, mode == 4 ? c.inWriteReadLoop : c.outsideLoop)
                << "track " << c.track << " data " << c.hasData << " mode " << mode;
        }
    }
}

} // namespace
} // namespace dornal
