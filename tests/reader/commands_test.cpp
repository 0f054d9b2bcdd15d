#include "link_fixture.h"
#include "reader/commands.h"

#include <optional>
#include <string_view>
#include <vector>

namespace dornal::testing {
namespace {

using CommandsTest = LinkTest;

// Each command (read ones chosen by their track set, settings in the window's order) drains the
// sixteen stale bytes at once, then leaves whole in one write; only the read commands make the
// next answer a read answer.
TEST_F(CommandsTest, EachLeavesAsEscAndItsBytesInOneWriteAfterTheDrain) {
    using enum CharSet;
    using enum Itrip;
    const auto reading = [](TrackSet tracks) { return readCommandFor(tracks).value(); };
    // clang-format off
    const std::tuple<Command, std::string_view, bool> cases[] = {
        {reading(0b001), "\033 ", true}, {reading(0b010), "\033]", true}, {reading(0b011), "\033#", true},
        {reading(0b100), "\033T]", true}, {reading(0b101), "\033\"", true}, {reading(0b110), "\033B]", true},
        {reading(0b111), "\033\"", true}, {Command::Abandon, "\0330", false}, {Command::ReadyCheck, "\033e", false},
        {Command::ResetReader, "\033a", false}, {charSetCommand(Ibm1), "\033'", false},
        {charSetCommand(Ibm2), "\033O", false}, {charSetCommand(Ibm3), "\033N", false},
        {charSetCommand(Iso), "\033=", false}, {itripCommand(OneThird), "\033*", false},
        {itripCommand(TwoThirds), "\033+", false}, {itripCommand(Full), "\033,", false}};
    // clang-format on
    for (const auto& [command, bytes, read] : cases) {
        for (bool before : {false, true}) {
            line.clearRecord(), line.feed(std::string(16, 'x'));
            link.expectRead(before), link.send(command);
            EXPECT_EQ((std::tuple{line.writes, line.pending(), link.expectingRead()}),
                      (std::tuple{std::vector{std::string(bytes)}, 0u, before || read}));
        }
    }
    EXPECT_FALSE(readCommandFor(0) || readCommandFor(8)) << "no read command for these sets";
    EXPECT_EQ(line.clockMs, 0) << "sixteen stale bytes were there: the drain did not wait";
    link.send(Command::Abandon);
    EXPECT_EQ(line.clockMs, 100) << "none was there: the drain waited its bound";
}

} // namespace
} // namespace dornal::testing
