#pragma once

#include "file_ops.h"
#include "record_row.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

namespace dornal::record {

struct RecordLimits {
    // Past this many bytes the record keeps only rows of Importance::Kept.
    std::uint64_t fileBytes = 64ull << 20;
    // Rows that wait for a slow disk beyond this many bytes are left out.
    std::size_t backlogBytes = 8u << 20;
    // Rows reach the disk (written and synced) at most this long after they were added.
    std::chrono::milliseconds syncEvery{1000};
};

// The CSV file of one run. Rows are formatted at once and handed to a writer thread, which
// writes them and syncs the file once per `syncEvery`: a crash or a power cut loses at most
// that much. The caller never waits for the disk, only for a mutex held around a few buffer
// operations. Any failure ends the record quietly: it takes no more rows and problem() says
// why; nothing is thrown.
class RecordFile {
public:
    explicit RecordFile(RecordLimits limits = {}, FileOps ops = FileOps::system());
    ~RecordFile(); // finish()
    RecordFile(const RecordFile&) = delete;
    RecordFile& operator=(const RecordFile&) = delete;

    // Begins a record in `directory` (made if missing), in a file named by recordBaseName()
    // with ".csv", or "-2.csv", "-3.csv" ... when that name is taken, headed by the header row.
    // A record already going is finished first.
    void start(const std::filesystem::path& directory,
               std::chrono::system_clock::time_point startTime, std::string_view modeName);
    void add(const RecordRow& row, Importance importance);
    // Writes what is left, syncs and closes the file; waits for the disk. Harmless twice.
    void finish();

    // The file of the current or last record; empty before the first start.
    std::filesystem::path path() const;
    // Why the record stopped or lost rows; empty while all is well.
    std::string problem() const;
    // Whether the record has passed its size bound and keeps only rows of Importance::Kept.
    bool limited() const;
    // Whether rows are taken: started, not finished and not stopped by a failure.
    bool taking() const;

private:
    void run(std::filesystem::path directory, std::string baseName);
    // The file descriptor of the new file, or -1 when the record has stopped.
    int create(const std::filesystem::path& directory, const std::string& baseName);
    // An empty text, or why the bytes could not be written and synced.
    std::string writeAndSync(int fd, std::string_view bytes, const std::string& shownPath);
    void stop(std::string reason);
    // Called with mutex_ held.
    void stopLocked(std::string reason);
    void switchToKeptRows(const RecordRow& row);

    const RecordLimits limits_;
    const FileOps ops_;
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::thread writer_;
    // Guarded by mutex_.
    std::filesystem::path path_;
    std::string pending_;
    std::size_t inFlight_ = 0;
    std::uint64_t bytesTaken_ = 0;
    std::uint64_t rowsLeftOut_ = 0;
    std::string problem_;
    bool started_ = false;
    bool stopping_ = false;
    bool stopped_ = false;
    bool limited_ = false;
};

} // namespace dornal::record
