#include "record_file.h"

#include "record_format.h"

#include <cerrno>
#include <system_error>

namespace dornal::record {

namespace fs = std::filesystem;

namespace {

// A name taken this often in one second by other runs is not worth a further try.
constexpr int kMaxNameTries = 1000;

std::string errorText(int error) {
    return std::system_category().message(error);
}

bool diskFull(int error) {
    return error == ENOSPC || error == EDQUOT;
}

std::string sizeText(std::uint64_t bytes) {
    constexpr std::uint64_t kMiB = 1u << 20;
    if (bytes % kMiB == 0) {
        return std::to_string(bytes / kMiB) + " MiB";
    }
    return std::to_string(bytes) + " bytes";
}

fs::path candidate(const fs::path& directory, const std::string& baseName, int attempt) {
    if (attempt == 1) {
        return directory / (baseName + ".csv");
    }
    return directory / (baseName + "-" + std::to_string(attempt) + ".csv");
}

} // namespace

RecordFile::RecordFile(RecordLimits limits, FileOps ops) : limits_(limits), ops_(std::move(ops)) {}

RecordFile::~RecordFile() {
    finish();
}

void RecordFile::start(const fs::path& directory, std::chrono::system_clock::time_point startTime,
                       std::string_view modeName) {
    finish();
    const std::string baseName = recordBaseName(startTime, modeName);
    std::lock_guard lock(mutex_);
    path_.clear();
    pending_ = std::string(kRecordHeader) + std::string(kLineEnd);
    inFlight_ = 0;
    bytesTaken_ = pending_.size();
    rowsLeftOut_ = 0;
    problem_.clear();
    started_ = true;
    stopping_ = false;
    stopped_ = false;
    limited_ = false;
    if (directory.empty()) {
        stopLocked("no folder for the record: neither XDG_STATE_HOME nor HOME is set");
        return;
    }
    path_ = candidate(directory, baseName, 1);
    writer_ = std::thread(&RecordFile::run, this, directory, baseName);
}

void RecordFile::add(const RecordRow& row, Importance importance) {
    const std::string line = formatRow(row);
    std::lock_guard lock(mutex_);
    if (!started_ || stopping_ || stopped_) {
        return;
    }
    if (limited_ && importance == Importance::Routine) {
        return;
    }
    if (pending_.size() + inFlight_ + line.size() > limits_.backlogBytes) {
        ++rowsLeftOut_;
        problem_ = "the disk fell behind: " + std::to_string(rowsLeftOut_) + " rows left out of " +
                   path_.string();
        return;
    }
    pending_ += line;
    bytesTaken_ += line.size();
    if (!limited_ && bytesTaken_ >= limits_.fileBytes) {
        switchToKeptRows(row);
    }
}

void RecordFile::switchToKeptRows(const RecordRow& row) {
    limited_ = true;
    RecordRow note;
    note.time = row.time;
    note.loop = row.loop;
    note.event = Event::Note;
    note.detail = "the record passed " + sizeText(limits_.fileBytes) +
                  ": from here on it keeps only failed writes, differences, glitches, resets, "
                  "settings, summaries and the end";
    const std::string line = formatRow(note);
    pending_ += line;
    bytesTaken_ += line.size();
}

void RecordFile::finish() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    if (writer_.joinable()) {
        writer_.join();
    }
}

fs::path RecordFile::path() const {
    std::lock_guard lock(mutex_);
    return path_;
}

std::string RecordFile::problem() const {
    std::lock_guard lock(mutex_);
    return problem_;
}

bool RecordFile::limited() const {
    std::lock_guard lock(mutex_);
    return limited_;
}

bool RecordFile::taking() const {
    std::lock_guard lock(mutex_);
    return started_ && !stopping_ && !stopped_;
}

void RecordFile::run(fs::path directory, std::string baseName) {
    const int fd = create(directory, baseName);
    if (fd < 0) {
        return;
    }
    const std::string shownPath = path().string();
    std::unique_lock lock(mutex_);
    auto nextSync = std::chrono::steady_clock::now() + limits_.syncEvery;
    for (;;) {
        wake_.wait_until(lock, nextSync, [this] { return stopping_; });
        // Counted from taking the rows, so that a slow write does not stretch the interval.
        nextSync = std::chrono::steady_clock::now() + limits_.syncEvery;
        std::string chunk;
        chunk.swap(pending_);
        inFlight_ = chunk.size();
        const bool last = stopping_;
        lock.unlock();
        const std::string failure = writeAndSync(fd, chunk, shownPath);
        lock.lock();
        inFlight_ = 0;
        if (!failure.empty()) {
            stopLocked(failure);
            lock.unlock();
            ops_.close(fd);
            return;
        }
        if (last) {
            break;
        }
    }
    lock.unlock();
    if (ops_.close(fd) != 0) {
        stop("cannot close " + shownPath + ": " + errorText(errno));
    }
}

int RecordFile::create(const fs::path& directory, const std::string& baseName) {
    std::error_code error;
    fs::create_directories(directory, error);
    if (error) {
        stop("cannot make folder " + directory.string() + ": " + error.message());
        return -1;
    }
    for (int attempt = 1; attempt <= kMaxNameTries; ++attempt) {
        const fs::path file = candidate(directory, baseName, attempt);
        const int fd = ops_.create(file.c_str());
        if (fd >= 0) {
            std::lock_guard lock(mutex_);
            path_ = file;
            return fd;
        }
        if (errno != EEXIST || attempt == kMaxNameTries) {
            stop("cannot make " + file.string() + ": " + errorText(errno));
            return -1;
        }
    }
    return -1;
}

std::string RecordFile::writeAndSync(int fd, std::string_view bytes, const std::string& shownPath) {
    if (bytes.empty()) {
        return {};
    }
    while (!bytes.empty()) {
        const ssize_t written = ops_.write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            int error = EIO; // a write that took nothing, which no file should do
            if (written < 0) {
                error = errno;
            }
            if (diskFull(error)) {
                return "disk full writing " + shownPath;
            }
            return "cannot write " + shownPath + ": " + errorText(error);
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    if (ops_.sync(fd) != 0) {
        const int error = errno;
        if (diskFull(error)) {
            return "disk full writing " + shownPath;
        }
        return "cannot sync " + shownPath + ": " + errorText(error);
    }
    return {};
}

void RecordFile::stop(std::string reason) {
    std::lock_guard lock(mutex_);
    stopLocked(std::move(reason));
}

void RecordFile::stopLocked(std::string reason) {
    stopped_ = true;
    problem_ = std::move(reason);
    pending_.clear();
}

} // namespace dornal::record
