#include "engine_rig.h"

namespace dornal {
namespace {

using namespace testing;
using C = WriteConfig;
using P = PatternSet;

TEST(TestData, EmptyBoxesAreFilledThenTheDataAdvanceFromTheTracksOwnTotal) {
    const CharSet iso = CharSet::Iso;
    // The track and its text, the patterns, the choices, its total, whether the last write
    // failed; then the data to write.
    const std::tuple<int, const char*, P, CharSet, std::optional<C>, int, bool, std::string>
        cases[] = {
            {2, "", P::Loop, iso, C::AddSerialNumber, 42, false,
             "2222222222000000000022222222220000042"},
            // A full box keeps its first character and drops its second.
            {2, "", P::Loop, iso, C::AddTestChar, 0, false,
             "2222222220000000000222222222200000000"},
            {3, "", P::Single, iso, std::nullopt, 9, false, "3123456789"},
            {1, "1123456789", P::Loop, iso, C::AddTestChar, 5, false, "1123456789\""},
            {1, "0", P::Loop, iso, C::AddTestChar, 73, false, "0,"},
            {3, "0", P::Loop, CharSet::Ibm1, C::AddTestChar, 11, false, "0="},
            {2, "0", P::Loop, CharSet::Ibm3, C::AddTestChar, 10, false, "0'"},
            {3, "0", P::Loop, iso, C::AddTestChar, 23, false, "0>"},
            {2, "12", P::Loop, iso, C::AddTestChar, 5, true, "12"}, // written again
            {2, "12345", P::Loop, iso, C::AddSerialNumber, 3, true, "10003"},
            {1, "ABCDEFGH", P::Loop, iso, C::AddSerialNumber, 45, false, "ABCD0045"},
            {1, "AB", P::Loop, iso, C::AddSerialNumber, 7, false, "0007"},
            {1, "", P::Single, iso, C::AddSerialNumber, 9999, false, "11234567899999"},
            {1, "", P::Single, iso, C::AddSerialNumber, 10000, false, "11234567890000"},
        };
    for (const auto& [track, text, set, charSet, config, total, failed, data] : cases) {
        SCOPED_TRACE(::testing::Message() << track << " '" << text << "' " << total);
        FakePanel panel;
        Counters counters;
        panel.ticked = trackBit(track);
        panel.charSetChoice = charSet;
        panel.configChoice = config;
        panel.box(Row::Data, track) = text;
        counters.totals = {77, 77, 77}; // the other tracks' totals play no part
        counters.totals[trackIndex(track)] = static_cast<std::uint64_t>(total);
        TestData(panel, counters).prepareTicked(set, failed);
        Boxes want;
        want[trackIndex(track)] = data;
        EXPECT_EQ(panel.rowOf(Row::Data), want);
    }
}

} // namespace
} // namespace dornal
