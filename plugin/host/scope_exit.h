#pragma once

#include <utility>

namespace kyrox {

// Runs an action when the scope ends, also when an exception leaves it: disposes host objects.
template <class Action>
class ScopeExit {
public:
    explicit ScopeExit(Action action) : action_(std::move(action)) {}
    ~ScopeExit() { action_(); }
    ScopeExit(const ScopeExit&) = delete;
    ScopeExit& operator=(const ScopeExit&) = delete;

private:
    Action action_;
};

}  // namespace kyrox
