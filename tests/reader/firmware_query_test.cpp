#include "link_fixture.h"

#include <numeric>
#include <string>
#include <tuple>

namespace dornal::testing {
namespace {

using FirmwareTest = LinkTest;

// An answer frame: two header bytes, the payload length, the payload, a closing byte.
std::string frame(const std::string& payload) {
    return "\2\1" + std::string(1, static_cast<char>(payload.size())) + payload + "\3";
}

TEST_F(FirmwareTest, TheVersionIsTheSecondFrameWithoutItsLastTwoPayloadBytes) {
    std::string every(255, '\0'); // every byte value but 255, kept as Latin-1
    std::iota(every.begin(), every.end(), '\0');
    const std::tuple<std::string, std::string, std::string> cases[] = {
        {"", "V1.0\r", "V1."},
        {"a", "V1.0\r", "V1."},
        {every, "V1.0\r", "V1."},
        {"", "", ""},
        {"", "V", ""},
        {"", "V1", ""},
        {"ab", every, every.substr(0, 253)},
    };
    for (const auto& [first, second, version] : cases) {
        line.clearRecord();
        line.onWrite = [&](std::string_view) {
            line.feedLater(frame(first) + frame(second) + "Z");
        };
        const FirmwareReply reply = link.queryFirmware();
        EXPECT_EQ(line.writes, (std::vector{std::string("\102\0\6\32\42\0\0\0\200\374", 10)}));
        EXPECT_EQ(reply.outcome, Outcome::Complete);
        EXPECT_EQ(reply.version, version);
        EXPECT_EQ(line.pending(), 1u) << "only the byte behind the answer is left";
    }
}

TEST_F(FirmwareTest, ACutAnswerTimesOutAndAFailedPortEndsAtOnceBothWithoutAVersion) {
    const std::string whole = frame("ab") + frame("V1.0\r");
    for (std::size_t cut : {std::size_t{0}, std::size_t{3}, std::size_t{7}, whole.size() - 1}) {
        line.clockMs = 0;
        line.onWrite = [&](std::string_view) { line.feedLater(whole.substr(0, cut)); };
        const FirmwareReply reply = link.queryFirmware();
        EXPECT_EQ(reply.outcome, Outcome::TimedOut) << cut;
        EXPECT_EQ(reply.version, "");
        EXPECT_EQ(line.clockMs, 100 + 2000) << "the drain, then one pause bound";
    }
    line.onWrite = [&](std::string_view) { line.failPort(); };
    const FirmwareReply failed = link.queryFirmware();
    EXPECT_EQ(failed.outcome, Outcome::PortError);
    EXPECT_EQ(failed.version, "");
}

} // namespace
} // namespace dornal::testing
