// A reader that misreads (--corrupt-every): which character changes, and that the answer
// stays one the bench decodes as before.
#include "corruption.h"
#include "reader_model.h"
#include "reader_script.h"

#include "shared/tracks.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace dornal::sim {
namespace {

using namespace testing;

TEST(ChangedCharacter, TakesTheNextCharacterOfTheTrack) {
    const struct {
        int track;
        char from;
        char to;
    } table[] = {
        {2, '0', '1'}, {2, '8', '9'}, {2, '9', '0'}, {3, '=', '0'}, {3, '\'', '0'},
        {1, ' ', '!'}, {1, '@', 'B'}, {1, '_', ' '}, {1, '&', '"'}, {1, 'x', ' '},
    };
    for (const auto& row : table) {
        EXPECT_EQ(changedCharacter(row.track, row.from), row.to)
            << "track " << row.track << " '" << row.from << "'";
    }
}

// For every byte, on every track: the new character differs, the track carries it, and it
// neither ends the track's data in a read answer nor ends the answer; on track 2 it still
// opens the segment (a byte from "0" to "?").
TEST(ChangedCharacter, KeepsEveryReadAnswerWellFormed) {
    const std::string stops[] = {"\x7f?", "~A?\x7f", "~?\x7f"};
    for (int track = 1; track <= 3; ++track) {
        for (int code = 0; code < 256; ++code) {
            const char from = static_cast<char>(code);
            const char to = changedCharacter(track, from);
            EXPECT_NE(to, from) << track << " " << code;
            EXPECT_TRUE(trackCarries(track, to)) << track << " " << code;
            EXPECT_EQ(stops[trackIndex(track)].find(to), std::string::npos) << track << " " << code;
            EXPECT_NE(to, 'A') << track << " " << code;
            if (track == 2) {
                EXPECT_TRUE(to >= '0' && to <= '?') << code;
            }
        }
    }
}

// Every third read answer has one character changed: track 2, then 3, then 1, then track 2
// one position further; the card keeps its data and the tally counts the changed answers.
TEST(ReaderModel, EveryKthReadAnswerComesBackWithOneCharacterChanged) {
    ReaderModel reader({0, "V1.0", 3});
    ASSERT_EQ(answerTo(reader, frame("12A34~AB")), b("^\"0p"));
    const std::string good = b("^s12|A34|~AB|?");
    const std::string expected[] = {
        good, good, b("^s22|A34|~AB|?"), good, good, b("^s12|A44|~AB|?"),
        good, good, b("^s12|A34|~BB|?"), good, good, b("^s13|A34|~AB|?"),
    };
    for (const std::string& answer : expected) {
        EXPECT_EQ(answerTo(reader, b("^\"")), answer);
    }
    EXPECT_EQ(reader.card().track(2), "12");
    EXPECT_EQ(reader.card().track(3), "34");
    EXPECT_EQ(reader.card().track(1), "AB");
    EXPECT_EQ(reader.tally().corrupted, 4u);
    EXPECT_EQ(reader.tally().readsWithData[1], 12u);
}

// Only the tracks asked for and holding data are changed; an answer without data goes out as
// it is and is not counted.
TEST(ReaderModel, ChangesOnlyTracksThatAreReadAndHoldData) {
    ReaderModel reader({0, "V1.0", 1});
    EXPECT_EQ(answerTo(reader, b("^\"")), b("^s|A|~|?"));
    EXPECT_EQ(reader.tally().corrupted, 0u);
    ASSERT_EQ(answerTo(reader, frame("A5")), b("^T0p"));
    EXPECT_EQ(answerTo(reader, b("^\"^\"")), b("^s|A6|~|?^s|A6|~|?"));
    EXPECT_EQ(answerTo(reader, b("^]")), b("^s|?"));
    EXPECT_EQ(reader.tally().corrupted, 2u);
    EXPECT_EQ(tallyLine(reader.tally()).substr(tallyLine(reader.tally()).rfind(" unsent")),
              " unsent 0 corrupted 2");
}

} // namespace
} // namespace dornal::sim
