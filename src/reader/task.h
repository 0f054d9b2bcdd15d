#pragma once

#include <coroutine>
#include <exception>
#include <functional>
#include <optional>
#include <utility>

namespace dornal {

// A step of work that may have to wait for the reader: a coroutine that runs when it is
// awaited and hands back its result. Waiting never blocks the thread: a task that must wait
// suspends, and whatever it waits for (a byte, a time-out) resumes it later.
//
// A task that finishes without ever suspending returns to its caller directly, not through
// a resumption from inside its own end: a long run of such tasks (an answer's bytes that are
// all waiting) thus uses no more stack than one.
template <typename T = void> class Task;

namespace detail {

struct TaskPromiseBase {
    std::coroutine_handle<> continuation;
    std::exception_ptr fault;
    // True while the caller is starting the task: an end reached then returns to the caller.
    bool startedByCaller = false;

    std::suspend_always initial_suspend() noexcept { return {}; }

    struct FinalAwaiter {
        bool await_ready() noexcept { return false; }
        template <typename Promise>
        std::coroutine_handle<> await_suspend(std::coroutine_handle<Promise> done) noexcept {
            TaskPromiseBase& promise = done.promise();
            if (promise.startedByCaller || !promise.continuation)
                return std::noop_coroutine();
            return promise.continuation;
        }
        void await_resume() noexcept {}
    };
    FinalAwaiter final_suspend() noexcept { return {}; }
    void unhandled_exception() noexcept { fault = std::current_exception(); }
    void rethrowFault() const {
        if (fault)
            std::rethrow_exception(fault);
    }
};

template <typename T> struct TaskPromise : TaskPromiseBase {
    std::optional<T> value;
    Task<T> get_return_object();
    template <typename U> void return_value(U&& result) { value.emplace(std::forward<U>(result)); }
    T result() {
        rethrowFault();
        return std::move(*value);
    }
};

template <> struct TaskPromise<void> : TaskPromiseBase {
    Task<void> get_return_object();
    void return_void() noexcept {}
    void result() const { rethrowFault(); }
};

} // namespace detail

template <typename T> class [[nodiscard]] Task {
public:
    using promise_type = detail::TaskPromise<T>;
    using Handle = std::coroutine_handle<promise_type>;

    Task() = default;
    explicit Task(Handle handle) : handle_(handle) {}
    Task(Task&& other) noexcept : handle_(std::exchange(other.handle_, {})) {}
    Task& operator=(Task&& other) noexcept {
        if (this != &other) {
            destroy();
            handle_ = std::exchange(other.handle_, {});
        }
        return *this;
    }
    Task(const Task&) = delete;
    Task& operator=(const Task&) = delete;
    ~Task() { destroy(); }

    bool await_ready() const noexcept { return false; }
    // Runs the task at once; the caller waits only if the task has to.
    bool await_suspend(std::coroutine_handle<> caller) {
        promise_type& promise = handle_.promise();
        promise.continuation = caller;
        promise.startedByCaller = true;
        handle_.resume();
        promise.startedByCaller = false;
        return !handle_.done();
    }
    T await_resume() { return handle_.promise().result(); }

private:
    void destroy() {
        if (handle_)
            handle_.destroy();
        handle_ = {};
    }
    Handle handle_;
};

namespace detail {

template <typename T> Task<T> TaskPromise<T>::get_return_object() {
    return Task<T>(std::coroutine_handle<TaskPromise<T>>::from_promise(*this));
}
inline Task<void> TaskPromise<void>::get_return_object() {
    return Task<void>(std::coroutine_handle<TaskPromise<void>>::from_promise(*this));
}

} // namespace detail

// Runs one task at a time to its end, from its start to the last of its waits; `done` is told
// when it has ended, with the fault it ended on, if any. A job that is cancelled, or destroyed
// while its task waits, ends that task where it waits: its waits are withdrawn and `done` is
// not told.
class Job {
public:
    using Done = std::function<void(std::exception_ptr fault)>;

    Job() = default;
    Job(const Job&) = delete;
    Job& operator=(const Job&) = delete;
    ~Job() { cancel(); }

    // Starts the task at once; it may end before this returns. Not while one is running.
    void start(Task<> task, Done done);
    bool running() const { return static_cast<bool>(driver_); }
    void cancel();

private:
    struct Driver;
    static Driver drive(Task<> task, Job* job, Done done);
    std::coroutine_handle<> driver_;
};

} // namespace dornal
