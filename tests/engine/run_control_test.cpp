#include "engine/status_texts.h"
#include "engine_rig.h"

namespace dornal {
namespace {

using namespace std::string_view_literals;
using namespace testing;
using Locks = std::vector<std::pair<bool, bool>>;

TEST(RunControl, StartAsksForTheFirmwareFirstNeedsATrackAndAModeAndSendsTheFirstCommand) {
    // Whether the firmware is wanted, the reader's two frames (header, length, payload, closing
    // byte), the command the line fails on; then what Start sends and shows.
    const std::tuple<bool, std::string_view, std::string, TrackSet, std::optional<Mode>,
                     const char*, const char*, Texts>
        cases[] = {
            {true, "HH\0CHH\6V1.0xyC"sv, "", 0b010, Mode::SingleWrite, "Q|*|t20", "V1.0", {}},
            {true, "", "", 0, Mode::SingleWrite, "Q", kAnswerTimeoutText, {kSelectTrackMessage}},
            {true, "", "B", 0b010, Mode::SingleWrite, "Q", kPortErrorText, {}},
            {false, "", "", 0b010, std::nullopt, "", "", {}},
            // Read modes read the ticked tracks (1 and 3 with all three) and empty the data.
            {false, "", "", 0b001, Mode::ReadLoop, " ", "", {}},
            {false, "", "", 0b010, Mode::SingleRead, "]", "", {}},
            {false, "", "", 0b011, Mode::ReadLoop, "#", "", {}},
            {false, "", "", 0b100, Mode::SingleRead, "T]", "", {}},
            {false, "", "", 0b101, Mode::ReadLoop, "\"", "", {}},
            {false, "", "", 0b110, Mode::SingleRead, "B]", "", {}},
            {false, "", "", 0b111, Mode::ReadLoop, "\"", "", {}},
        };
    for (const auto& [wanted, reply, failAfter, ticked, mode, sent, firmware, messages] : cases) {
        SCOPED_TRACE(sent);
        Rig r;
        r.panel.wantFirmware = wanted;
        r.panel.ticked = ticked;
        r.panel.rowOf(Row::Data) = {"1", "2", "3"};
        r.reader.firmware = reply;
        r.reader.failAfter = failAfter;
        r.panel.shown.loops = 7;
        r.start(mode);
        EXPECT_EQ(r.trace(), sent);
        EXPECT_EQ(r.panel.firmware, firmware);
        EXPECT_EQ(r.panel.messages, messages);
        const bool running = ticked != 0 && mode;
        const bool reads = mode == Mode::ReadLoop || mode == Mode::SingleRead;
        EXPECT_EQ(r.panel.rowOf(Row::Data) == Boxes{}, reads);
        EXPECT_EQ(std::pair(r.panel.running, r.panel.ticking), std::pair(running, running));
        EXPECT_EQ(r.panel.locks, (Locks(running ? 1 : 0, {true, true})));
        EXPECT_EQ(r.panel.shown, Counters{});
        EXPECT_EQ(r.panel.lengthsCleared, 2); // at Connect and at Start
    }
}

TEST(RunControl, AbandonStopsTheRunTakesBackTheCutLoopAndKeepsTheTotals) {
    Rig r;
    r.start(Mode::WriteLoop, 2);
    r.panel.firmware = "V1.";
    r.panel.phase = Phase::Reading;
    r.trace();
    for (std::uint64_t loops : {1, 0, 0}) {
        r.bench.abandon();
        EXPECT_EQ(r.trace(), "0");
        EXPECT_EQ(r.panel.shown.loops, loops);
    }
    EXPECT_EQ(r.panel.firmware, "");
    EXPECT_FALSE(r.panel.ticking || r.panel.running);
    EXPECT_EQ(r.panel.locks.back(), std::pair(false, true));
    EXPECT_EQ(r.panel.phase, Phase::Idle);
    // The first data of the next run come from the totals this one left.
    r.panel.box(Row::Data, 2) = "2";
    r.start(Mode::SingleWrite);
    EXPECT_EQ(r.trace(), "*|t22");
    EXPECT_EQ(r.bench.counters(), Counters{});
}

TEST(RunControl, ResetZeroesLoopsAndTotalsAndResetsTheReader) {
    Rig r;
    r.start(Mode::WriteLoop, 2);
    r.trace();
    r.bench.resetCounters();
    EXPECT_EQ(r.trace(), "a");
    Counters want;
    want.writes[1] = 2;
    EXPECT_EQ(r.panel.shown, want);
}

TEST(Connection, OpensAtTheLastRateResetsTheReaderAndSendsTheChoices) {
    Rig r;
    EXPECT_EQ(r.line.baudRate(), 9600);
    r.bench.selectCharSet(CharSet::Ibm3);
    r.bench.selectItrip(Itrip::TwoThirds);
    EXPECT_EQ(r.trace(), "N|+");
    // The port, the rate given, the character set; whether it opens, the rate used, what is sent.
    const std::tuple<int, std::optional<int>, std::optional<CharSet>, bool, int, const char*>
        cases[] = {
            {2, 19200, CharSet::Iso, true, 19200, "a|="},
            {9, std::nullopt, CharSet::Iso, false, 0, ""}, // no port 9: the counts stay
            {3, std::nullopt, CharSet::Ibm2, true, 19200, "a|O"},
            {4, 2400, std::nullopt, true, 2400, "a"},
        };
    for (const auto& [port, rate, set, opens, rateUsed, sent] : cases) {
        SCOPED_TRACE(port);
        r.start(Mode::SingleWrite, 1); // counts one write
        r.trace();
        r.panel.charSetChoice = set;
        EXPECT_EQ(r.bench.connect(port, rate), opens);
        EXPECT_EQ(r.bench.connected(), opens);
        EXPECT_EQ(r.line.port(), opens ? port : 0);
        EXPECT_EQ(opens ? r.line.baudRate() : 0, rateUsed);
        EXPECT_EQ(r.trace(), sent);
        EXPECT_EQ(r.bench.counters().writes[1], opens ? 0u : 1u);
    }
    r.bench.disconnect();
    EXPECT_FALSE(r.bench.connected() || r.line.isOpen());
    r.panel.statuses.clear();
    r.bench.tick(); // a closed line after Disconnect is no port error
    EXPECT_EQ(r.panel.statuses, Texts{});
}

} // namespace
} // namespace dornal
