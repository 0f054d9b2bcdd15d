#include "shared/text_number.h"
#include "shared/tracks.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <tuple>

namespace dornal {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(LeadingNumber, ReadsBlanksSignFractionAndExponentAndZeroWhenNoNumberLeads) {
    const std::pair<const char*, double> cases[] = {
        {"", 0},           {"abc", 0},       {"-", 0},       {".", 0},       {"x12", 0},
        {" \t42ab", 42},   {"-5", -5},       {"+7", 7},      {"7-1", 7},     {".6", 0.6},
        {"-.6", -0.6},     {"5.", 5},        {"1.2.3", 1.2}, {"1,5", 1},     {"0x10", 0},
        {"1e3", 1000},     {"1E3", 1000},    {"1d2", 100},   {"1D2", 100},   {"25e-1", 2.5},
        {"1e+2", 100},     {"3e", 3},        {"3e+", 3},     {"1.5d1x", 15}, {"1d-400", 0},
        {"-1e400", -kInf}, {"+1D400", kInf},
    };
    for (const auto& [text, value] : cases)
        EXPECT_DOUBLE_EQ(leadingNumber(text), value) << '"' << text << '"';
    // Beyond a double's range, the size is judged by the first digit's place and the exponent.
    const std::string zeros(400, '0');
    const std::pair<std::string, double> far[] = {
        {"0." + zeros + "1", 0},        {"-0." + zeros + "1", 0}, {"1" + zeros, kInf},
        {"-1" + zeros + ".5", -kInf},   {"1000e-402", 0},         {"0.0001e400", kInf},
        {"0." + zeros + "1e800", kInf},
    };
    for (const auto& [text, value] : far)
        EXPECT_DOUBLE_EQ(leadingNumber(text), value) << text.size() << " characters";
}

TEST(Count16, RoundsHalfToEvenAndHoldsNumbersBeyondTheRangeAtItsEnds) {
    const std::tuple<const char*, int, bool> cases[] = {
        {"abc", 0, false},           {"2.5", 2, false},          {"3.5", 4, false},
        {"-2.5", -2, false},         {"0.5", 0, false},          {"2.51", 3, false},
        {"32767.4", 32767, false},   {"32767.5", 32767, true},   {"32768", 32767, true},
        {"-32768.5", -32768, false}, {"-32768.6", -32768, true}, {"-99999", -32768, true},
        {"1e400", 32767, true},      {"-1d400", -32768, true},   {"1e-400", 0, false},
    };
    for (const auto& [text, value, outOfRange] : cases) {
        const Count16 count = count16FromText(text);
        EXPECT_EQ(std::pair(int{count.value}, count.outOfRange), std::pair(value, outOfRange))
            << text;
    }
}

TEST(Count16, DecrementHoldsAtTheLowestValue) {
    for (const auto& [before, after] :
         {std::pair{32767, 32766}, {0, -1}, {-32767, -32768}, {-32768, -32768}})
        EXPECT_EQ(decrementCount16(static_cast<std::int16_t>(before)), after) << before;
}

std::string carried(int track) {
    std::string characters;
    for (int code = 0; code < 256; ++code)
        if (trackCarries(track, static_cast<char>(code)))
            characters.push_back(static_cast<char>(code));
    return characters;
}

TEST(Tracks, EachTrackCarriesItsOwnCharactersOnly) {
    EXPECT_EQ(carried(1), " !\"#$&'()*+,-./0123456789:;<=>@ABCDEFGHIJKLMNOPQRSTUVWXYZ[\\]^_");
    EXPECT_EQ(carried(2), "'0123456789:<=>");
    EXPECT_EQ(carried(3), "'0123456789:<=>");
}

} // namespace
} // namespace dornal
