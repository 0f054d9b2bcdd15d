#include "bench_fixture.h"
#include "reader/commands.h"

#include <gtest/gtest.h>

namespace dornal {
namespace {

struct Link {
    FakeSerialPort port;
    SharedValues shared;
    ReaderLink link{port, shared};
    Link() {
        port.sio_open(3);
        shared.PortNumber = 3;
    }
};

struct CommandCase {
    Command command;
    const char* bytes;
    bool setsLastCmdRead;
};

TEST(Commands, EachSendsItsBytesInOneWriteAfterTheDrain) {
    const CommandCase cases[] = {
        {Command::ReadT1, "\x1b ", true},
        {Command::ReadT2, "\x1b]", true},
        {Command::ReadT12, "\x1b#", true},
        {Command::ReadT3, "\x1bT]", true},
        {Command::ReadT123, "\x1b\"", true},
        {Command::ReadT23,
         "\x1b"
         "B]",
         true},
        {Command::Abandon,
         "\x1b"
         "0",
         false},
        {Command::ReadyCheck,
         "\x1b"
         "e",
         false},
        {Command::ResetReader,
         "\x1b"
         "a",
         false},
        {Command::SetCharSetIbm1, "\x1b'", false},
        {Command::SetCharSetIbm2, "\x1bO", false},
        {Command::SetCharSetIbm3, "\x1bN", false},
        {Command::SetCharSetIso, "\x1b=", false},
        {Command::SetItrip13, "\x1b*", false},
        {Command::SetItrip23, "\x1b+", false},
        {Command::SetItrip33, "\x1b,", false},
    };
    for (const auto& c : cases) {
        for (Flag16 before : {kFalse, kTrue}) {
            Link l;
            l.shared.LastCmdRead = before;
            l.port.clearRecord();
            send(l.link, c.command);
            EXPECT_EQ(l.port.sentText(), c.bytes);
            ASSERT_EQ(l.port.writes.size(), 1u) << c.bytes;
            EXPECT_EQ(l.port.calls, (std::vector<std::string>{"read 16"}));
            EXPECT_EQ(l.shared.LastCmdRead, c.setsLastCmdRead ? kTrue : before) << c.bytes;
        }
    }
}

TEST(Commands, ReadCommandFollowsTheTrackMask) {
    const std::optional<Command> expected[] = {
        std::nullopt,    Command::ReadT1,   Command::ReadT2,  Command::ReadT12,
        Command::ReadT3, Command::ReadT123, Command::ReadT23, Command::ReadT123};
    for (int mask = 0; mask <= 7; ++mask)
        EXPECT_EQ(readCommandFor(mask), expected[mask]) << mask;
    EXPECT_EQ(readCommandFor(8), std::nullopt);
    EXPECT_EQ(charSetCommandFor(4), std::nullopt);
    EXPECT_EQ(itripCommandFor(-1), std::nullopt);
}

TEST(PurgeInput, TakesAtMostSixteenStaleBytesInOneRead) {
    Link l;
    l.port.feed(std::string(20, 'x'));
    PurgeInput(l.link, 3);
    EXPECT_EQ(l.port.waiting(), 4u);
    EXPECT_EQ(l.port.elapsedMs, 0); // sixteen bytes were there: no waiting

    PurgeInput(l.link, 3);
    EXPECT_EQ(l.port.waiting(), 0u);
    EXPECT_EQ(l.port.elapsedMs, 100); // fewer than sixteen: the read time-out runs out
}

TEST(Commands, ToAPortThatIsNotOpenSendNothing) {
    FakeSerialPort port;
    SharedValues shared;
    ReaderLink link{port, shared};
    ResetReader(link);
    ReadT2(link);
    EXPECT_TRUE(port.sent.empty());
    EXPECT_EQ(shared.LastCmdRead, kTrue); // the flag follows the command, not the line
}

} // namespace
} // namespace dornal
