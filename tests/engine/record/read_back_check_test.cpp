// The read-back check: which characters of a track read back differ from what the card holds.
#include "engine/record/card_content.h"
#include "engine/record/read_back_check.h"

#include <gtest/gtest.h>

namespace dornal::record {
namespace {

TEST(ReadBackCheck, SaysWhereTheDataReadBackDiffer) {
    const struct {
        const char* name;
        std::string expected;
        std::string read;
        std::vector<std::size_t> differing;
        std::size_t missing;
        std::size_t extra;
    } table[] = {
        {"agree", "1234567890", "1234567890", {}, 0, 0},
        {"both empty", "", "", {}, 0, 0},
        {"one character differs", "1234567890", "1234567990", {7}, 0, 0},
        {"first and last differ", "ABC", "xBy", {0, 2}, 0, 0},
        {"shorter", "1234567890", "12345", {}, 5, 0},
        {"longer", "12345", "1234567", {}, 0, 2},
        {"empty read where data were written", "!\"#$&'()", "", {}, 8, 0},
        {"read where nothing was written", "", "12", {}, 0, 2},
        {"shorter and different", "1234", "1x", {1}, 2, 0},
        {"bytes above 127", "\xe9\x01", "\xe8\x01", {0}, 0, 0},
    };
    for (const auto& row : table) {
        const ReadBackCheck check = checkReadBack(row.expected, row.read);
        EXPECT_EQ(check.differing, row.differing) << row.name;
        EXPECT_EQ(check.missingTail, row.missing) << row.name;
        EXPECT_EQ(check.extraTail, row.extra) << row.name;
        const bool agrees = row.differing.empty() && row.missing == 0 && row.extra == 0;
        EXPECT_EQ(check.agrees(), agrees) << row.name;
    }
}

// What each track should hold after a sequence of write outcomes: the last done write's data,
// unknown before any and after a failure until the next done write; tracks do not mix.
TEST(CardContent, KnowsTheLastWriteDoneUntilAWriteFails) {
    CardContent card;
    for (int track = 0; track <= 4; ++track) {
        EXPECT_FALSE(card.expected(track)) << track;
    }
    card.writeDone(2, "1234");
    card.writeDone(3, "");
    EXPECT_EQ(card.expected(2), "1234");
    EXPECT_EQ(card.expected(3), "");
    EXPECT_FALSE(card.expected(1));
    card.writeDone(2, "12345");
    EXPECT_EQ(card.expected(2), "12345");
    card.writeFailed(2);
    EXPECT_FALSE(card.expected(2));
    EXPECT_EQ(card.expected(3), "");
    card.writeFailed(1);
    EXPECT_FALSE(card.expected(1));
    card.writeDone(2, "9");
    EXPECT_EQ(card.expected(2), "9");
    card.writeDone(0, "x");
    card.writeDone(4, "x");
    card.writeFailed(4);
    EXPECT_EQ(card.expected(2), "9");
}

} // namespace
} // namespace dornal::record
