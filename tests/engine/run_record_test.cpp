// The read-back check of the write/read loop, and the record every run leaves: the rows read
// back from the file as the run made them, each way a run can end.
#include "bench_rig.h"
#include "engine/record/record_reader.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace dornal {
namespace {

using namespace testing;
using namespace std::string_literals;
namespace fs = std::filesystem;
using record::Event;

// A folder of its own for one test's records.
struct RecordFolder {
    fs::path root =
        fs::temp_directory_path() /
        ("dornal-records-" +
         std::to_string(::testing::UnitTest::GetInstance()->current_test_info()->line()) + "-" +
         std::to_string(getpid()));
    RecordFolder() { fs::remove_all(root); }
    ~RecordFolder() { fs::remove_all(root); }
    // The rows of the one record in the folder.
    std::vector<record::RecordRow> rows() const {
        std::vector<fs::path> files;
        for (const auto& entry : fs::directory_iterator(root))
            files.push_back(entry.path());
        EXPECT_EQ(files.size(), 1u);
        std::ifstream in(files.at(0), std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        const record::ReadRecord read = record::readRecord(text.str());
        EXPECT_EQ(std::pair(read.error, read.skipped.size()), std::pair(""s, std::size_t{0}));
        fs::remove(files.at(0));
        return read.rows;
    }
};

// "event track outcome data" of each row after the settings, one line each.
std::string told(const std::vector<record::RecordRow>& rows) {
    std::string text;
    for (const record::RecordRow& row : rows) {
        if (row.event == Event::Setting)
            continue;
        text += std::string(record::eventName(row.event)) + ' ' + std::to_string(row.track) + ' ' +
                row.outcome + ' ' + row.data + (row.detail.empty() ? "" : " (" + row.detail + ")") +
                '\n';
    }
    return text;
}

// The write/read loop on track 2: the first write "20" answered as the test says, then the
// read answered as the test says; what the read-back box shows of the check. (Which characters
// differ is the comparison's own table; the endurance test counts the checks over long runs.)
TEST(ReadBackCheck, EachReadIsComparedWithTheLastWriteDoneOfItsTrack) {
    const std::tuple<std::string, std::string, bool, std::vector<std::size_t>, std::size_t,
                     std::size_t, const char*>
        cases[] = {
            {esc("rp"), esc("s20\177?"), true, {}, 0, 0, "1 checked, 0 differed"},
            {esc("rp"), esc("s21\177?"), true, {1}, 0, 0, "1 checked, 1 differed, the last at"},
            // A segment without data, or none at all, where data were written differs.
            {esc("rp"), esc("s\177?"), true, {}, 2, 0, "1 checked, 1 differed"},
            {esc("rp"), esc("sA3\177?"), true, {}, 2, 0, "1 checked, 1 differed"},
            // After a failed write the card's data are unknown: no verdict.
            {esc("rq"), esc("s20\177?"), false, {}, 0, 0, "0 checked, 0 differed"},
            {esc("r"), esc("s20\177?"), false, {}, 0, 0, "0 checked, 0 differed"},
        };
    for (const auto& [write, read, checked, differing, missing, extra, summary] : cases) {
        SCOPED_TRACE(read);
        Rig r;
        r.writeAnswer = write;
        r.readAnswer = read;
        r.start(Mode::WriteReadLoop, 2);
        const auto& [check, said] = r.panel.checks[1];
        ASSERT_EQ(check.has_value(), checked);
        if (check) {
            EXPECT_EQ(std::tuple(check->differing, check->missingTail, check->extraTail),
                      std::tuple(differing, missing, extra));
        }
        EXPECT_EQ(said.rfind("Track 2 read back: "s + summary, 0), 0u) << said;
        EXPECT_EQ(r.panel.checks[0].second, "") << "track 1 is not written";
    }
}

// Each way a run ends, and what its record says from the first row to the last.
TEST(RunRecord, EveryRunLeavesItsRowsAndEndsWithItsCountersAndHowItEnded) {
    enum class How { Abandon, Single, Disconnect, Close };
    const std::tuple<Mode, int, How, std::string> cases[] = {
        {Mode::WriteReadLoop, 2, How::Abandon,
         "write 2 written 20\nread 2 same 20\nreset 0   (loop count and totals zeroed)\n"
         "end 1 abandoned  (total=0 write=0 read=0 checked=0 differed=0)\n"
         "end 2 abandoned  (total=0 write=1 read=1 checked=1 differed=0)\n"
         "end 3 abandoned  (total=0 write=0 read=0 checked=0 differed=0)\n"
         "end 0 abandoned  (loops=0)\n"},
        {Mode::SingleWrite, 1, How::Single, "write 2 written 20\n"},
        {Mode::SingleRead, 1, How::Single, "read 2 read 22\n"},
        {Mode::WriteLoop, 1, How::Disconnect, "write 2 written 20\n"},
        {Mode::ReadLoop, 1, How::Close, "read 2 read 22\n"},
    };
    for (const auto& [mode, ticks, how, rows] : cases) {
        SCOPED_TRACE(static_cast<int>(mode));
        RecordFolder folder;
        Rig r;
        r.readAnswer = esc("s") + (mode == Mode::WriteReadLoop ? "20" : "22") + "\177?";
        r.bench.recorder().recordInto(folder.root);
        r.bench.deviceOf = [](int port) { return "/dev/ttyS" + std::to_string(port - 1); };
        r.start(mode, ticks);
        if (how == How::Abandon) {
            runNow(r.bench.resetCounters());
            runNow(r.bench.abandon());
        } else if (how == How::Disconnect) {
            r.bench.disconnect();
        } else if (how == How::Close) {
            r.bench.shutDown();
        }
        EXPECT_NE(r.panel.recordState.find("Record: " + folder.root.string()), std::string::npos)
            << r.panel.recordState;
        const std::vector<record::RecordRow> read = folder.rows();
        ASSERT_GE(read.size(), 11u);
        EXPECT_EQ(std::tuple(read[0].outcome, read[0].data, read[1].data, read[2].data),
                  std::tuple("port"s, "COM 1"s, "/dev/ttyS0"s, "9600"s));
        const std::string all = told(read);
        if (how != How::Abandon) {
            // The end rows follow the answers; the first says how the run ended.
            EXPECT_EQ(all.substr(0, rows.size()), rows);
            const char* const ends[] = {"", "single write done", "disconnected", "window closed"};
            std::string expectedEnd = ends[static_cast<int>(how)];
            if (mode == Mode::SingleRead)
                expectedEnd = "single read done";
            EXPECT_EQ(read.back().outcome, expectedEnd);
        } else {
            EXPECT_EQ(all, rows);
        }
    }
}

// Past its size bound a record keeps only what tells of trouble, says so once, and still
// sums the run up every hour; a record that cannot be made never holds the run up.
TEST(RunRecord, ALongRunsRecordStaysBoundedAndAFolderThatCannotBeMadeStopsOnlyTheRecord) {
    RecordFolder folder;
    Rig r;
    auto now = std::chrono::system_clock::now();
    r.bench.recorder().setClock([&now] { return now; });
    record::RecordLimits limits;
    limits.fileBytes = 4096;
    r.bench.recorder().recordInto(folder.root, limits);
    r.writeAnswer = esc("rp");
    r.start(Mode::WriteLoop);
    for (int i = 0; i < 300; ++i) {
        now += std::chrono::minutes(1);
        r.writeAnswer = i % 50 == 49 ? esc("rq") : esc("rp");
        runNow(r.bench.tick());
    }
    runNow(r.bench.abandon());
    const std::vector<record::RecordRow> rows = folder.rows();
    int notes = 0;
    int summaries = 0;
    int failed = 0;
    for (const record::RecordRow& row : rows) {
        notes += row.event == Event::Note;
        summaries += row.event == Event::Summary && row.track == 0;
        failed += row.outcome == "failed";
    }
    EXPECT_EQ(notes, 1);
    EXPECT_GE(summaries, 3) << "one an hour of the five the run took, past the bound";
    EXPECT_EQ(failed, 5) << "every failed write is kept";
    EXPECT_LT(rows.size(), 100u) << "the written rows were left out";

    // A regular file where the folder should be.
    std::ofstream(folder.root / "plain") << "x";
    Rig blocked;
    blocked.bench.recorder().recordInto(folder.root / "plain" / "runs");
    EXPECT_EQ(blocked.start(Mode::WriteLoop, 2), "*|t20|e|0|*|t201|e|0|*|t2012");
    runNow(blocked.bench.abandon());
    EXPECT_EQ(blocked.trace(), "0");
    EXPECT_EQ(blocked.panel.recordState.rfind("Record stopped: ", 0), 0u)
        << blocked.panel.recordState;
    EXPECT_NE(blocked.panel.recordState.find("plain"), std::string::npos);
}

} // namespace
} // namespace dornal
