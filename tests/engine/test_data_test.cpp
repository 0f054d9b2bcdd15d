#include "engine/test_data.h"
#include "support/bench_fixture.h"

#include <gtest/gtest.h>

namespace dornal {
namespace {

constexpr int kNotChange = 0, kTestChar = 1, kSerial = 2;
constexpr int kIbm1 = 0, kIso = 3;

class TestData : public ::testing::Test {
protected:
    TextBox& box(int track) { return bench.form.Text1[static_cast<std::size_t>(track - 1)]; }
    void setTotal(int track, std::string_view total) {
        bench.form.Label1[static_cast<std::size_t>(track)].setCaption(total);
    }
    // The character-set handler empties tracks 2 and 3, as it does for the operator.
    void configure(int writeConfig, int charSet = kIso) {
        bench.form.Option3[charSet].select();
        bench.form.Option2[writeConfig].select();
    }
    std::string advanced(int track, std::string_view text) {
        box(track).setText(text);
        AdvanceTrackData(bench.context(), track);
        return box(track).text();
    }

    testing::Bench bench;
};

TEST_F(TestData, FillThenAdvanceFromTheTracksOwnTotal) {
    const std::string loop2 = "2222222222000000000022222222220000000";
    const struct {
        int track;
        std::string_view text; // empty: filled from the pattern set
        PatternSet set;
        int charSet, writeConfig;
        const char* total;
        std::string filled, result;
    } cases[] = {
        {2, "", PatternSet::Single, kIso, kSerial, "7", "21234567890000", "21234567890007"},
        {2, "", PatternSet::Loop, kIso, kSerial, "42", loop2,
         "2222222222000000000022222222220000042"},
        {2, "2123456789", PatternSet::Loop, kIbm1, kTestChar, "13", "2123456789", "21234567891"},
        {2, "", PatternSet::Loop, kIso, kTestChar, "0", loop2,
         "2222222220000000000222222222200000000"},
        {1, "1123456789", PatternSet::Loop, kIso, kTestChar, "5", "1123456789", "1123456789\""},
        {3, "", PatternSet::Single, kIso, kNotChange, "9", "3123456789", "3123456789"},
        {1, " ", PatternSet::Single, kIso, kNotChange, "9", " ", " "}, // any text counts as data
        {1, "ABCDEFGH", PatternSet::Loop, kIso, kSerial, "0", "ABCDEFGH", "ABCD0000"},
        {1, "ABCDEFGH", PatternSet::Loop, kIso, kSerial, "45", "ABCDEFGH", "ABCD0045"},
        {1, "ABCDEFGH", PatternSet::Loop, kIso, kSerial, "123", "ABCDEFGH", "ABCD0123"},
        {1, "ABCDEFGH", PatternSet::Loop, kIso, kSerial, "9999", "ABCDEFGH", "ABCD9999"},
        {1, "ABCDEFGH", PatternSet::Loop, kIso, kSerial, "10000", "ABCDEFGH", "ABCD0000"},
        {2, "55555", PatternSet::Loop, kIso, kSerial, "98765432109876543210987", "55555", "50000"},
        {2, "55555", PatternSet::Loop, kIso, kSerial, "abc", "55555", "50000"},
        // A text shorter than the serial is replaced by the serial alone.
        {1, "AB", PatternSet::Loop, kIso, kSerial, "7", "AB", "0007"},
        // Totals of any size count exactly: 98765432109876543210987 mod 62 is 29.
        {1, "X", PatternSet::Loop, kIso, kTestChar, "98765432109876543210987", "X", "X>"},
        {2, "5", PatternSet::Loop, kIso, kTestChar, "2.5", "5", "52"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "track " << c.track << " total " << c.total);
        configure(c.writeConfig, c.charSet);
        for (int track = 1; track <= 3; ++track)
            setTotal(track, "77"); // the other tracks' totals play no part
        setTotal(c.track, c.total);
        box(c.track).setText(c.text);
        FillEmptyTrack(bench.context(), c.track, c.set);
        EXPECT_EQ(box(c.track).text(), c.filled);
        AdvanceTrackData(bench.context(), c.track);
        EXPECT_EQ(box(c.track).text(), c.result);
    }
}

TEST_F(TestData, LoopSerialAtTotalZeroKeepsPatternsButTrack3) {
    configure(kSerial);
    for (int track : kFrameTrackOrder)
        PrepareTrackData(bench.context(), track, PatternSet::Loop);
    EXPECT_EQ(box(1).text(), defaultPattern(1, PatternSet::Loop));
    EXPECT_EQ(box(2).text(), defaultPattern(2, PatternSet::Loop));
    std::string track3(defaultPattern(3, PatternSet::Loop));
    EXPECT_EQ(track3.size(), 107u);
    EXPECT_EQ(box(3).text(), track3.replace(103, 4, "0000"));
}

TEST_F(TestData, TestCharactersComeFromTheTracksAlphabet) {
    configure(kTestChar);
    const std::string alphabet = bench.shared.Track1Alphabet;
    ASSERT_EQ(alphabet.size(), 62u);
    for (int n = 0; n <= 62; ++n) {
        setTotal(1, std::to_string(n));
        EXPECT_EQ(advanced(1, "1"), "1" + alphabet.substr(static_cast<std::size_t>(n % 62), 1));
    }
    EXPECT_EQ(bench.alerts.beeps, 0); // every test character is one the track accepts
    for (int track : {1, 2, 3})
        setTotal(track, "11");
    for (int track : {2, 3})
        EXPECT_EQ(advanced(track, "0"), "0>");
    configure(kTestChar, kIbm1);
    for (int track : {2, 3})
        EXPECT_EQ(advanced(track, "0"), "0=");
    EXPECT_EQ(advanced(1, "0"), "0,");
}

TEST_F(TestData, FailedWriteRepeatsTheSameData) {
    configure(kTestChar);
    bench.shared.WriteFailed = kTrue;
    for (int track : kFrameTrackOrder) {
        box(track).setText("12");
        PrepareTrackData(bench.context(), track, PatternSet::Loop);
        EXPECT_EQ(box(track).text(), "12");
    }
}

TEST_F(TestData, FullBoxKeepsItsLengthAndFirstCharacter) {
    configure(kTestChar);
    FillEmptyTrack(bench.context(), 3, PatternSet::Loop);
    for (int n = 0; n < 30; ++n) {
        setTotal(3, std::to_string(n));
        AdvanceTrackData(bench.context(), 3);
        ASSERT_EQ(box(3).text().size(), 107u);
        EXPECT_EQ(box(3).text().front(), '3');
        EXPECT_EQ(box(3).text().back(), "0123456789=>"[n % 12]);
    }
}

} // namespace
} // namespace dornal
