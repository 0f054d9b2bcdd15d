#pragma once

#include <deque>
#include <functional>

namespace dornal {

// Holds the operator's actions while the bench is in the middle of a step (a tick's commands,
// Connect, Start...): each then happens after that step, in the order the operator made them,
// never between two commands of a step. The ticks of the cycle timer wait their turn the same
// way; one waiting tick is enough.
class InputGate {
public:
    // Whether a step is in progress; set by whoever runs the steps.
    std::function<bool()> busy;

    // Runs the action now, or after the step in progress and the actions held before it.
    void act(std::function<void()> action);
    void tick(std::function<void()> action);
    // Runs the held actions in order, until one of them starts a step.
    void release();
    // Forgets every held action (the window is closing).
    void clear() { held_.clear(); }
    bool holding() const { return !held_.empty(); }

private:
    struct Held {
        bool tick = false;
        std::function<void()> action;
    };
    bool mustHold() const;

    std::deque<Held> held_;
    bool releasing_ = false;
};

} // namespace dornal
