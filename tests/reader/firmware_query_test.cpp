#include "link_fixture.h"

#include <numeric>

namespace dornal::testing {
namespace {

using FirmwareTest = LinkTest;

// An answer frame: two header bytes, the payload length, the payload, a closing byte.
std::string frame(const std::string& payload) {
    return "\2\1" + std::string(1, static_cast<char>(payload.size())) + payload + "\3";
}

// A cut answer times out after the drain and one pause bound; a failed port ends at once.
TEST_F(FirmwareTest, TheVersionIsTheSecondFrameWithoutItsLastTwoPayloadBytes) {
    std::string every(255, '\0'); // every byte value but 255, kept as Latin-1
    std::iota(every.begin(), every.end(), '\0');
    const std::string v = frame("V1.0\r") + "Z", whole = frame("ab") + frame("V1.0\r");
    using enum Outcome;
    // clang-format off
    const std::tuple<std::string, Outcome, std::string, int> cases[] = {
        {frame("") + v, Complete, "V1.", 100}, {frame("a") + v, Complete, "V1.", 100},
        {frame(every) + v, Complete, "V1.", 100}, {frame("") + frame("") + "Z", Complete, "", 100},
        {frame("") + frame("V") + "Z", Complete, "", 100}, {frame("") + frame("V1") + "Z", Complete, "", 100},
        {frame("ab") + frame(every) + "Z", Complete, every.substr(0, 253), 100}, {"", TimedOut, "", 2100},
        {whole.substr(0, 3), TimedOut, "", 2100}, {whole.substr(0, 7), TimedOut, "", 2100},
        {whole.substr(0, whole.size() - 1), TimedOut, "", 2100}};
    // clang-format on
    for (const auto& [answer, outcome, version, ms] : cases) {
        line.clearRecord(), line.clockMs = 0;
        line.onWrite = [&](std::string_view) { line.feedLater(answer); };
        const FirmwareReply reply = link.queryFirmware();
        EXPECT_EQ(line.writes, (std::vector{std::string("\102\0\6\32\42\0\0\0\200\374", 10)}));
        EXPECT_EQ((std::tuple{reply.outcome, reply.version, line.clockMs, line.pending()}),
                  (std::tuple{outcome, version, std::int64_t{ms}, answer.ends_with('Z') ? 1u : 0u}))
            << "left only the byte behind the answer";
    }
    line.onWrite = [&](std::string_view) { line.failPort(); };
    const FirmwareReply failed = link.queryFirmware();
    EXPECT_EQ((std::tuple{failed.outcome, failed.version}), (std::tuple{Outcome::PortError, ""}));
}

} // namespace
} // namespace dornal::testing
