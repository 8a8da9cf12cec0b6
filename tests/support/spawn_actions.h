#pragma once

// The descriptor actions of a posix_spawn, released however the spawn ends: for the tests that start
// programs of the tree as processes of their own.

#include <spawn.h>

namespace kyrox::test {

class SpawnActions {
public:
    SpawnActions() { posix_spawn_file_actions_init(&actions_); }
    ~SpawnActions() { posix_spawn_file_actions_destroy(&actions_); }
    SpawnActions(const SpawnActions&) = delete;
    SpawnActions& operator=(const SpawnActions&) = delete;
    posix_spawn_file_actions_t* get() noexcept { return &actions_; }

private:
    posix_spawn_file_actions_t actions_;
};

}  // namespace kyrox::test
