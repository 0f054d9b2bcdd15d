#include "shared/text_number.h"

#include <gtest/gtest.h>

namespace dornal {
namespace {

struct NumberCase {
    const char* text;
    double value;
};

TEST(LeadingNumber, ReadsTheNumberAtTheStartOfATextAndZeroOtherwise) {
    const NumberCase cases[] = {
        {"1", 1},      {"  42abc", 42}, {"-5", -5},  {"+7", 7},      {"2.5", 2.5}, {".5x", 0.5},
        {"1e3", 1000}, {"1D2", 100},    {"3e", 3},   {"abc", 0},     {"", 0},      {"-", 0},
        {"1,5", 1},    {"12 34", 12},   {"0x10", 0}, {"1.2.3", 1.2},
    };
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(leadingNumber(c.text), c.value) << '"' << c.text << '"';
}

struct CountCase {
    const char* text;
    int value;
    bool outOfRange;
};

TEST(Count16, RoundsHalfToEvenAndHoldsOutOfRangeNumbersAtTheEnds) {
    const CountCase cases[] = {
        {"1", 1, false},          {"2.5", 2, false},        {"3.5", 4, false},
        {"-2.5", -2, false},      {"0.5", 0, false},        {"abc", 0, false},
        {"32767", 32767, false},  {"32767.5", 32767, true}, {"-32768", -32768, false},
        {"99999", 32767, true},   {"-99999", -32768, true}, {"1e400", 32767, true},
        {"-1e400", -32768, true}, {"1e-400", 0, false},
    };
    for (const auto& c : cases) {
        const Count16 count = count16FromText(c.text);
        EXPECT_EQ(count.value, c.value) << c.text;
        EXPECT_EQ(count.outOfRange, c.outOfRange) << c.text;
    }
}

TEST(Count16, DecrementStopsAtTheLowestValue) {
    EXPECT_EQ(decrementCount16(0), -1);
    EXPECT_EQ(decrementCount16(-32767), -32768);
    EXPECT_EQ(decrementCount16(-32768), -32768);
}

struct CounterCase {
    const char* text;
    int delta;
    const char* result;
};

TEST(CounterText, CountsExactlyHoweverLargeTheNumberGrows) {
    const CounterCase cases[] = {
        {"0", 1, "1"},
        {"", 1, "1"},
        {"abc", 1, "1"},
        {"9", 1, "10"},
        {"999999999999999", 1, "1000000000000000"},
        {"99999999999999999999999999", 1, "100000000000000000000000000"},
        {"5", -1, "4"},
        {"1", -1, "0"},
        {"0", -1, "-1"},
        {"-1", 1, "0"},
        {"-9", -1, "-10"},
        {"1000", -1, "999"},
        {"007", 1, "8"},
        {"12abc", 1, "13"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(addToCounterText(c.text, c.delta), c.result) << c.text << " + " << c.delta;
}

TEST(CounterText, DigitsRoundAFractionHalfToEven) {
    EXPECT_EQ(counterDigits("2.5"), "2");
    EXPECT_EQ(counterDigits("3.5"), "4");
    EXPECT_EQ(counterDigits("2.51"), "3");
    EXPECT_EQ(counterDigits("9.9"), "10");
    EXPECT_EQ(counterDigits("-0"), "0");
    EXPECT_EQ(counterDigits("x"), "0");
}

TEST(CounterText, RemainderOfAHugeNumberIsExact) {
    EXPECT_EQ(decimalMod("13", 12), 1u);
    EXPECT_EQ(decimalMod("62", 62), 0u);
    // 10^30 mod 62 is 32.
    EXPECT_EQ(decimalMod("1000000000000000000000000000000", 62), 32u);
}

} // namespace
} // namespace dornal
