#pragma once

#include <cstdint>
#include <map>
#include <optional>

#include "qxsdk/ui/core/event_object.h"

// A window's timers: each platform timer id names an owner, the key its timer events carry, and whether
// it fires once. The platform timers themselves are the window's.
namespace qxsdk::ui {

struct timer_entry {
    std::int32_t key = 0;
    event_object* owner = nullptr;
    bool one_shot = false;
};

class timer_table {
public:
    // Records a timer under a new id (the last id handed out plus one) and returns the id.
    std::uint32_t add(event_object& owner, std::int32_t key, bool one_shot);

    // The id of the first timer of the owner with the key.
    std::optional<std::uint32_t> find(const event_object& owner, std::int32_t key) const;

    // The id of any timer of the owner.
    std::optional<std::uint32_t> any_of(const event_object& owner) const noexcept;

    // The timer of an id, if there is one.
    std::optional<timer_entry> at(std::uint32_t id) const;

    void remove(std::uint32_t id) noexcept;

private:
    std::uint32_t counter_ = 0;
    std::map<std::uint32_t, timer_entry> timers_;
};

}  // namespace qxsdk::ui
