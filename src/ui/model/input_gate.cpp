#include "input_gate.h"

#include <algorithm>
#include <utility>

namespace dornal {

bool InputGate::mustHold() const {
    return !held_.empty() || (busy && busy());
}

void InputGate::act(std::function<void()> action) {
    if (mustHold())
        held_.push_back({false, std::move(action)});
    else
        action();
}

void InputGate::tick(std::function<void()> action) {
    if (!mustHold()) {
        action();
        return;
    }
    const bool tickHeld =
        std::any_of(held_.begin(), held_.end(), [](const Held& held) { return held.tick; });
    if (!tickHeld)
        held_.push_back({true, std::move(action)});
}

void InputGate::release() {
    if (releasing_)
        return; // the release further up goes on with the rest
    releasing_ = true;
    while (!held_.empty() && !(busy && busy())) {
        const std::function<void()> action = std::move(held_.front().action);
        held_.pop_front();
        action();
    }
    releasing_ = false;
}

} // namespace dornal
