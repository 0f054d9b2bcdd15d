#include "reader/firmware_query.h"
#include "reader/timing.h"
#include "reader_test_support.h"

#include <gtest/gtest.h>

namespace dornal {
namespace {

using testing::ConnectedBench;

// A firmware answer frame: two header bytes, the payload length, the payload, a closing byte.
std::string frame(const std::string& payload) {
    return std::string("\x02\x01") + static_cast<char>(payload.size()) + payload + "\x03";
}

std::string payloadOf(int length) {
    std::string payload;
    for (int i = 0; i < length; ++i)
        payload.push_back(static_cast<char>(i));
    return payload;
}

// The reader answers the query, in the given chunks, once the query has gone out.
struct FirmwareBench : ConnectedBench {
    explicit FirmwareBench(std::vector<std::string> chunks) {
        port.onWrite = [this, chunks](const std::vector<std::uint8_t>& bytes) {
            sentQuery.assign(bytes.begin(), bytes.end());
            elapsedAtQuery = port.elapsedMs;
            for (const auto& chunk : chunks)
                port.feedLater(chunk);
        };
    }
    std::string sentQuery;
    long elapsedAtQuery = -1;
};

TEST(QueryFirmwareVersion, SendsTheTenQueryBytesInOneWriteAfterTheDrain) {
    FirmwareBench b({frame("") + frame("V1.0\r")});
    QueryFirmwareVersion(b.context());
    EXPECT_EQ(b.port.calls, std::vector<std::string>{"read 16"});
    ASSERT_EQ(b.port.writes.size(), 1u);
    EXPECT_EQ(b.sentQuery, std::string("\x42\x00\x06\x1a\x22\x00\x00\x00\x80\xfc", 10));
}

TEST(QueryFirmwareVersion, ShowsTheSecondFrameWithoutItsLastTwoPayloadBytes) {
    const std::string second = frame("V1.0\r");
    // Any first frame, up to the longest, is read completely and then forgotten.
    for (int firstLength : {0, 1, 100, 253, 254, 255}) {
        FirmwareBench b({frame(payloadOf(firstLength)) + second + "Z"});
        QueryFirmwareVersion(b.context());
        EXPECT_EQ(b.form.Text3.text(), "V1.") << firstLength;
        EXPECT_EQ(b.port.waiting(), 1u) << "only the byte behind the answer is left";
    }
}

TEST(QueryFirmwareVersion, ShortPayloadEmptiesTheVersion) {
    for (const char* payload : {"", "\x01", "V1"}) {
        FirmwareBench b({frame("") + frame(payload)});
        b.form.Text3.setText("old");
        QueryFirmwareVersion(b.context());
        EXPECT_EQ(b.form.Text3.text(), "") << payload;
    }
}

TEST(QueryFirmwareVersion, LongestPayloadKeepsEveryByteAsLatin1) {
    const std::string payload = payloadOf(255);
    FirmwareBench b({frame("x") + frame(payload) + "Z"});
    QueryFirmwareVersion(b.context());
    EXPECT_EQ(b.form.Text3.text(), payload.substr(0, 253));
    EXPECT_EQ(b.port.waiting(), 1u);
}

TEST(QueryFirmwareVersion, BytesArrivingOneByOneGiveTheSameVersion) {
    const std::string answer = frame("ab") + frame("V2.1\xe9xy");
    std::vector<std::string> chunks;
    for (char c : answer)
        chunks.emplace_back(1, c);
    FirmwareBench b(chunks);
    b.shared.LastCmdRead = kTrue;
    QueryFirmwareVersion(b.context());
    EXPECT_EQ(b.form.Text3.text(), "V2.1\xe9");
    EXPECT_EQ(b.port.elapsedMs, b.elapsedAtQuery) << "no wait ran out";
    EXPECT_EQ(b.shared.LastCmdRead, kTrue);
}

TEST(QueryFirmwareVersion, SilentOrCutAnswerEndsAfterTheBoundAndSaysSo) {
    const std::string full = frame("ab") + frame("V1.0\r");
    for (std::size_t cut : {std::size_t{0}, std::size_t{3}, full.size() - 1}) {
        FirmwareBench b(cut == 0 ? std::vector<std::string>{} : std::vector{full.substr(0, cut)});
        b.form.Text3.setText("old");
        QueryFirmwareVersion(b.context());
        EXPECT_EQ(b.form.Text3.text(), kFirmwareTimeoutText) << cut;
        EXPECT_EQ(b.port.elapsedMs - b.elapsedAtQuery, timing::kAnswerTimeoutMs) << cut;
    }
}

TEST(QueryFirmwareVersion, PortErrorIsShownAtOnce) {
    ConnectedBench b;
    b.port.onWrite = [&b](const std::vector<std::uint8_t>&) { b.port.failPort(); };
    QueryFirmwareVersion(b.context());
    EXPECT_EQ(b.form.Text3.text(), kFirmwarePortErrorText);
    EXPECT_EQ(b.port.elapsedMs, timing::kReadTotalTimeoutMs) << "only the drain took time";
}

} // namespace
} // namespace dornal
