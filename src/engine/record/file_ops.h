#pragma once

#include <cstddef>
#include <functional>
#include <sys/types.h>

// The few file calls the record makes, as a seam: the program uses the system's, tests put in
// calls that fail or stall. Each returns -1 and sets errno on failure, like the system's.
namespace dornal::record {

struct FileOps {
    // Makes a new file for writing; fails with EEXIST when the name is taken.
    std::function<int(const char* path)> create;
    std::function<ssize_t(int fd, const char* bytes, std::size_t count)> write;
    std::function<int(int fd)> sync;
    std::function<int(int fd)> close;

    static FileOps system();
};

} // namespace dornal::record
