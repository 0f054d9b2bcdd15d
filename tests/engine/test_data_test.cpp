#include "engine/test_data.h"
#include "support/bench_fixture.h"

#include <gtest/gtest.h>

namespace dornal {
namespace {

using testing::Bench;

constexpr int kNotChange = 0, kTestChar = 1, kSerial = 2;
constexpr int kIbm1 = 0, kIso = 3;

class TestData : public ::testing::Test {
  protected:
    TextBox& box(int track) { return bench.form.Text1[static_cast<std::size_t>(track - 1)]; }
    void setTotal(int track, std::string_view total) {
        bench.form.Label1[static_cast<std::size_t>(track)].setCaption(total);
    }
    void configure(int writeConfig) { bench.form.Option2[writeConfig].select(); }
    // The character-set handler empties tracks 2 and 3, as it does for the operator.
    void charSet(int index) { bench.form.Option3[index].select(); }
    Context& context() { return bench.context(); }

    Bench bench;
};

struct WorkedExample {
    const char* name;
    int track;
    std::string_view text; // empty: the box starts empty and is filled from the pattern set
    PatternSet set;
    int charSet;
    int writeConfig;
    const char* total;
    std::string_view filled;
    std::string_view result;
};

class WorkedExamples : public TestData, public ::testing::WithParamInterface<WorkedExample> {};

TEST_P(WorkedExamples, FillThenAdvance) {
    const WorkedExample& row = GetParam();
    charSet(row.charSet);
    configure(row.writeConfig);
    setTotal(row.track, row.total);
    box(row.track).setText(row.text);
    FillEmptyTrack(context(), row.track, row.set);
    EXPECT_EQ(box(row.track).text(), row.filled);
    AdvanceTrackData(context(), row.track);
    EXPECT_EQ(box(row.track).text(), row.result);
}

INSTANTIATE_TEST_SUITE_P(
    TestDataRule, WorkedExamples,
    ::testing::Values(
        WorkedExample{"SerialSingleSet", 2, "", PatternSet::Single, kIso, kSerial, "7",
                      "21234567890000", "21234567890007"},
        WorkedExample{"SerialLoopSet", 2, "", PatternSet::Loop, kIso, kSerial, "42",
                      "2222222222000000000022222222220000000",
                      "2222222222000000000022222222220000042"},
        WorkedExample{"TestCharIbm", 2, "2123456789", PatternSet::Loop, kIbm1, kTestChar, "13",
                      "2123456789", "21234567891"},
        WorkedExample{"TestCharFullBox", 2, "", PatternSet::Loop, kIso, kTestChar, "0",
                      "2222222222000000000022222222220000000",
                      "2222222220000000000222222222200000000"},
        WorkedExample{"TestCharTrack1", 1, "1123456789", PatternSet::Loop, kIso, kTestChar, "5",
                      "1123456789", "1123456789\""},
        WorkedExample{"NotChangeFillsWithoutZeros", 3, "", PatternSet::Single, kIso, kNotChange,
                      "9", "3123456789", "3123456789"},
        // A text shorter than the serial is replaced by the serial alone.
        WorkedExample{"SerialOnShortText", 1, "AB", PatternSet::Loop, kIso, kSerial, "7", "AB",
                      "0007"},
        WorkedExample{"SerialOnFourCharacters", 1, "ABCD", PatternSet::Loop, kIso, kSerial, "7",
                      "ABCD", "0007"},
        // Totals of any size count exactly: 98765432109876543210987 mod 62 is 29, mod 12 is 3.
        WorkedExample{"TestCharHugeTotalTrack1", 1, "X", PatternSet::Loop, kIso, kTestChar,
                      "98765432109876543210987", "X", "X>"},
        WorkedExample{"TestCharHugeTotalTrack3", 3, "3", PatternSet::Loop, kIso, kTestChar,
                      "98765432109876543210987", "3", "33"},
        WorkedExample{"TestCharTotalRoundsHalfToEven", 2, "5", PatternSet::Loop, kIso, kTestChar,
                      "2.5", "5", "52"},
        WorkedExample{"SerialOfHugeTotal", 2, "55555", PatternSet::Loop, kIso, kSerial,
                      "98765432109876543210987", "55555", "50000"},
        WorkedExample{"SerialOfTextTotal", 2, "55555", PatternSet::Loop, kIso, kSerial, "abc",
                      "55555", "50000"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(TestData, LoopSerialAtTotalZeroKeepsPatternsButTrack3) {
    configure(kSerial);
    for (int track : kFrameTrackOrder)
        PrepareTrackData(context(), track, PatternSet::Loop);
    EXPECT_EQ(box(1).text(), defaultPattern(1, PatternSet::Loop));
    EXPECT_EQ(box(2).text(), defaultPattern(2, PatternSet::Loop));
    std::string track3(defaultPattern(3, PatternSet::Loop));
    track3.replace(track3.size() - 4, 4, "0000");
    EXPECT_EQ(box(3).text(), track3);
    EXPECT_EQ(box(3).text().size(), 107u);
}

TEST_F(TestData, SerialIsFourDigitsUpTo9999ThenZeros) {
    configure(kSerial);
    const std::pair<const char*, const char*> cases[] = {
        {"0", "0000"}, {"45", "0045"}, {"123", "0123"}, {"9999", "9999"}, {"10000", "0000"}};
    for (const auto& [total, serial] : cases) {
        setTotal(1, total);
        setTotal(2, "77"); // the other totals play no part
        setTotal(3, "8888");
        box(1).setText("ABCDEFGH");
        AdvanceTrackData(context(), 1);
        EXPECT_EQ(box(1).text(), std::string("ABCD") + serial) << "total " << total;
    }
}

TEST_F(TestData, Track1TestCharactersRunThroughTheWholeAlphabet) {
    configure(kTestChar);
    const std::string alphabet = bench.shared.Track1Alphabet;
    ASSERT_EQ(alphabet.size(), 62u);
    for (int n = 0; n <= 62; ++n) {
        setTotal(1, std::to_string(n));
        box(1).setText("1");
        AdvanceTrackData(context(), 1);
        EXPECT_EQ(box(1).text(), std::string("1") + alphabet[static_cast<std::size_t>(n % 62)])
            << "total " << n;
    }
    EXPECT_EQ(bench.alerts.beeps, 0); // every test character is one the track accepts
}

TEST_F(TestData, Tracks2And3TakeTheAlphabetOfTheCharacterSet) {
    configure(kTestChar);
    for (int track : {2, 3}) {
        setTotal(track, "11");
        charSet(kIso);
        box(track).setText("0");
        AdvanceTrackData(context(), track);
        EXPECT_EQ(box(track).text(), "0>");
        charSet(kIbm1);
        box(track).setText("0");
        AdvanceTrackData(context(), track);
        EXPECT_EQ(box(track).text(), "0=");
    }
    charSet(kIbm1);
    setTotal(1, "11");
    box(1).setText("0");
    AdvanceTrackData(context(), 1);
    EXPECT_EQ(box(1).text(), "0,");
}

TEST_F(TestData, FailedWriteRepeatsTheSameData) {
    configure(kTestChar);
    bench.shared.WriteFailed = kTrue;
    for (int track : kFrameTrackOrder) {
        box(track).setText("12");
        PrepareTrackData(context(), track, PatternSet::Loop);
        EXPECT_EQ(box(track).text(), "12");
    }
}

TEST_F(TestData, FullBoxKeepsItsLengthAndFirstCharacter) {
    configure(kTestChar);
    box(3).setText("");
    FillEmptyTrack(context(), 3, PatternSet::Loop);
    for (int n = 0; n < 30; ++n) {
        setTotal(3, std::to_string(n));
        AdvanceTrackData(context(), 3);
        ASSERT_EQ(box(3).text().size(), 107u);
        EXPECT_EQ(box(3).text().front(), '3');
        EXPECT_EQ(box(3).text().back(), "0123456789=>"[n % 12]);
    }
    EXPECT_EQ(bench.form.Label3[2].caption(), "107");
}

TEST_F(TestData, BoxHoldingAnyTextIsNotFilled) {
    configure(kNotChange);
    box(1).setText(" ");
    PrepareTrackData(context(), 1, PatternSet::Single);
    EXPECT_EQ(box(1).text(), " ");
}

} // namespace
} // namespace dornal
