#include "file_ops.h"

#include <fcntl.h>
#include <unistd.h>

namespace dornal::record {

FileOps FileOps::system() {
    return FileOps{
        [](const char* path) {
            return ::open(path, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        },
        [](int fd, const char* bytes, std::size_t count) { return ::write(fd, bytes, count); },
        [](int fd) { return ::fdatasync(fd); },
        [](int fd) { return ::close(fd); },
    };
}

} // namespace dornal::record
