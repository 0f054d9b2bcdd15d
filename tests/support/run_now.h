#pragma once

#include "reader/task.h"

#include <exception>
#include <optional>
#include <stdexcept>

namespace dornal::testing {

// Runs a step that does not have to wait (on a memory line whose waits end at once) and
// returns its result; a step that waits is a fault of the test.
inline void runNow(Task<> task) {
    bool ended = false;
    std::exception_ptr fault;
    Job job;
    job.start(std::move(task), [&](std::exception_ptr f) {
        ended = true;
        fault = f;
    });
    if (!ended)
        throw std::logic_error("the step waits");
    if (fault)
        std::rethrow_exception(fault);
}

template <typename T> T runNow(Task<T> task) {
    std::optional<T> result;
    auto keep = [&]() -> Task<> { result.emplace(co_await std::move(task)); };
    runNow(keep());
    return std::move(*result);
}

} // namespace dornal::testing
