#pragma once

#include "line.h"

#include <coroutine>

namespace dornal {

// Awaits the line: resumes when a byte is waiting, the line fails or `boundMs` has passed.
// When the line can tell at once, the awaiting coroutine goes on without suspending. A
// coroutine destroyed while it waits withdraws its wait.
class Readable {
public:
    Readable(Line& line, int boundMs) : line_(line), boundMs_(boundMs) {}
    Readable(const Readable&) = delete;
    Readable& operator=(const Readable&) = delete;
    ~Readable() {
        if (pending_)
            line_.cancelWait();
    }

    bool await_ready() { return line_.waiting() != 0; }
    bool await_suspend(std::coroutine_handle<> waiter) {
        waiter_ = waiter;
        pending_ = true;
        suspending_ = true;
        line_.whenReadable(boundMs_, [this] { ready(); });
        suspending_ = false;
        return pending_;
    }
    void await_resume() const noexcept {}

private:
    void ready() {
        pending_ = false;
        if (!suspending_)
            waiter_.resume();
    }

    Line& line_;
    int boundMs_;
    std::coroutine_handle<> waiter_;
    bool pending_ = false;
    bool suspending_ = false;
};

} // namespace dornal
