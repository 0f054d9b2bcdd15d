#include "task.h"

namespace dornal {

// The coroutine that carries a job's task: it starts at once and frees itself at its end.
struct Job::Driver {
    struct promise_type {
        Driver get_return_object() noexcept { return {}; }
        std::suspend_never initial_suspend() noexcept { return {}; }
        std::suspend_never final_suspend() noexcept { return {}; }
        void return_void() noexcept {}
        void unhandled_exception() noexcept { std::terminate(); } // drive() lets none out
    };
};

namespace {

// Hands the coroutine its own handle without suspending it.
struct OwnHandle {
    std::coroutine_handle<> handle;
    bool await_ready() const noexcept { return false; }
    bool await_suspend(std::coroutine_handle<> self) noexcept {
        handle = self;
        return false;
    }
    std::coroutine_handle<> await_resume() const noexcept { return handle; }
};

} // namespace

Job::Driver Job::drive(Task<> task, Job* job, Done done) {
    const std::coroutine_handle<> self = co_await OwnHandle{};
    job->driver_ = self;
    std::exception_ptr fault;
    try {
        co_await task;
    } catch (...) {
        fault = std::current_exception();
    }
    // The job is free before it is told, so that `done` may start the next task.
    if (job->driver_ == self)
        job->driver_ = {};
    if (done)
        done(fault);
}

void Job::start(Task<> task, Done done) {
    drive(std::move(task), this, std::move(done));
}

void Job::cancel() {
    const std::coroutine_handle<> driver = std::exchange(driver_, {});
    if (driver)
        driver.destroy();
}

} // namespace dornal
