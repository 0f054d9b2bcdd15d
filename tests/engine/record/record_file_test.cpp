// The record's file: where it goes, what it holds, how soon rows reach the disk, its size
// bound, and every way the disk can let it down (injected through its file calls).
#include "engine/record/record_directory.h"
#include "engine/record/record_file.h"
#include "engine/record/record_format.h"
#include "engine/record/record_reader.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <sstream>

namespace dornal::record {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono;
using Clock = steady_clock;

const system_clock::time_point kStart = system_clock::from_time_t(1796613164);

class TempFolder {
public:
    TempFolder() {
        char pattern[] = "/tmp/dornal-record-XXXXXX";
        path_ = mkdtemp(pattern);
    }
    ~TempFolder() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

std::string contents(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

RecordRow row(std::uint64_t loop, Event event = Event::Write, std::string outcome = "written") {
    return RecordRow{kStart + seconds(loop), loop, event, 2, "1234", "1B 72 70- 0", outcome, ""};
}

// Waits until `done` holds, for at most a few seconds; whether it came to hold.
template <typename Condition> bool eventually(Condition done) {
    const auto until = Clock::now() + seconds(5);
    while (!done()) {
        if (Clock::now() > until) {
            return false;
        }
        std::this_thread::sleep_for(milliseconds(5));
    }
    return true;
}

std::vector<std::uint64_t> loopsIn(const fs::path& file) {
    std::vector<std::uint64_t> loops;
    for (const RecordRow& r : readRecord(contents(file)).rows) {
        loops.push_back(r.loop);
    }
    return loops;
}

TEST(RecordFile, WritesTheHeaderAndEveryRowInOrder) {
    TempFolder folder;
    const fs::path directory = folder.path() / "state" / "dornal" / "runs";
    RecordFile record;
    EXPECT_EQ(record.path(), fs::path());
    record.start(directory, kStart, "Auto Write/Read &Loop");
    EXPECT_TRUE(record.taking());
    for (std::uint64_t loop = 1; loop <= 100; ++loop) {
        record.add(row(loop), Importance::Routine);
    }
    record.finish();
    EXPECT_FALSE(record.taking());
    EXPECT_EQ(record.problem(), "");
    EXPECT_EQ(record.path().parent_path(), directory);
    EXPECT_EQ(record.path().filename(), recordBaseName(kStart, "auto-write-read-loop") + ".csv");
    const std::string text = contents(record.path());
    EXPECT_TRUE(text.starts_with(std::string(kRecordHeader) + "\r\n"));
    EXPECT_EQ(text.substr(kRecordHeader.size() + 2, formatRow(row(1)).size()), formatRow(row(1)));
    std::vector<std::uint64_t> expected;
    for (std::uint64_t loop = 1; loop <= 100; ++loop) {
        expected.push_back(loop);
    }
    EXPECT_EQ(loopsIn(record.path()), expected);
    record.add(row(101), Importance::Kept);
    EXPECT_EQ(loopsIn(record.path()), expected);
}

TEST(RecordFile, TakesTheNextFreeNameForTheSameSecondAndMode) {
    TempFolder folder;
    std::vector<std::string> names;
    for (int run = 0; run < 3; ++run) {
        RecordFile record;
        record.start(folder.path(), kStart, "Singal Read");
        record.add(row(static_cast<std::uint64_t>(run)), Importance::Routine);
        record.finish();
        names.push_back(record.path().filename().string());
        EXPECT_EQ(loopsIn(record.path()),
                  std::vector<std::uint64_t>{static_cast<std::uint64_t>(run)});
    }
    const std::string base = recordBaseName(kStart, "singal-read");
    EXPECT_EQ(names, (std::vector<std::string>{base + ".csv", base + "-2.csv", base + "-3.csv"}));
}

TEST(RecordFile, ANewStartEndsTheRecordBeforeIt) {
    TempFolder folder;
    RecordFile record;
    record.start(folder.path(), kStart, "one");
    record.add(row(1), Importance::Routine);
    const fs::path first = record.path();
    record.start(folder.path(), kStart, "two");
    record.add(row(2), Importance::Routine);
    record.finish();
    EXPECT_EQ(loopsIn(first), std::vector<std::uint64_t>{1});
    EXPECT_EQ(loopsIn(record.path()), std::vector<std::uint64_t>{2});
}

// Rows are on disk, synced, within a second of being added, while the record goes on.
TEST(RecordFile, RowsReachTheDiskWithinASecond) {
    TempFolder folder;
    std::atomic<int> syncs = 0;
    FileOps ops = FileOps::system();
    ops.sync = [&syncs](int fd) {
        ++syncs;
        return FileOps::system().sync(fd);
    };
    RecordFile record(RecordLimits{}, ops);
    record.start(folder.path(), kStart, "loop");
    for (std::uint64_t loop = 1; loop <= 3; ++loop) {
        const int syncsBefore = syncs;
        const auto added = Clock::now();
        record.add(row(loop), Importance::Routine);
        while (loopsIn(record.path()).size() < loop && Clock::now() - added < seconds(3)) {
            std::this_thread::sleep_for(milliseconds(10));
        }
        const auto waited = Clock::now() - added;
        EXPECT_LE(waited, milliseconds(1200)) << "loop " << loop;
        std::this_thread::sleep_for(milliseconds(50)); // the sync follows the write
        EXPECT_GT(syncs, syncsBefore) << "loop " << loop;
    }
    EXPECT_TRUE(record.taking());
}

// The writer thread holds no lock while the disk stalls: adding rows costs next to nothing,
// and past the backlog bound rows are left out and the record says how many.
TEST(RecordFile, AStalledDiskNeverHoldsTheCaller) {
    TempFolder folder;
    std::mutex gate;
    std::unique_lock closed(gate);
    std::atomic<bool> stalled = false;
    FileOps ops = FileOps::system();
    ops.write = [&](int fd, const char* bytes, std::size_t count) {
        stalled = true;
        std::lock_guard wait(gate);
        return FileOps::system().write(fd, bytes, count);
    };
    std::size_t twentyRows = 0;
    for (std::uint64_t loop = 1; loop <= 20; ++loop) {
        twentyRows += formatRow(row(loop)).size();
    }
    const std::size_t headerBytes = kRecordHeader.size() + 2; // stuck in the stalled write
    RecordFile record(RecordLimits{64u << 20, headerBytes + twentyRows, milliseconds(10)}, ops);
    record.start(folder.path(), kStart, "loop");
    ASSERT_TRUE(eventually([&] { return stalled.load(); }));
    auto slowest = Clock::duration::zero();
    for (std::uint64_t loop = 1; loop <= 50; ++loop) {
        const auto before = Clock::now();
        record.add(row(loop), Importance::Routine);
        slowest = std::max(slowest, Clock::now() - before);
    }
    EXPECT_LT(slowest, milliseconds(100));
    EXPECT_EQ(record.problem(),
              "the disk fell behind: 30 rows left out of " + record.path().string());
    EXPECT_TRUE(record.taking());
    closed.unlock();
    record.finish();
    std::vector<std::uint64_t> expected;
    for (std::uint64_t loop = 1; loop <= 20; ++loop) {
        expected.push_back(loop);
    }
    EXPECT_EQ(loopsIn(record.path()), expected);
}

TEST(RecordFile, PastItsBoundKeepsOnlyKeptRowsAndSaysSoOnce) {
    TempFolder folder;
    const std::size_t headerBytes = kRecordHeader.size() + 2;
    const std::size_t rowBytes = formatRow(row(1)).size();
    RecordFile record(RecordLimits{headerBytes + 3 * rowBytes, 8u << 20, milliseconds(1000)});
    record.start(folder.path(), kStart, "loop");
    record.add(row(1), Importance::Routine);
    record.add(row(2), Importance::Routine);
    EXPECT_FALSE(record.limited());
    record.add(row(3), Importance::Routine);
    EXPECT_TRUE(record.limited());
    record.add(row(4), Importance::Routine);
    record.add(row(5, Event::Write, "failed"), Importance::Kept);
    record.add(row(6), Importance::Routine);
    record.add(row(7, Event::Glitch, "timed out"), Importance::Kept);
    record.finish();
    const ReadRecord read = readRecord(contents(record.path()));
    std::vector<std::pair<std::uint64_t, Event>> rows;
    for (const RecordRow& r : read.rows) {
        rows.emplace_back(r.loop, r.event);
    }
    const std::vector<std::pair<std::uint64_t, Event>> expected = {
        {1, Event::Write}, {2, Event::Write}, {3, Event::Write},
        {3, Event::Note},  {5, Event::Write}, {7, Event::Glitch},
    };
    EXPECT_EQ(rows, expected);
    ASSERT_EQ(read.rows.size(), expected.size());
    EXPECT_EQ(read.rows[3].time, row(3).time);
    EXPECT_EQ(read.rows[3].detail,
              "the record passed " + std::to_string(headerBytes + 3 * rowBytes) +
                  " bytes: from here on it keeps only failed writes, differences, glitches, "
                  "resets, settings, summaries and the end");
    EXPECT_EQ(record.problem(), "");
}

TEST(RecordFile, AFolderThatCannotBeMadeStopsTheRecordQuietly) {
    TempFolder folder;
    std::ofstream(folder.path() / "state") << "a file where a folder should be";
    RecordFile record;
    record.start(folder.path() / "state" / "runs", kStart, "loop");
    record.add(row(1), Importance::Kept);
    record.finish();
    EXPECT_EQ(record.problem(), "cannot make folder " +
                                    (folder.path() / "state" / "runs").string() +
                                    ": Not a directory");
    EXPECT_FALSE(record.taking());
}

TEST(RecordFile, NoFolderAtAllIsAReason) {
    RecordFile record;
    record.start(fs::path(), kStart, "loop");
    record.add(row(1), Importance::Kept);
    EXPECT_FALSE(record.taking());
    EXPECT_EQ(record.problem(), "no folder for the record: neither XDG_STATE_HOME nor HOME is set");
}

// Each file call failing once, and what the record says then; it never throws, takes no
// further rows, and leaves what it wrote before.
TEST(RecordFile, EveryFailureOfTheDiskEndsTheRecordWithAReason) {
    enum class Call { Create, Write, Sync };
    const struct {
        const char* name;
        Call call;
        int error;
        std::string reason; // "%" stands for the file
        std::vector<std::uint64_t> rowsLeft;
    } table[] = {
        {"no permission", Call::Create, EACCES, "cannot make %: Permission denied", {}},
        {"disk full on write", Call::Write, ENOSPC, "disk full writing %", {1}},
        {"over quota", Call::Write, EDQUOT, "disk full writing %", {1}},
        {"write error", Call::Write, EIO, "cannot write %: Input/output error", {1}},
        // The row went out before the sync failed.
        {"disk full on sync", Call::Sync, ENOSPC, "disk full writing %", {1, 2}},
        {"sync error", Call::Sync, EIO, "cannot sync %: Input/output error", {1, 2}},
    };
    for (const auto& entry : table) {
        TempFolder folder;
        std::atomic<bool> broken = false;
        FileOps ops = FileOps::system();
        const auto failWhenBroken = [&](Call call) {
            if (broken && entry.call == call) {
                errno = entry.error;
                return true;
            }
            return false;
        };
        ops.create = [&](const char* path) {
            if (failWhenBroken(Call::Create)) {
                return -1;
            }
            return FileOps::system().create(path);
        };
        ops.write = [&](int fd, const char* bytes, std::size_t count) -> ssize_t {
            if (failWhenBroken(Call::Write)) {
                return -1;
            }
            return FileOps::system().write(fd, bytes, count);
        };
        ops.sync = [&](int fd) {
            if (failWhenBroken(Call::Sync)) {
                return -1;
            }
            return FileOps::system().sync(fd);
        };
        broken = entry.call == Call::Create;
        RecordFile record(RecordLimits{64u << 20, 8u << 20, milliseconds(20)}, ops);
        record.start(folder.path(), kStart, "loop");
        record.add(row(1), Importance::Routine);
        if (entry.call != Call::Create) {
            ASSERT_TRUE(eventually([&] { return !loopsIn(record.path()).empty(); })) << entry.name;
        }
        broken = true;
        record.add(row(2), Importance::Kept);
        ASSERT_TRUE(eventually([&] { return !record.taking(); })) << entry.name;
        record.add(row(3), Importance::Kept);
        record.finish();
        std::string reason = entry.reason;
        reason.replace(reason.find('%'), 1, record.path().string());
        EXPECT_EQ(record.problem(), reason) << entry.name;
        EXPECT_EQ(loopsIn(record.path()), entry.rowsLeft) << entry.name;
    }
}

class Environment {
public:
    void set(const char* name, std::optional<std::string> value) {
        const char* old = std::getenv(name);
        std::optional<std::string> before;
        if (old != nullptr) {
            before = old;
        }
        saved_.emplace_back(name, before);
        if (value) {
            setenv(name, value->c_str(), 1);
        } else {
            unsetenv(name);
        }
    }
    ~Environment() {
        for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
            if (it->second) {
                setenv(it->first, it->second->c_str(), 1);
            } else {
                unsetenv(it->first);
            }
        }
    }

private:
    std::vector<std::pair<const char*, std::optional<std::string>>> saved_;
};

TEST(DefaultRecordDirectory, FollowsXdgStateHomeThenHome) {
    const struct {
        std::optional<std::string> state;
        std::optional<std::string> home;
        fs::path directory;
    } table[] = {
        {"/srv/state", "/home/op", "/srv/state/dornal/runs"},
        {"", "/home/op", "/home/op/.local/state/dornal/runs"},
        {std::nullopt, "/home/op", "/home/op/.local/state/dornal/runs"},
    };
    for (const auto& entry : table) {
        Environment environment;
        environment.set("XDG_STATE_HOME", entry.state);
        environment.set("HOME", entry.home);
        EXPECT_EQ(defaultRecordDirectory(), entry.directory) << entry.directory;
    }
}

} // namespace
} // namespace dornal::record
