#pragma once

#include "reader/task.h"

#include <QEventLoop>

#include <exception>
#include <optional>

namespace dornal::testing {

// Runs a step to its end as the program does: Qt's event loop turns while the step waits.
template <typename T> T runWithEvents(Task<T> task) {
    std::optional<T> result;
    std::exception_ptr fault;
    QEventLoop loop;
    bool ended = false;
    auto keep = [&]() -> Task<> { result.emplace(co_await std::move(task)); };
    Job job;
    job.start(keep(), [&](std::exception_ptr f) {
        fault = f;
        ended = true;
        loop.quit();
    });
    if (!ended)
        loop.exec();
    if (fault)
        std::rethrow_exception(fault);
    return std::move(*result);
}

} // namespace dornal::testing
