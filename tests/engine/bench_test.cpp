#include "bench_rig.h"

namespace dornal {

namespace {

using namespace std::string_view_literals;
using namespace std::string_literals;
using namespace testing;
using C = WriteConfig;
using P = PatternSet;

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
            // Read modes read the ticked tracks and empty the data.
            {false, "", "", 0b010, Mode::SingleRead, "]", "", {}},
            {false, "", "", 0b101, Mode::ReadLoop, "\"", "", {}},
            {false, "", "", 0b110, Mode::SingleRead, "B]", "", {}},
        };
    for (const auto& [wanted, reply, failAfter, ticked, mode, sent, firmware, messages] : cases) {
        SCOPED_TRACE(sent);
        Rig r;
        r.panel.rowOf(Row::Data) = {"1", "2", "3"};
        r.panel.wantFirmware = wanted;
        r.panel.ticked = ticked;
        r.firmware = reply;
        r.failAfter = failAfter;
        r.panel.shown.loops = 7;
        EXPECT_EQ(r.start(mode), sent);
        EXPECT_EQ(r.panel.firmware, firmware);
        EXPECT_EQ(r.panel.messages, messages);
        const bool running = ticked != 0 && mode;
        EXPECT_EQ(r.panel.rowOf(Row::Data) == Boxes{},
                  mode == Mode::ReadLoop || mode == Mode::SingleRead);
        EXPECT_EQ(std::pair(r.panel.running, r.panel.ticking), std::pair(running, running));
        EXPECT_EQ(r.panel.locks, (decltype(r.panel.locks)(running ? 1 : 0, {true, true})));
        // The lengths are cleared at Connect and at Start.
        EXPECT_EQ(std::pair(r.panel.shown, r.panel.lengthsCleared), std::pair(Counters{}, 2));
    }
}

// A firmware answer that trickles in past the answer bound is too long, as other answers are.
TEST(RunControl, AFirmwareAnswerThatRunsTooLongSaysSo) {
    Rig r;
    r.panel.wantFirmware = true;
    r.firmware = "HH\xff" + std::string(255, 'v') + "C";
    r.line.msPerByte = 100;
    EXPECT_EQ(r.start(Mode::SingleWrite), "Q|*|t20");
    EXPECT_EQ(r.panel.firmware, kAnswerTooLongText);
}

// Start begins with the input empty: the rest of an abandoned run's answer, however long, is
// gone, and the first tick takes the new run's answer. During a run, Reset Counter leaves the
// answer that waits for the next tick, and the run goes on.
TEST(RunControl, StartDropsWhatWaitedAndResetLeavesTheRunsAnswer) {
    Rig r;
    r.start(Mode::ReadLoop);
    runNow(r.bench.abandon());
    r.trace();
    r.line.feed(std::string(230, '2') + "\177?" + esc("rp"));
    EXPECT_EQ(r.start(Mode::SingleRead, 1), "]");
    EXPECT_EQ(std::tuple(r.panel.box(Row::Data, 2), r.panel.running), std::tuple("22", false));
    r.panel.box(Row::Data, 2) = "2";
    r.start(Mode::WriteLoop);
    runNow(r.bench.resetCounters());
    EXPECT_EQ(r.trace(), "a");
    runNow(r.bench.tick());
    EXPECT_EQ(std::tuple(r.trace(), r.bench.counters().writes[1], r.bench.counters().loops),
              std::tuple("e|0|*|t211"s, 1u, 1u));
}

// Abandon stops the run, takes back the loop it cut short and keeps the totals; Connect opens
// at the last rate, resets the reader and sends the choices.
TEST(RunControl, AbandonAndConnect) {
    Rig r;
    r.start(Mode::WriteLoop, 2);
    r.panel.firmware = "V1.";
    r.panel.phase = Phase::Reading;
    for (std::uint64_t loops : {1, 0, 0}) {
        runNow(r.bench.abandon());
        EXPECT_EQ(r.trace(), "0");
        EXPECT_EQ(r.panel.shown.loops, loops);
    }
    EXPECT_EQ(r.panel.firmware, "");
    EXPECT_FALSE(r.panel.ticking || r.panel.running);
    EXPECT_EQ(r.panel.locks.back(), std::pair(false, true));
    EXPECT_EQ(r.panel.phase, Phase::Idle);
    // The first data of the next run come from the totals this one left.
    r.panel.box(Row::Data, 2) = "2";
    EXPECT_EQ(r.start(Mode::SingleWrite), "*|t22");
    EXPECT_EQ(r.bench.counters(), Counters{});
    EXPECT_EQ(r.line.baudRate(), 9600);
    runNow(r.bench.selectCharSet(CharSet::Ibm3));
    runNow(r.bench.selectItrip(Itrip::TwoThirds));
    EXPECT_EQ(r.trace(), "N|+");
    // A port that does not open leaves the counts; one that opens zeroes them, at the last rate.
    r.start(Mode::SingleWrite, 1);
    // Each failure says why, as the line told it.
    r.line.refusal = {.reason = OpenFailure::Reason::Busy, .device = "held"};
    r.line.existingPorts.erase(2);
    const std::optional<OpenFailure> noSuchPort = runNow(r.bench.connect(9, std::nullopt));
    const std::optional<OpenFailure> refused = runNow(r.bench.connect(2, std::nullopt));
    EXPECT_EQ((std::tuple{noSuchPort, refused, r.bench.connected()}),
              (std::tuple{OpenFailure{.reason = OpenFailure::Reason::NoSuchPort}, r.line.refusal,
                          false}));
    EXPECT_EQ(std::pair(r.bench.counters().writes[1], r.trace()), std::pair(1ul, std::string()));
    r.panel.charSetChoice = CharSet::Ibm2;
    EXPECT_EQ(runNow(r.bench.connect(3, std::nullopt)), std::nullopt);
    EXPECT_EQ(std::tuple(r.line.port(), r.line.baudRate(), r.trace(), r.bench.counters()),
              std::tuple(3, 9600, "a|O"s, Counters{}));
    r.bench.disconnect();
    EXPECT_FALSE(r.bench.connected() || r.line.isOpen());
    r.panel.statuses.clear();
    runNow(r.bench.tick()); // a closed line after Disconnect is no port error
    EXPECT_EQ(r.panel.statuses, Texts{});
}

TEST(TestCycle, EachModeTakesItsNextStepAfterAnAnswer) {
    using M = Mode;
    // Start's commands, each tick's, the loops, what is left of the loop, whether the run goes on.
    const std::tuple<M, LoopCounts, const char*, Texts, int, std::pair<int, int>, bool> cases[] = {
        {M::WriteLoop, {1, 1}, "*|t20", {"e|0|*|t201", "e|0|*|t2012"}, 2, {0, 0}, true},
        {M::ReadLoop, {1, 1}, "]", {"0|0|]", "0|0|]"}, 0, {0, 0}, true},
        {M::SingleWrite, {1, 1}, "*|t20", {"", ""}, 0, {0, 0}, false},
        {M::SingleRead, {1, 1}, "]", {"", ""}, 0, {0, 0}, false},
        {M::WriteReadLoop, {2, 1}, "*|t20", {"0|e|*|t20", "0|]", "e|0|*|t202"}, 1, {1, 1}, true},
        // A loop without reads advances before its last write, and still reads once.
        {M::WriteReadLoop, {2, 0}, "*|t20", {"0|e|*|t201", "0|]", "e|0|*|t201"}, 1, {1, 0}, true},
        {M::WriteReadLoop, {1, 0}, "*|t20", {"0|]", "e|0|*|t20"}, 1, {0, 0}, true},
        {M::WriteReadLoop, {0, 1}, "*|t20", {"0|]", "e|0|*|t20"}, 1, {-1, 1}, true},
        {M::WriteReadLoop, {1, 2}, "*|t20", {"0|]", "e|0|]", "e|0|*|t201"}, 1, {0, 2}, true},
    };
    for (const auto& [mode, perLoop, start, ticks, loops, left, running] : cases) {
        SCOPED_TRACE(::testing::Message() << int(mode) << perLoop.writes << perLoop.reads);
        Rig r;
        r.panel.perLoop = perLoop;
        EXPECT_EQ(r.start(mode), start);
        for (const std::string& sent : ticks) {
            runNow(r.bench.tick());
            EXPECT_EQ(r.trace(), sent);
        }
        EXPECT_EQ(std::pair(r.panel.shown.loops, r.left()), std::pair(std::uint64_t(loops), left));
        EXPECT_EQ(std::pair(r.panel.running, r.panel.ticking), std::pair(running, running));
        // A single action leaves the write strength locked until the run is abandoned.
        EXPECT_EQ(r.panel.locks.back(), std::pair(running, running));
        // Reset zeroes the loops and the totals and resets the reader.
        Counters kept = r.bench.counters();
        kept.loops = 0;
        kept.totals = {};
        runNow(r.bench.resetCounters());
        EXPECT_EQ(std::pair(r.trace(), r.panel.shown), std::pair(std::string("a"), kept));
    }
}

TEST(TestCycle, AnswersCountWhatTheyReportInEveryKindOfRun) {
    const Boxes old{"old", "old", "old"};
    // Whether it is a read answer, the answer; the tracks it counts as written or read, the
    // totals it adds (reads add none in the write/read loop), what the boxes show, the status.
    const std::tuple<bool, std::string, Three, Three, Boxes, const char*> cases[] = {
        {false, esc("rp"), {0, 1, 0}, {0, 1, 0}, old, "1B 72 70- 0"},
        {false, esc("\"0p"), {1, 1, 1}, {1, 1, 1}, old, "1B 22 30 70- 0"},
        {false, esc("\"0q"), {}, {}, old, "1B 22 30 71- 0"},
        {false, esc("\"0"), {}, {}, old, kAnswerTimeoutText}, // cut: nothing of it counts
        {true, esc("s22\177A33\177~11\177?"), {1, 1, 1}, {1, 1, 1}, {"11", "22", "33"}, nullptr},
        // An end mark alone is a read of tracks 1 and 3 but no read of track 2.
        {true, esc("s\177A\177~\177?"), {1, 0, 1}, {}, {"", "", ""}, nullptr},
        {true, esc("s22\177?"), {0, 1, 0}, {0, 1, 0}, {"", "22", ""}, nullptr},
        {true, esc("x?"), {}, {}, old, nullptr},
        {true, esc("s22"), {}, {}, old, kAnswerTimeoutText},
        {true, esc("s") + std::string(8200, '2'), {}, {}, old, kAnswerTooLongText},
    };
    // The answer counts in a single action and in the write/read loop (a read answer there in
    // its read phase, which a failed write leads to); a single action ends with it.
    for (const auto& [read, answer, counted, totals, shown, status] : cases) {
        for (bool loop : {false, true}) {
            SCOPED_TRACE(answer.substr(0, 12) + (loop ? " loop" : ""));
            Rig r;
            r.panel.ticked = 0b111;
            r.writeAnswer = "";
            r.readAnswer = "";
            Mode single = Mode::SingleWrite;
            if (read)
                single = Mode::SingleRead;
            r.start(loop ? Mode::WriteReadLoop : single);
            if (loop && read) {
                r.line.feed(esc("rq"));
                runNow(r.bench.tick());
                r.panel.statuses.clear();
            }
            r.panel.rowOf(loop ? Row::ReadBack : Row::Data) = old;
            r.line.feed(answer);
            runNow(r.bench.tick());
            // The read that ends a loop of one write and one read counts the loop.
            const std::uint64_t loops = read && loop;
            EXPECT_EQ(r.panel.shown,
                      (Counters{loops, read && loop ? Three{} : totals, read ? Three{} : counted,
                                read ? counted : Three{}}));
            EXPECT_EQ(r.panel.rowOf(loop ? Row::ReadBack : Row::Data), shown);
            EXPECT_EQ(r.panel.statuses, status ? Texts{status} : Texts{});
            EXPECT_EQ(r.panel.running, loop);
            // Only the failed write before the loop's read leaves a read's run with a failure.
            const bool failed = read ? loop : counted == Three{};
            EXPECT_EQ(r.bench.writeFailed(), failed);
        }
    }
}

// The tick says what went wrong and the loop carries on, counting nothing it did not get.
TEST(TestCycle, GlitchesAreShownAndTheLoopGoesOn) {
    const std::string tooLong(8200, 'x');
    // The write answer, the ready answer, the command the line fails on; what start and the
    // first tick send.
    const std::tuple<std::string, std::string, std::string, const char*, Texts> cases[] = {
        {esc("rp"), "", "", "*|t20|e|0|*|t201", {"1B 72 70- 0", kNotReadyText}},
        {esc("rp"), tooLong, "", "*|t20|e|0|*|t201", {"1B 72 70- 0", kAnswerTooLongText}},
        {esc("rp"), "y", esc("e"), "*|t20|e", {"1B 72 70- 0", kPortErrorText}},
        {esc("\"0"), "y", "", "*|t20|e|0|*|t20", {kAnswerTimeoutText}}, // the same data again
        {esc("rp"), "y", esc("t"), "*|t20", {kPortErrorText}}, // the line fails with the write
    };
    for (const auto& [write, ready, failAfter, sent, statuses] : cases) {
        SCOPED_TRACE(sent);
        Rig r;
        r.writeAnswer = write;
        r.ready = ready;
        r.failAfter = failAfter;
        EXPECT_EQ(r.start(Mode::WriteLoop, 1), sent);
        EXPECT_EQ(r.panel.statuses, statuses);
        EXPECT_EQ(r.panel.shown.loops, failAfter == esc("t") ? 0u : 1u);
    }
}

TEST(TestData, EmptyBoxesAreFilledThenTheDataAdvanceFromTheTracksOwnTotal) {
    using enum CharSet;
    using enum PatternSet;
    constexpr std::uint64_t k2To32 = std::uint64_t{1} << 32;
    // The track and its text, the patterns, the choices, its total, whether the last write
    // failed; then the data to write.
    using Case = std::tuple<int, const char*, P, CharSet, std::optional<C>, std::uint64_t, bool,
                            std::string>;
    const Case cases[] = {
        {2, "", Loop, Iso, C::AddSerialNumber, 42, false, "2222222222000000000022222222220000042"},
        // A full box keeps its first character and drops its second.
        {2, "", Loop, Iso, C::AddTestChar, 0, false, "2222222220000000000222222222200000000"},
        {3, "", Single, Iso, std::nullopt, 9, false, "3123456789"},
        {1, "1123456789", Loop, Iso, C::AddTestChar, 5, false, "1123456789\""},
        {1, "0", Loop, Iso, C::AddTestChar, 73, false, "0,"},
        {3, "0", Loop, Ibm1, C::AddTestChar, 11, false, "0="},
        {2, "0", Loop, Ibm3, C::AddTestChar, 10, false, "0'"},
        {3, "0", Loop, Iso, C::AddTestChar, 23, false, "0>"},
        // Each alphabet starts again after its last character, and goes on past 16 and 32 bits.
        {1, "0", Loop, Ibm2, C::AddTestChar, 61, false, "0_"},
        {1, "0", Loop, Iso, C::AddTestChar, 62, false, "0 "},
        {2, "0", Loop, Ibm1, C::AddTestChar, 12, false, "00"},
        {3, "0", Loop, Iso, C::AddTestChar, 24, false, "00"},
        {1, "0", Loop, Iso, C::AddTestChar, 65536, false, "0#"},
        {1, "0", Loop, Iso, C::AddTestChar, k2To32, false, "0&"},
        {2, "0", Loop, Iso, C::AddTestChar, k2To32 + 7, false, "0>"},
        {2, "12", Loop, Iso, C::AddTestChar, 5, true, "12"}, // written again
        {2, "12345", Loop, Iso, C::AddSerialNumber, 3, true, "10003"},
        {1, "ABCDEFGH", Loop, Iso, C::AddSerialNumber, 45, false, "ABCD0045"},
        {1, "AB", Loop, Iso, C::AddSerialNumber, 7, false, "0007"},
        // The serial number stays "0000" from 10000 on.
        {1, "", Single, Iso, C::AddSerialNumber, 9999, false, "11234567899999"},
        {1, "", Single, Iso, C::AddSerialNumber, 10000, false, "11234567890000"},
        {1, "ABCDE", Loop, Iso, C::AddSerialNumber, 10001, false, "A0000"},
        {3, "ABCDE", Loop, Iso, C::AddSerialNumber, 65536 + 5, false, "A0000"},
        {2, "ABCDE", Loop, Iso, C::AddSerialNumber, k2To32 + 5, false, "A0000"},
    };
    for (const auto& [track, text, set, charSet, config, total, failed, data] : cases) {
        SCOPED_TRACE(::testing::Message() << track << " '" << text << "' " << total);
        FakePanel panel;
        panel.ticked = trackBit(track);
        panel.charSetChoice = charSet;
        panel.configChoice = config;
        panel.box(Row::Data, track) = text;
        Counters counters{0, {77, 77, 77}}; // the other tracks' totals play no part
        counters.totals[trackIndex(track)] = total;
        TestData(panel, counters).prepareTicked(set, failed);
        EXPECT_EQ(std::exchange(panel.box(Row::Data, track), ""), data);
        EXPECT_EQ(panel.rowOf(Row::Data), Boxes{}); // the other tracks untouched
    }
}

// However many writes follow, a full box keeps its first character and its length, and ends
// with the latest test characters.
TEST(TestData, AFullBoxKeepsItsFirstCharacterOverManyWrites) {
    FakePanel panel;
    panel.ticked = trackBit(3);
    panel.box(Row::Data, 3) = "X" + std::string(106, '-');
    Counters counters;
    std::string appended;
    for (std::uint64_t n = 0; n < 300; ++n) {
        counters.totals[2] = n;
        TestData(panel, counters).advanceTicked(false);
        appended += "0123456789=>"[n % 12];
    }
    EXPECT_EQ(panel.box(Row::Data, 3), "X" + appended.substr(300 - 106));
}

// Counts go on exactly past 16 and 32 bits.
TEST(Counting, GoesOnPastSixteenAndThirtyTwoBits) {
    for (const std::uint64_t n : {std::uint64_t{65535}, (std::uint64_t{1} << 32) - 1}) {
        Counters counters{n, {n, n, n}, {n, n, n}, {n, n, n}};
        countWrite(counters, 0b111);
        for (int track = 1; track <= 3; ++track)
            countReadSegment(counters, track, true, true);
        EXPECT_EQ(
            counters,
            (Counters{n, {n + 2, n + 2, n + 2}, {n + 1, n + 1, n + 1}, {n + 1, n + 1, n + 1}}));
    }
    Counters none;
    countReadSegment(none, 0, true, true); // a segment of no track counts nothing
    EXPECT_EQ(none, Counters{});
}

// The loop count of one long run goes past 16 bits, in the engine and on the window.
TEST(Counting, ALongRunsLoopCountGoesOnPastSixteenBits) {
    Rig r;
    r.panel.configChoice = WriteConfig::KeepData;
    r.start(Mode::WriteLoop);
    constexpr int kLoops = 65537;
    for (int i = 0; i < kLoops; ++i)
        runNow(r.bench.tick());
    EXPECT_EQ(std::pair(r.bench.counters().loops, r.panel.shown.loops),
              std::pair(std::uint64_t{kLoops}, std::uint64_t{kLoops}));
}

} // namespace
} // namespace dornal
