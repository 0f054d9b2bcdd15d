#include "reader/firmware_query.h"
#include "reader/timing.h"
#include "reader_test_support.h"

#include <gtest/gtest.h>

namespace dornal {
namespace {

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
struct FirmwareBench : testing::ConnectedBench {
    explicit FirmwareBench(std::vector<std::string> chunks) {
        form.Text3.setText("old");
        shared.LastCmdRead = kTrue; // the query leaves it alone
        port.onWrite = [this, chunks](const std::vector<std::uint8_t>& bytes) {
            sentQuery.assign(bytes.begin(), bytes.end());
            elapsedAtQuery = port.elapsedMs;
            for (const auto& chunk : chunks)
                port.feedLater(chunk);
        };
        QueryFirmwareVersion(context());
    }
    std::string sentQuery;
    long elapsedAtQuery = -1;
};

TEST(QueryFirmwareVersion, ShowsTheSecondFrameWithoutItsLastTwoPayloadBytes) {
    const struct {
        int firstLength; // any first frame is read completely and then forgotten
        std::string second, version;
    } cases[] = {
        {0, "V1.0\r", "V1."},
        {1, "V1.0\r", "V1."},
        {253, "V1.0\r", "V1."},
        {255, "V1.0\r", "V1."},
        {0, "", ""},
        {0, "V1", ""},
        {1, payloadOf(255), payloadOf(253)}, // every byte kept, as Latin-1
    };
    for (const auto& c : cases) {
        FirmwareBench b({frame(payloadOf(c.firstLength)) + frame(c.second) + "Z"});
        EXPECT_EQ(b.form.Text3.text(), c.version) << c.firstLength << " " << c.second.size();
        EXPECT_EQ(b.port.waiting(), 1u) << "only the byte behind the answer is left";
    }
}

TEST(QueryFirmwareVersion, SendsTheQueryInOneWriteAndTakesAnAnswerArrivingByteByByte) {
    std::vector<std::string> chunks;
    for (char c : frame("ab") + frame("V2.1\xe9xy"))
        chunks.emplace_back(1, c);
    FirmwareBench b(chunks);
    EXPECT_EQ(b.port.calls, std::vector<std::string>{"read 16"}); // the drain, then one write
    EXPECT_EQ(b.port.writes.size(), 1u);
    EXPECT_EQ(b.sentQuery, std::string("\x42\x00\x06\x1a\x22\x00\x00\x00\x80\xfc", 10));
    EXPECT_EQ(b.form.Text3.text(), "V2.1\xe9");
    EXPECT_EQ(b.port.elapsedMs, b.elapsedAtQuery) << "no wait ran out";
    EXPECT_EQ(b.shared.LastCmdRead, kTrue);
}

TEST(QueryFirmwareVersion, SilentOrCutAnswerEndsAfterTheBoundAndSaysSo) {
    const std::string full = frame("ab") + frame("V1.0\r");
    for (std::size_t cut : {std::size_t{0}, std::size_t{3}, full.size() - 1}) {
        FirmwareBench b(cut == 0 ? std::vector<std::string>{} : std::vector{full.substr(0, cut)});
        EXPECT_EQ(b.form.Text3.text(), kFirmwareTimeoutText) << cut;
        EXPECT_EQ(b.port.elapsedMs - b.elapsedAtQuery, timing::kAnswerTimeoutMs) << cut;
    }
}

TEST(QueryFirmwareVersion, PortErrorIsShownAtOnce) {
    testing::ConnectedBench b;
    b.port.onWrite = [&b](const std::vector<std::uint8_t>&) { b.port.failPort(); };
    QueryFirmwareVersion(b.context());
    EXPECT_EQ(b.form.Text3.text(), kFirmwarePortErrorText);
    EXPECT_EQ(b.port.elapsedMs, timing::kReadTotalTimeoutMs) << "only the drain took time";
}

} // namespace
} // namespace dornal
