#include "answers.h"
#include "shared/protocol.h"
#include "reader_model.h"

#include <gtest/gtest.h>

#include <array>
#include <random>
#include <string>
#include <vector>

namespace dornal::sim {
namespace {

using namespace std::string_literals;

const std::string kTrailer = "\x1d\x1b\\\x1bj";
const std::string kQuery("\x42\x00\x06\x1a\x22\x00\x00\x00\x80\xfc", 10);

std::string frame(const std::string& body) {
    return "\x1bt" + body + kTrailer;
}

ReaderModel freshReader(int failEvery = 0) {
    return ReaderModel({failEvery, "V1.0"});
}

std::string joined(const std::vector<Answer>& answers) {
    std::string all;
    for (const Answer& a : answers) {
        all += a.bytes;
    }
    return all;
}

std::string answerTo(ReaderModel& reader, const std::string& bytes) {
    return joined(reader.feed(bytes));
}

struct Exchange {
    const char* name;
    std::string request;
    std::string answer;
};

// Each request on a card holding "12" on track 2, "34" on track 3 and "AB" on track 1.
TEST(ReaderModel, AnswersEveryCommand) {
    const std::vector<Exchange> table = {
        {"read track 1", "\x1b ", "\x1bs~AB\x7f?"},
        {"read track 2", "\x1b]", "\x1bs12\x7f?"},
        {"read tracks 1 and 2", "\x1b#", "\x1bs12\x7f~AB\x7f?"},
        {"read track 3", "\x1bT]", "\x1bsA34\x7f?"},
        {"read all tracks", "\x1b\"",
         "\x1bs12\x7f"
         "A34\x7f~AB\x7f?"},
        {"read tracks 2 and 3",
         "\x1b"
         "B]",
         "\x1bs12\x7f"
         "A34\x7f?"},
        {"ready check",
         "\x1b"
         "e",
         "y"},
        {"abandon",
         "\x1b"
         "0",
         ""},
        {"reset",
         "\x1b"
         "a",
         ""},
        {"IBM 1", "\x1b'", ""},
        {"IBM 2", "\x1bO", ""},
        {"IBM 3", "\x1bN", ""},
        {"ISO", "\x1b=", ""},
        {"Itrip 1/3", "\x1b*", ""},
        {"Itrip 2/3", "\x1b+", ""},
        {"Itrip 3/3", "\x1b,", ""},
        {"unknown escape", "\x1bZ", ""},
    };
    for (const Exchange& e : table) {
        ReaderModel reader = freshReader();
        ASSERT_EQ(answerTo(reader, frame("12A34~AB")), "\x1b\"0p");
        EXPECT_EQ(answerTo(reader, e.request), e.answer) << e.name;
    }
}

TEST(ReaderModel, EmptyTracksReadAsMarkerAndEnd) {
    ReaderModel reader = freshReader();
    EXPECT_EQ(answerTo(reader, "\x1b\""), "\x1bs\x7f"
                                          "A\x7f~\x7f?");
    EXPECT_EQ(answerTo(reader, "\x1b]"), "\x1bs\x7f?");
}

// What each combination of tracks in a frame is answered with, and what the card then holds.
TEST(ReaderModel, WriteAnswersNameTheTracksWritten) {
    struct Case {
        const char* name;
        std::string body;
        std::string answer;
        std::array<std::string, 3> card;   // tracks 1..3 after the write, on "a"/"bb"/"ccc"
        std::array<std::uint64_t, 3> done; // writes done per track, the first one included
    };
    const std::vector<Case> table = {
        {"track 2", "12", "\x1brp", {"a", "12", "ccc"}, {1, 2, 1}},
        {"track 3", "A34", "\x1bT0p", {"a", "bb", "34"}, {1, 1, 2}},
        {"tracks 2 and 3",
         "12A34",
         "\x1b"
         "B0p",
         {"a", "12", "34"},
         {1, 2, 2}},
        {"track 1", "~AB", "\x1b 0p", {"AB", "bb", "ccc"}, {2, 1, 1}},
        {"tracks 1 and 2", "12~AB", "\x1b!0p", {"AB", "12", "ccc"}, {2, 2, 1}},
        {"all tracks", "12A34~AB", "\x1b\"0p", {"AB", "12", "34"}, {2, 2, 2}},
        {"tracks 1 and 3 write an empty track 2",
         "A34~AB",
         "\x1b\"0p",
         {"AB", "", "34"},
         {2, 2, 2}},
        {"no track writes an empty track 2", "", "\x1brp", {"a", "", "ccc"}, {1, 2, 1}},
        {"empty track 3 erases it", "A", "\x1bT0p", {"a", "bb", ""}, {1, 1, 2}},
        {"track 1 may hold the markers", "~A~B", "\x1b 0p", {"A~B", "bb", "ccc"}, {2, 1, 1}},
    };
    for (const Case& c : table) {
        ReaderModel reader = freshReader();
        ASSERT_EQ(answerTo(reader, frame("bbAccc~a")), "\x1b\"0p");
        EXPECT_EQ(answerTo(reader, frame(c.body)), c.answer) << c.name;
        EXPECT_EQ(reader.card().tracks, c.card) << c.name;
        EXPECT_EQ(reader.tally().writesDone, c.done) << c.name;
    }
}

TEST(ReaderModel, EveryKthWriteFailsAndKeepsTheCard) {
    ReaderModel reader = freshReader(3);
    EXPECT_EQ(answerTo(reader, frame("11")), "\x1brp");
    EXPECT_EQ(answerTo(reader, frame("22")), "\x1brp");
    EXPECT_EQ(answerTo(reader, frame("33~X")), "\x1b!0q");
    EXPECT_EQ(answerTo(reader, "\x1b#"), "\x1bs22\x7f~\x7f?");
    EXPECT_EQ(answerTo(reader, frame("44")), "\x1brp");
    EXPECT_EQ(answerTo(reader, frame("55")), "\x1brp");
    EXPECT_EQ(answerTo(reader, frame("66")), "\x1brq");
    EXPECT_EQ(reader.card().track(2), "55");
    EXPECT_EQ(tallyLine(reader.tally()), "tally: writes-done 1=0 2=4 3=0 reads-with-data 1=0 2=1 "
                                         "3=0 write-answers 6 failed-writes 2 read-answers 1 "
                                         "ready 0 firmware 0 spoiled 0 unsent 0");
}

TEST(ReaderModel, FirmwareAnswerIsTwoLengthPrefixedFrames) {
    ReaderModel reader = freshReader();
    const std::string answer = answerTo(reader, kQuery);
    ASSERT_GE(answer.size(), 4u);
    const std::size_t first = 3 + static_cast<unsigned char>(answer[2]) + 1;
    ASSERT_LT(first + 3, answer.size());
    const std::string second = answer.substr(first);
    const std::size_t length = static_cast<unsigned char>(second[2]);
    ASSERT_EQ(second.size(), 3 + length + 1);
    EXPECT_EQ(second.substr(3, length), "V1.0\r\n");
    // Both frames close with the byte that brings their sum to 0 mod 256, as the query does.
    for (const std::string& f : {answer.substr(0, first), second}) {
        unsigned sum = 0;
        for (char c : f) {
            sum += static_cast<unsigned char>(c);
        }
        EXPECT_EQ(sum % 256, 0u);
    }
}

TEST(ReaderModel, LongestVersionTextStillFitsTheBenchBuffer) {
    const std::string answer = firmwareAnswer(std::string(400, 'V'));
    const std::size_t first = 3 + static_cast<unsigned char>(answer[2]) + 1;
    EXPECT_EQ(static_cast<unsigned char>(answer[first + 2]), 253);
}

TEST(ReaderModel, ByteByByteGivesTheSameAnswers) {
    const std::string session = "\x1b+" + frame("12A34~AB") +
                                "\x1b"
                                "e" +
                                kQuery + "\x1bT]" +
                                "\x1b"
                                "0" +
                                "\x1b\"";
    ReaderModel whole = freshReader();
    const std::vector<Answer> expected = whole.feed(session);
    ASSERT_EQ(expected.size(), 5u);
    EXPECT_EQ(tallyLine(whole.tally()), "tally: writes-done 1=1 2=1 3=1 reads-with-data 1=1 2=1 "
                                        "3=2 write-answers 1 failed-writes 0 read-answers 2 "
                                        "ready 1 firmware 1 spoiled 0 unsent 0");
    for (std::size_t chunk : {1u, 2u, 3u, 7u}) {
        ReaderModel reader = freshReader();
        std::string got;
        for (std::size_t i = 0; i < session.size(); i += chunk) {
            got += answerTo(reader, session.substr(i, chunk));
        }
        EXPECT_EQ(got, joined(expected)) << "chunks of " << chunk;
    }
}

TEST(ReaderModel, GarbageBeforeARequestIsSkipped) {
    const std::vector<Exchange> table = {
        {"plain bytes", "xyz\x7f\xff", "y"},
        {"lone ESC", "\x1b", "y"},
        {"unknown escape", "\x1bQ", "y"},
        {"first byte of a two-byte command", "\x1bT", "y"},
        {"begun frame", "\x1bt12A3", "y"},
        {"frame cut inside the trailer", "\x1bt12\x1d\x1b\\", "y"},
        {"begun firmware query", kQuery.substr(0, 6), "y"},
        {"query start inside an escape",
         "\x1b"
         "B",
         "y"},
    };
    for (const Exchange& e : table) {
        ReaderModel reader = freshReader();
        EXPECT_EQ(answerTo(reader, e.request + "\x1b"
                                               "e"),
                  e.answer)
            << e.name;
        EXPECT_EQ(reader.card().track(2), "") << e.name;
    }
}

TEST(ReaderModel, RequestsHiddenBehindBrokenOnesAreFound) {
    ReaderModel reader = freshReader();
    EXPECT_EQ(answerTo(reader, "\x1b" + kQuery).substr(0, 2), kQuery.substr(0, 2));
    EXPECT_EQ(answerTo(reader, "BB" + kQuery).substr(0, 2), kQuery.substr(0, 2));
    EXPECT_EQ(answerTo(reader, "\x1bt12\x1d" + frame("34")), "\x1brp");
    EXPECT_EQ(reader.card().track(2), "34");
}

TEST(ReaderModel, OverlongFrameIsDroppedWithoutAnswer) {
    ReaderModel reader = freshReader();
    EXPECT_EQ(answerTo(reader, frame(std::string(CommandParser::kMaxFrameBody + 1, '5'))), "");
    EXPECT_EQ(answerTo(reader, frame(std::string(CommandParser::kMaxFrameBody, '5'))), "\x1brp");
}

TEST(ReaderModel, ClosedLineForgetsTheRequestBegun) {
    ReaderModel reader = freshReader();
    reader.feed("\x1bt12");
    reader.lineClosed();
    EXPECT_EQ(answerTo(reader, "A3" + kTrailer + "\x1b]"), "\x1bs\x7f?");
}

// Random input never breaks the reader: afterwards a ready check is still answered.
TEST(ReaderModel, RandomInputNeverSticks) {
    std::mt19937 random(1234);
    const std::string alphabet = "\x1b\x1d\\jtTB]e0A~ \"#12\x42\x00\x06\x1a\x22\x80\xfcp"s;
    for (int round = 0; round < 300; ++round) {
        ReaderModel reader = freshReader(2);
        std::string input;
        const int length = static_cast<int>(random() % 200);
        for (int i = 0; i < length; ++i) {
            input.push_back(random() % 4 == 0 ? static_cast<char>(random() % 256)
                                              : alphabet[random() % alphabet.size()]);
        }
        const std::vector<Answer> answers = reader.feed(input + "\x1b"
                                                                "e");
        ASSERT_FALSE(answers.empty());
        EXPECT_EQ(answers.back().bytes, "y") << "round " << round;
    }
}

} // namespace
} // namespace dornal::sim
