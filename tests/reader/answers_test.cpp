#include "reader/answers.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <tuple>

namespace dornal {
namespace {

AnswerBuffer answerOf(std::string_view bytes) {
    AnswerBuffer answer;
    for (char byte : bytes)
        answer.append(static_cast<std::uint8_t>(byte));
    return answer;
}

// The segments of a read answer in order: the track, then "[data]", or "-" for an end mark.
std::string segmentsOf(const ReadAnswer& answer) {
    std::string text = answer.valid ? "" : "invalid";
    for (const ReadSegment& s : answer.segments)
        text += std::to_string(s.track) + (s.hasData ? "[" + s.data + "]" : "-");
    return text;
}

TEST(WriteAnswer, ReportsTheTracksOfItsCodeWhenItsResultSaysWrittenAndShowsItInHex) {
    // clang-format off
    const std::tuple<std::string_view, TrackSet, std::string_view> cases[] = {
        {"rp", 0b010, "1B 72 70- 0"}, {"rq", 0, "1B 72 71- 0"}, {"T0p", 0b100, "1B 54 30 70- 0"},
        {"Tp", 0, "1B 54 70- 0"}, {"B0p", 0b110, "1B 42 30 70- 0"}, {" 0p", 0b001, "1B 20 30 70- 0"},
        {"!0p", 0b011, "1B 21 30 70- 0"}, {"\"0p", 0b111, "1B 22 30 70- 0"}, {"\"pq", 0, "1B 22 70 71- 0"},
        {"X0p", 0, "1B 58 30 70- 0"}, {"r\200p", 0, "1B 72- 0"}, {"T\177p", 0b100, "1B 54 7F 70- 0"},
        {"\037Tp", 0, "1B- 0"}, {"", 0, "1B- 0"}, {"T p", 0b100, "1B 54 20 70- 0"}};
    // clang-format on
    for (const auto& [bytes, tracks, status] : cases) {
        const WriteAnswer answer = decodeWriteAnswer(answerOf(bytes));
        EXPECT_EQ((std::pair{answer.written, std::string_view(answer.status)}),
                  (std::pair{tracks, status}));
    }
}

// A byte before "0" or after "?" opens no track 2 segment; track 1 data may hold "A"; whatever
// follows the last segment is ignored; a cut answer ends behind the stored bytes.
TEST(ReadAnswer, GivesTheSegmentsInTheirOrderTwoThreeOne) {
    // clang-format off
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"s12\177A\177~AB\177?", "2[12]3-1[AB]"}, {"s12A34~AB?", "2[12]3[34]1[AB]"},
        {"s?", "2[]"}, {"s\177?", "2-"}, {"s0?", "2[0]"}, {"s/1?", ""}, {"s@1?", ""},
        {"sA12?", "3[12]"}, {"sA3\177~4?", "3[3]1[4]"}, {"sA3~4?", "3[3]1[4]"},
        {"s12~1A2?", "2[12]1[1A2]"}, {"s~%A?", "1[%A]"}, {"s~A\17799?", "1[A]"},
        {"s12", "2[12]"}, {"sx~A?", ""}, {"t12~AB?", "invalid"}, {"", "invalid"}};
    // clang-format on
    for (const auto& [bytes, segments] : cases)
        EXPECT_EQ(segmentsOf(decodeReadAnswer(answerOf(bytes))), segments) << bytes;
    EXPECT_EQ(answerOf("s").at(AnswerBuffer::kSize), 0) << "behind the buffer";
}

} // namespace
} // namespace dornal
