#include "link_fixture.h"
#include "reader/commands.h"

#include <optional>
#include <string_view>
#include <tuple>
#include <vector>

namespace dornal::testing {
namespace {

using CommandsTest = LinkTest;

// Each command drains the sixteen stale bytes at once, then leaves whole in one write; only
// the read commands make the next answer a read answer.
TEST_F(CommandsTest, EachLeavesAsEscAndItsBytesInOneWriteAfterTheDrain) {
    const std::tuple<Command, std::string_view, bool> cases[] = {
        {Command::ReadT1, "\033 ", true},          {Command::ReadT2, "\033]", true},
        {Command::ReadT12, "\033#", true},         {Command::ReadT3, "\033T]", true},
        {Command::ReadT123, "\033\"", true},       {Command::ReadT23, "\033B]", true},
        {Command::Abandon, "\0330", false},        {Command::ReadyCheck, "\033e", false},
        {Command::ResetReader, "\033a", false},    {Command::SetCharSetIbm1, "\033'", false},
        {Command::SetCharSetIbm2, "\033O", false}, {Command::SetCharSetIbm3, "\033N", false},
        {Command::SetCharSetIso, "\033=", false},  {Command::SetItrip13, "\033*", false},
        {Command::SetItrip23, "\033+", false},     {Command::SetItrip33, "\033,", false},
    };
    for (const auto& [command, bytes, read] : cases) {
        for (bool before : {false, true}) {
            line.clearRecord();
            line.feed(std::string(16, 'x'));
            link.expectRead(before);
            link.send(command);
            EXPECT_EQ(line.writes, std::vector<std::string>{std::string(bytes)});
            EXPECT_EQ(line.pending(), 0u) << bytes;
            EXPECT_EQ(link.expectingRead(), before || read) << bytes;
        }
    }
    EXPECT_EQ(line.clockMs, 0) << "sixteen stale bytes were there: the drain did not wait";
    link.send(Command::Abandon);
    EXPECT_EQ(line.clockMs, 100) << "none was there: the drain waited its bound";
}

TEST(Commands, ReadCommandFollowsTheTrackSetAndSettingsFollowTheWindowOrder) {
    const std::optional<Command> expected[] = {
        std::nullopt,      Command::ReadT1,  Command::ReadT2,   Command::ReadT12, Command::ReadT3,
        Command::ReadT123, Command::ReadT23, Command::ReadT123, std::nullopt};
    for (TrackSet tracks = 0; tracks <= 8; ++tracks)
        EXPECT_EQ(readCommandFor(tracks), expected[tracks]) << int{tracks};
    EXPECT_EQ(charSetCommand(CharSet::Ibm1), Command::SetCharSetIbm1);
    EXPECT_EQ(charSetCommand(CharSet::Ibm2), Command::SetCharSetIbm2);
    EXPECT_EQ(charSetCommand(CharSet::Ibm3), Command::SetCharSetIbm3);
    EXPECT_EQ(charSetCommand(CharSet::Iso), Command::SetCharSetIso);
    EXPECT_EQ(itripCommand(Itrip::OneThird), Command::SetItrip13);
    EXPECT_EQ(itripCommand(Itrip::TwoThirds), Command::SetItrip23);
    EXPECT_EQ(itripCommand(Itrip::Full), Command::SetItrip33);
}

} // namespace
} // namespace dornal::testing
